// The recording device's refusals that the plug-in's tests rely on, where a
// device that let the call pass would let a faulty plug-in pass too (as
// Wine's Direct3D 9 showed them, tests/differential/device_probe.cpp): a
// Reset while resources are alive, nested scenes, draws without indices,
// a lost device, faults, and the objects it counts. What it records and
// writes back shows in every other test's expected calls and log lines,
// and the differential scenarios compare those with Wine's.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <standin/Recorder.h>

#include <stdexcept>

namespace {

using ::testing::ElementsAre;

// A fresh recording device, windowed, 640 x 480 with a D24S8 depth buffer.
// A test releases every object it makes; TearDown checks that none is left.
class StandinDevice : public ::testing::Test
{
protected:
    void SetUp() override
    {
        standin::Reset();
        d3d = Direct3DCreate9(D3D_SDK_VERSION);
        params.BackBufferWidth = 640;
        params.BackBufferHeight = 480;
        params.BackBufferFormat = D3DFMT_X8R8G8B8;
        params.BackBufferCount = 1;
        params.Windowed = params.EnableAutoDepthStencil = TRUE;
        params.AutoDepthStencilFormat = D3DFMT_D24S8;
        ASSERT_EQ(d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, nullptr, 0, &params, &device), D3D_OK);
    }

    void TearDown() override
    {
        device->Release();
        d3d->Release();
        EXPECT_THAT(standin::LiveObjects(), ::testing::IsEmpty());
    }

    IDirect3DVertexBuffer9* VertexBuffer(UINT length)
    {
        IDirect3DVertexBuffer9* buffer = nullptr;
        EXPECT_EQ(device->CreateVertexBuffer(length, D3DUSAGE_WRITEONLY, D3DFVF_XYZ, D3DPOOL_DEFAULT, &buffer, nullptr),
                  D3D_OK);
        return buffer;
    }

    HRESULT Present() { return device->Present(nullptr, nullptr, nullptr, nullptr); }

    IDirect3D9* d3d = nullptr;
    IDirect3DDevice9* device = nullptr;
    D3DPRESENT_PARAMETERS params = {};
};

TEST_F(StandinDevice, ResetWaitsForEveryDefaultPoolResourceAndFontThenBringsBackANewDevicesState)
{
    IDirect3DVertexBuffer9* buffer = VertexBuffer(48);
    IDirect3DSurface9* backBuffer = nullptr;
    ASSERT_EQ(device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &backBuffer), D3D_OK);
    ID3DXFont* font = nullptr;
    ASSERT_EQ(D3DXCreateFontW(device, 16, 0, 400, 1, FALSE, 1, 0, 0, 0, L"Arial", &font), D3D_OK);
    IDirect3DTexture9* systemTexture = nullptr;
    D3DXCreateTexture(device, 4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_SYSTEMMEM, &systemTexture);
    device->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
    device->LightEnable(3, TRUE);
    device->SetTexture(1, systemTexture);
    device->BeginScene();

    font->OnLostDevice();
    EXPECT_EQ(device->Reset(&params), D3DERR_INVALIDCALL);
    buffer->Release();
    EXPECT_EQ(device->Reset(&params), D3DERR_INVALIDCALL);
    backBuffer->Release();
    ASSERT_EQ(device->Reset(&params), D3D_OK);  // system memory does not hold it back
    EXPECT_EQ(standin::RenderState(D3DRS_ZENABLE), static_cast<DWORD>(D3DZB_TRUE));
    EXPECT_FALSE(standin::LightEnabled(3));
    EXPECT_EQ(standin::BoundTexture(1), "null");
    EXPECT_FALSE(standin::InScene());
    font->OnResetDevice();
    EXPECT_EQ(device->Reset(&params), D3DERR_INVALIDCALL);
    font->Release();
    systemTexture->Release();
}

TEST_F(StandinDevice, ScenesDoNotNestAndAnIndexedDrawNeedsIndicesEnoughForIt)
{
    EXPECT_EQ(device->EndScene(), D3DERR_INVALIDCALL);
    ASSERT_EQ(device->BeginScene(), D3D_OK);
    EXPECT_EQ(device->BeginScene(), D3DERR_INVALIDCALL);
    EXPECT_TRUE(standin::InScene());
    EXPECT_EQ(device->EndScene(), D3D_OK);
    // Neither a stream source nor a scene is needed.
    IDirect3DIndexBuffer9* indices = nullptr;
    device->CreateIndexBuffer(12, 0, D3DFMT_INDEX16, D3DPOOL_DEFAULT, &indices, nullptr);
    auto draw = [&](UINT triangles) { return device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 4, 0, triangles); };
    EXPECT_EQ(draw(1), D3DERR_INVALIDCALL);
    device->SetIndices(indices);
    EXPECT_EQ(draw(2), D3D_OK);
    EXPECT_EQ(draw(3), D3DERR_INVALIDCALL);  // nine indices from a buffer of six
    device->SetIndices(nullptr);
    EXPECT_EQ(draw(1), D3DERR_INVALIDCALL);
    indices->Release();
}

