// The recording device: the Direct3D rules that the plug-in's tests rely on
// (as Wine's Direct3D 9 showed them, tests/differential/device_probe.cpp),
// its faults, device loss, reference counting and what it records.

#include <cstring>
#include <stdexcept>

#include "AllocationCounter.h"
#include "DeviceTest.h"

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using StandinDevice = DeviceTest;

TEST_F(StandinDevice, CreateDeviceAndResetWriteBackAndRefuseAsWinesDevice)
{
    // What a windowed device left zero is written back; a full-screen one gets only a count.
    D3DPRESENT_PARAMETERS created = params;
    created.BackBufferWidth = created.BackBufferHeight = created.BackBufferCount = 0;
    created.BackBufferFormat = D3DFMT_UNKNOWN;
    D3DPRESENT_PARAMETERS reset = created, fullScreen = params, four = params, noSuchDepth = params;
    fullScreen.Windowed = FALSE;
    fullScreen.BackBufferCount = 0;
    MakeDevice(created)->Release();
    MakeDevice(fullScreen)->Release();
    ASSERT_EQ(device->Reset(&reset), D3D_OK);
    EXPECT_THAT(standin::CallTexts("CreateDevice")[0], ::testing::HasSubstr("{0, 0, 0, 0,"));  // as given
    for (const D3DPRESENT_PARAMETERS& written : {created, reset})
        EXPECT_THAT((std::vector<UINT>{written.BackBufferWidth, written.BackBufferHeight, written.BackBufferFormat,
                                       written.BackBufferCount}),
                    ElementsAre(640, 480, D3DFMT_X8R8G8B8, 1));
    EXPECT_EQ(fullScreen.BackBufferCount, 1u);

    four.BackBufferCount = 4;
    noSuchDepth.AutoDepthStencilFormat = D3DFMT_D24X4S4;  // not the adapter's
    for (D3DPRESENT_PARAMETERS asked : {four, noSuchDepth})
    {
        EXPECT_EQ(MakeDevice(asked), nullptr);
        EXPECT_EQ(device->Reset(&asked), D3DERR_INVALIDCALL);
        EXPECT_EQ(device->TestCooperativeLevel(), D3DERR_DEVICENOTRESET);
    }
    four.BackBufferCount = 3;
    noSuchDepth.EnableAutoDepthStencil = FALSE;  // the format of no depth buffer does not matter
    EXPECT_EQ(device->Reset(&four), D3D_OK);
    EXPECT_EQ(device->Reset(&noSuchDepth), D3D_OK);
}

TEST_F(StandinDevice, ResetWaitsForEveryDefaultPoolResourceAndFontThenBringsBackANewDevicesState)
{
    IDirect3DVertexBuffer9* buffer = VertexBuffer(48);
    IDirect3DSurface9* backBuffer = nullptr;
    ASSERT_EQ(device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &backBuffer), D3D_OK);
    ID3DXFont* font = Font();
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

TEST_F(StandinDevice, CallsAreRecordedAsReadableTextAndUnlocksKeepTheBytes)
{
    IDirect3DVertexBuffer9* buffer = VertexBuffer(8);
    unsigned char* data = nullptr;
    buffer->Lock(4, 0, reinterpret_cast<void**>(&data), D3DLOCK_DISCARD);
    std::memset(data, 0x11, 4);
    buffer->Unlock();
    device->SetStreamSource(0, buffer, 0, 12);
    device->SetRenderState(D3DRS_AMBIENT, 0x00102030);
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 0.5f, 0);
    device->SetTexture(1, nullptr);
    D3DXMATRIX view;
    const D3DXVECTOR3 eye(0, 0, -1), at(0, 0, 0), up(0, 1, 0);
    device->SetTransform(D3DTS_VIEW, D3DXMatrixLookAtLH(&view, &eye, &at, &up));
    ID3DXFont* font = Font();
    RECT rect = {1, 2, 300, 40};
    font->DrawTextW(nullptr, L"Score: 10", -1, &rect, DT_WORDBREAK, 0x80FFFFFF);
    buffer->Release();
    font->Release();

    EXPECT_THAT(standin::CallTexts(), ElementsAre(
        "CreateVertexBuffer(8, 8, 2, 0, VertexBuffer#1, null)", "VertexBuffer#1.Lock(4, 0, 8192)",
        "VertexBuffer#1.Unlock()", "SetStreamSource(0, VertexBuffer#1, 0, 12)", "SetRenderState(139, 0x00102030)",
        "Clear(0, null, 3, 0xFF000000, 0.5, 0)", "SetTexture(1, null)",
        "D3DXMatrixLookAtLH({0, 0, -1}, {0, 0, 0}, {0, 1, 0})",
        "SetTransform(2, {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {-0, -0, 1, 1}})",
        "D3DXCreateFontW(Device#1, 16, 0, 400, 1, 0, 1, 0, 0, 0, \"Arial\", Font#2)",
        "Font#2.DrawTextW(null, \"Score: 10\", -1, {1, 2, 300, 40}, 16, 0x80FFFFFF)", "VertexBuffer#1.Release()",
        "Font#2.Release()"));
    // Bytes never written keep the fill of new memory.
    EXPECT_THAT(standin::BufferBytes(buffer), ElementsAre(0xCD, 0xCD, 0xCD, 0xCD, 0x11, 0x11, 0x11, 0x11));
}

TEST_F(StandinDevice, WithRecordingOffCallsAllocateNothingYetResultsAndFaultsHold)
{
    ID3DXFont* font = Font();
    standin::FailNext("EndScene", E_FAIL);
    standin::ClearCalls();
    standin::SetRecording(false);

    AllocationCounter counter;
    EXPECT_EQ(device->BeginScene(), D3D_OK);
    EXPECT_EQ(device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE), D3D_OK);
    EXPECT_EQ(device->LightEnable(0, TRUE), D3D_OK);
    font->DrawTextW(nullptr, L"text", -1, nullptr, DT_WORDBREAK, 0xFFFFFFFF);
    EXPECT_EQ(device->EndScene(), E_FAIL);
    EXPECT_EQ(device->EndScene(), D3D_OK);
    EXPECT_EQ(Present(), D3D_OK);
    EXPECT_EQ(counter.Count(), 0u);

    EXPECT_THAT(standin::Calls(), IsEmpty());
    EXPECT_EQ(standin::RenderState(D3DRS_ALPHABLENDENABLE), static_cast<DWORD>(FALSE));  // nor states
    font->Release();
}

}  // namespace