TEST_F(StandinDevice, ALostDeviceRefusesPresentAndResetUntilItMayBeReset)
{
    standin::LoseDevice();
    EXPECT_EQ(device->TestCooperativeLevel(), D3DERR_DEVICELOST);
    EXPECT_EQ(Present(), D3DERR_DEVICELOST);
    EXPECT_EQ(device->Reset(&params), D3DERR_DEVICELOST);

    standin::MakeDeviceResettable();
    EXPECT_EQ(device->TestCooperativeLevel(), D3DERR_DEVICENOTRESET);
    EXPECT_EQ(Present(), D3DERR_DEVICELOST);
    ASSERT_EQ(device->Reset(&params), D3D_OK);
    EXPECT_EQ(Present(), D3D_OK);

    // A Reset that fails leaves the device waiting for another.
    standin::FailNext("Reset", D3DERR_DRIVERINTERNALERROR);
    EXPECT_EQ(device->Reset(&params), D3DERR_DRIVERINTERNALERROR);
    standin::ScriptCooperativeLevel({D3DERR_DEVICELOST, D3D_OK});
    for (HRESULT result : {D3DERR_DEVICELOST, D3D_OK, D3DERR_DEVICENOTRESET})  // then the device's own again
        EXPECT_EQ(device->TestCooperativeLevel(), result);
}

TEST_F(StandinDevice, AFaultReplacesTheResultsOfTheCallsItNames)
{
    standin::FailCall("SetRenderState", 2, E_FAIL);
    standin::FailFrom("SetFVF", 2, D3DERR_INVALIDCALL);
    standin::FailNext("CreateVertexBuffer", E_OUTOFMEMORY);
    standin::FailNext("Direct3DCreate9", D3DERR_NOTAVAILABLE);
    standin::FailNext("LightEnable", S_FALSE);  // a success takes effect,
    standin::FailNext("EndScene", S_FALSE);     // but not against the device's own error
    EXPECT_EQ(device->SetRenderState(D3DRS_FILLMODE, D3DFILL_WIREFRAME), D3D_OK);
    EXPECT_EQ(device->SetRenderState(D3DRS_FILLMODE, D3DFILL_SOLID), E_FAIL);  // a failure has no effect
    EXPECT_EQ(standin::RenderState(D3DRS_FILLMODE), static_cast<DWORD>(D3DFILL_WIREFRAME));
    EXPECT_EQ(device->SetRenderState(D3DRS_FILLMODE, D3DFILL_SOLID), D3D_OK);
    for (HRESULT result : {D3D_OK, D3DERR_INVALIDCALL, D3DERR_INVALIDCALL})
        EXPECT_EQ(device->SetFVF(D3DFVF_XYZ), result);
    IDirect3DVertexBuffer9* buffer = reinterpret_cast<IDirect3DVertexBuffer9*>(this);
    EXPECT_EQ(device->CreateVertexBuffer(16, 0, 0, D3DPOOL_DEFAULT, &buffer, nullptr), E_OUTOFMEMORY);
    EXPECT_EQ(buffer, nullptr);
    EXPECT_EQ(Direct3DCreate9(D3D_SDK_VERSION), nullptr);
    EXPECT_EQ(device->LightEnable(1, TRUE), S_FALSE);
    EXPECT_TRUE(standin::LightEnabled(1));
    EXPECT_EQ(device->EndScene(), D3DERR_INVALIDCALL);
    // A name that no operation has, or one that returns no HRESULT, is a mistake.
    for (const char* name : {"SetRenderStates", "Lock", "Texture.Release", "Font.DrawTextW"})
        EXPECT_THROW(standin::FailNext(name, E_FAIL), std::invalid_argument) << name;
}

TEST_F(StandinDevice, LiveObjectsListsWhatIsNotReleasedAndACallOnAReleasedObjectStopsTheProcess)
{
    IDirect3DVertexBuffer9* buffer = VertexBuffer(16);
    IDirect3DSurface9* backBuffer = nullptr;
    device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &backBuffer);
    EXPECT_THAT(standin::LiveObjects(), ElementsAre("Direct3D#1 (1 reference)", "Device#1 (1 reference)",
                                                    "VertexBuffer#1 (1 reference)", "Surface#2 (1 reference)"));
    EXPECT_EQ(buffer->Release(), 0u);
    backBuffer->Release();
    EXPECT_THAT(standin::LiveObjects(), ElementsAre("Direct3D#1 (1 reference)", "Device#1 (1 reference)"));
    EXPECT_DEATH(buffer->Release(), "VertexBuffer.Release called on VertexBuffer#1 after its last Release");
}

}  // namespace
