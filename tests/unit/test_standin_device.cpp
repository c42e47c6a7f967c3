// The recording device: the Direct3D rules it enforces, its faults, its
// reference counting and what it records.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <standin/Recorder.h>

#include <cstring>
#include <stdexcept>

#include "AllocationCounter.h"
#include "DeviceTest.h"

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class StandinDeviceTest : public DeviceTest
{
protected:
    IDirect3DVertexBuffer9* MakeVertexBuffer(UINT length, D3DPOOL pool = D3DPOOL_DEFAULT)
    {
        IDirect3DVertexBuffer9* buffer = nullptr;
        EXPECT_EQ(device->CreateVertexBuffer(length, D3DUSAGE_WRITEONLY, D3DFVF_XYZ, pool, &buffer, nullptr),
                  D3D_OK);
        return buffer;
    }

    IDirect3DIndexBuffer9* MakeIndexBuffer(UINT length)
    {
        IDirect3DIndexBuffer9* buffer = nullptr;
        EXPECT_EQ(device->CreateIndexBuffer(length, D3DUSAGE_WRITEONLY, D3DFMT_INDEX16, D3DPOOL_DEFAULT, &buffer,
                                            nullptr),
                  D3D_OK);
        return buffer;
    }

    // A device made with these parameters, or null; the parameters as the device left them.
    IDirect3DDevice9* MakeDevice(D3DPRESENT_PARAMETERS& parameters)
    {
        IDirect3DDevice9* made = nullptr;
        d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, nullptr, D3DCREATE_HARDWARE_VERTEXPROCESSING,
                          &parameters, &made);
        return made;
    }

    ID3DXFont* MakeFont()
    {
        ID3DXFont* font = nullptr;
        EXPECT_EQ(D3DXCreateFontW(device, 16, 0, 400, 1, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                  DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"Arial", &font),
                  D3D_OK);
        return font;
    }

};

// --- Rules of Direct3D 9 ---------------------------------------------------------------
// Where they matter, as Wine's Direct3D 9 showed them (tests/differential/device_probe.cpp).

TEST_F(StandinDeviceTest, AWindowedDeviceFillsInWhatWasLeftZeroAndRecordsWhatWasGiven)
{
    D3DPRESENT_PARAMETERS zero = params;
    zero.BackBufferWidth = 0;
    zero.BackBufferHeight = 0;
    zero.BackBufferFormat = D3DFMT_UNKNOWN;
    zero.BackBufferCount = 0;
    D3DPRESENT_PARAMETERS written = zero;
    IDirect3DDevice9* windowed = MakeDevice(written);
    ASSERT_NE(windowed, nullptr);

    const standin::AdapterConfig& adapter = standin::Adapter();
    EXPECT_EQ(written.BackBufferWidth, adapter.windowClientWidth);
    EXPECT_EQ(written.BackBufferHeight, adapter.windowClientHeight);
    EXPECT_EQ(written.BackBufferFormat, adapter.desktopFormat);
    EXPECT_EQ(written.BackBufferCount, 1u);
    EXPECT_THAT(standin::CallTexts("CreateDevice"), ElementsAre(::testing::HasSubstr("{0, 0, 0, 0,")));

    // Reset writes back the same way.
    written = zero;
    ASSERT_EQ(windowed->Reset(&written), D3D_OK);
    EXPECT_EQ(written.BackBufferWidth, adapter.windowClientWidth);
    EXPECT_EQ(written.BackBufferFormat, adapter.desktopFormat);
    EXPECT_EQ(written.BackBufferCount, 1u);
    windowed->Release();

    // Full-screen, only the count is filled in.
    D3DPRESENT_PARAMETERS fullScreen = params;
    fullScreen.Windowed = FALSE;
    fullScreen.BackBufferCount = 0;
    IDirect3DDevice9* full = MakeDevice(fullScreen);
    ASSERT_NE(full, nullptr);
    EXPECT_EQ(fullScreen.BackBufferCount, 1u);
    EXPECT_EQ(fullScreen.BackBufferWidth, params.BackBufferWidth);
    full->Release();
}

TEST_F(StandinDeviceTest, CreateDeviceAndResetRefuseWhatWinesDeviceRefuses)
{
    D3DPRESENT_PARAMETERS four = params;
    four.BackBufferCount = 4;
    EXPECT_EQ(MakeDevice(four), nullptr);
    EXPECT_EQ(four.BackBufferCount, 4u);
    EXPECT_EQ(device->Reset(&four), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->TestCooperativeLevel(), D3DERR_DEVICENOTRESET);

    D3DPRESENT_PARAMETERS three = params;
    three.BackBufferCount = 3;
    EXPECT_EQ(device->Reset(&three), D3D_OK);

    standin::Adapter().depthStencilFormats = {D3DFMT_D24S8};
    D3DPRESENT_PARAMETERS d15s1 = params;
    d15s1.AutoDepthStencilFormat = D3DFMT_D15S1;
    EXPECT_EQ(MakeDevice(d15s1), nullptr);
    EXPECT_EQ(standin::Calls().back().result, D3DERR_INVALIDCALL);
    d15s1.EnableAutoDepthStencil = FALSE;  // the format of no depth buffer does not matter
    IDirect3DDevice9* noDepth = MakeDevice(d15s1);
    ASSERT_NE(noDepth, nullptr);
    noDepth->Release();

    D3DPRESENT_PARAMETERS unknownFullScreen = params;
    unknownFullScreen.Windowed = FALSE;
    unknownFullScreen.BackBufferFormat = D3DFMT_UNKNOWN;
    EXPECT_EQ(MakeDevice(unknownFullScreen), nullptr);
}

TEST_F(StandinDeviceTest, AnIndexedDrawNeedsIndicesButNeitherAStreamSourceNorAScene)
{
    IDirect3DVertexBuffer9* vertices = MakeVertexBuffer(48);
    IDirect3DIndexBuffer9* indices = MakeIndexBuffer(6);
    auto draw = [&] { return device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 3, 0, 1); };

    ASSERT_EQ(device->BeginScene(), D3D_OK);
    EXPECT_EQ(draw(), D3DERR_INVALIDCALL);
    ASSERT_EQ(device->SetStreamSource(0, vertices, 0, 16), D3D_OK);
    EXPECT_EQ(draw(), D3DERR_INVALIDCALL);
    ASSERT_EQ(device->SetIndices(indices), D3D_OK);
    EXPECT_EQ(draw(), D3D_OK);
    ASSERT_EQ(device->SetStreamSource(0, nullptr, 0, 0), D3D_OK);
    EXPECT_EQ(draw(), D3D_OK);
    ASSERT_EQ(device->EndScene(), D3D_OK);
    EXPECT_EQ(draw(), D3D_OK);
    ASSERT_EQ(device->SetIndices(nullptr), D3D_OK);
    EXPECT_EQ(draw(), D3DERR_INVALIDCALL);

    vertices->Release();
    indices->Release();
}

TEST_F(StandinDeviceTest, ResetIsRefusedWhileADefaultPoolResourceLives)
{
    IDirect3DVertexBuffer9* buffer = MakeVertexBuffer(48);
    IDirect3DVertexBuffer9* systemBuffer = MakeVertexBuffer(48, D3DPOOL_SYSTEMMEM);
    IDirect3DSurface9* backBuffer = nullptr;
    ASSERT_EQ(device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &backBuffer), D3D_OK);
    standin::MakeDeviceResettable();

    EXPECT_EQ(device->Reset(&params), D3DERR_INVALIDCALL);
    buffer->Release();
    EXPECT_EQ(device->Reset(&params), D3DERR_INVALIDCALL);  // the back buffer still blocks
    EXPECT_EQ(device->TestCooperativeLevel(), D3DERR_DEVICENOTRESET);
    backBuffer->Release();

    EXPECT_EQ(device->Reset(&params), D3D_OK);  // system memory does not block
    EXPECT_EQ(device->TestCooperativeLevel(), D3D_OK);
    systemBuffer->Release();
}

TEST_F(StandinDeviceTest, ResetIsRefusedWhileAFontHasNotLostItsDevice)
{
    ID3DXFont* font = MakeFont();
    EXPECT_EQ(device->Reset(&params), D3DERR_INVALIDCALL);

    ASSERT_EQ(font->OnLostDevice(), D3D_OK);
    EXPECT_EQ(device->Reset(&params), D3D_OK);

    ASSERT_EQ(font->OnResetDevice(), D3D_OK);
    EXPECT_EQ(device->Reset(&params), D3DERR_INVALIDCALL);
    font->Release();
}

TEST_F(StandinDeviceTest, ResetPutsTheStatesBackToTheirDefaults)
{
    D3DXMATRIX world;
    D3DXMatrixTranslation(&world, 1.0f, 2.0f, 3.0f);
    device->SetTransform(D3DTS_WORLD, &world);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    device->SetRenderState(D3DRS_LIGHTING, FALSE);
    device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
    device->LightEnable(3, TRUE);
    ASSERT_EQ(standin::RenderState(D3DRS_CULLMODE), static_cast<DWORD>(D3DCULL_NONE));

    ASSERT_EQ(device->Reset(&params), D3D_OK);
    EXPECT_EQ(standin::RenderState(D3DRS_CULLMODE), static_cast<DWORD>(D3DCULL_CCW));
    EXPECT_EQ(standin::RenderState(D3DRS_LIGHTING), static_cast<DWORD>(TRUE));
    EXPECT_EQ(standin::RenderState(D3DRS_ZENABLE), static_cast<DWORD>(D3DZB_TRUE));
    EXPECT_EQ(standin::TextureStageState(0, D3DTSS_ALPHAOP), static_cast<DWORD>(D3DTOP_SELECTARG1));
    EXPECT_EQ(standin::TextureStageState(1, D3DTSS_COLOROP), static_cast<DWORD>(D3DTOP_DISABLE));
    EXPECT_FALSE(standin::LightEnabled(3));
    D3DXMATRIX restored(standin::Transform(D3DTS_WORLD));
    EXPECT_TRUE(D3DXMatrixIsIdentity(&restored));
}

TEST_F(StandinDeviceTest, PresentIsRefusedWhileTheDeviceIsLostButNotInsideAScene)
{
    ASSERT_EQ(device->BeginScene(), D3D_OK);
    EXPECT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
    EXPECT_TRUE(standin::InScene());
    ASSERT_EQ(device->EndScene(), D3D_OK);
    EXPECT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);

    standin::LoseDevice();
    EXPECT_EQ(device->TestCooperativeLevel(), D3DERR_DEVICELOST);
    EXPECT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3DERR_DEVICELOST);
    EXPECT_EQ(device->Reset(&params), D3DERR_DEVICELOST);

    standin::MakeDeviceResettable();
    EXPECT_EQ(device->TestCooperativeLevel(), D3DERR_DEVICENOTRESET);
    EXPECT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3DERR_DEVICELOST);
    ASSERT_EQ(device->Reset(&params), D3D_OK);
    EXPECT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
}

TEST_F(StandinDeviceTest, ScenesDoNotNest)
{
    EXPECT_EQ(device->EndScene(), D3DERR_INVALIDCALL);
    ASSERT_EQ(device->BeginScene(), D3D_OK);
    EXPECT_EQ(device->BeginScene(), D3DERR_INVALIDCALL);
    EXPECT_TRUE(standin::InScene());
    EXPECT_EQ(device->EndScene(), D3D_OK);
    EXPECT_FALSE(standin::InScene());
}

// --- Faults ---------------------------------------------------------------------------------

TEST_F(StandinDeviceTest, FailCallFailsOnlyTheNthCallAndLeavesNoEffect)
{
    standin::FailCall("SetRenderState", 2, E_FAIL);
    EXPECT_EQ(device->SetRenderState(D3DRS_FILLMODE, D3DFILL_WIREFRAME), D3D_OK);
    EXPECT_EQ(device->SetRenderState(D3DRS_FILLMODE, D3DFILL_POINT), E_FAIL);
    EXPECT_EQ(standin::RenderState(D3DRS_FILLMODE), static_cast<DWORD>(D3DFILL_WIREFRAME));
    EXPECT_EQ(device->SetRenderState(D3DRS_FILLMODE, D3DFILL_SOLID), D3D_OK);
    EXPECT_EQ(standin::Calls()[1].result, E_FAIL);
}

TEST_F(StandinDeviceTest, FailFromFailsEveryCallFromTheNthOn)
{
    IDirect3DVertexBuffer9* buffer = MakeVertexBuffer(16);
    standin::FailFrom("VertexBuffer.Lock", 2, D3DERR_INVALIDCALL);
    void* data = nullptr;
    ASSERT_EQ(buffer->Lock(0, 0, &data, 0), D3D_OK);
    ASSERT_EQ(buffer->Unlock(), D3D_OK);
    for (int call = 2; call <= 4; ++call)
    {
        EXPECT_EQ(buffer->Lock(0, 0, &data, 0), D3DERR_INVALIDCALL);
        EXPECT_EQ(data, nullptr);
    }
    buffer->Release();
}

TEST_F(StandinDeviceTest, PositiveResultsAreSuccessesThatTakeEffect)
{
    standin::FailCall("CreateVertexBuffer", 1, S_FALSE);
    IDirect3DVertexBuffer9* buffer = nullptr;
    EXPECT_EQ(device->CreateVertexBuffer(16, 0, 0, D3DPOOL_SYSTEMMEM, &buffer, nullptr), S_FALSE);
    ASSERT_NE(buffer, nullptr);

    ID3DXFont* font = MakeFont();
    standin::FailCall("Font.OnLostDevice", 1, D3DOK_NOAUTOGEN);
    EXPECT_EQ(font->OnLostDevice(), D3DOK_NOAUTOGEN);
    EXPECT_EQ(device->Reset(&params), D3D_OK);  // the font did lose its device
    font->Release();
    buffer->Release();
}

TEST_F(StandinDeviceTest, AFailingCreateHandsOutNull)
{
    standin::FailCall("D3DXCreateTexture", 1, E_OUTOFMEMORY);
    IDirect3DTexture9* texture = reinterpret_cast<IDirect3DTexture9*>(this);
    EXPECT_EQ(D3DXCreateTexture(device, 4, 4, 1, D3DUSAGE_DYNAMIC, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, &texture),
              E_OUTOFMEMORY);
    EXPECT_EQ(texture, nullptr);
    EXPECT_THAT(standin::CallTexts(),
                ElementsAre("D3DXCreateTexture(Device#1, 4, 4, 1, 512, 21, 0, null)"));
}

TEST_F(StandinDeviceTest, Direct3DCreate9GivesNullForAFailureOnly)
{
    standin::FailCall("Direct3DCreate9", 2, D3DERR_NOTAVAILABLE);
    standin::FailCall("Direct3DCreate9", 3, S_FALSE);
    EXPECT_EQ(Direct3DCreate9(D3D_SDK_VERSION), nullptr);
    IDirect3D9* second = Direct3DCreate9(D3D_SDK_VERSION);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(standin::ObjectName(second), "Direct3D#2");
    second->Release();
}

TEST_F(StandinDeviceTest, FaultsNameExistingOperationsWithResults)
{
    EXPECT_THROW(standin::FailCall("SetRenderStates", 1, E_FAIL), std::invalid_argument);
    EXPECT_THROW(standin::FailCall("Lock", 1, E_FAIL), std::invalid_argument);
    EXPECT_THROW(standin::FailFrom("Texture.Release", 1, E_FAIL), std::invalid_argument);
}

TEST_F(StandinDeviceTest, ScriptedCooperativeLevelsComeFirstThenTheDeviceState)
{
    standin::ScriptCooperativeLevel({D3DERR_DEVICELOST, D3DERR_DEVICENOTRESET});
    EXPECT_EQ(device->TestCooperativeLevel(), D3DERR_DEVICELOST);
    EXPECT_EQ(device->TestCooperativeLevel(), D3DERR_DEVICENOTRESET);
    EXPECT_EQ(device->TestCooperativeLevel(), D3D_OK);
}

TEST_F(StandinDeviceTest, AFailedResetLeavesTheDeviceWaitingForAnother)
{
    standin::FailCall("Reset", 1, D3DERR_DRIVERINTERNALERROR);
    EXPECT_EQ(device->Reset(&params), D3DERR_DRIVERINTERNALERROR);
    EXPECT_EQ(device->TestCooperativeLevel(), D3DERR_DEVICENOTRESET);
    EXPECT_EQ(device->Reset(&params), D3D_OK);
    EXPECT_EQ(device->TestCooperativeLevel(), D3D_OK);
}

// --- References -------------------------------------------------------------------------------

TEST_F(StandinDeviceTest, LiveObjectsListsEveryObjectNotReleasedToZero)
{
    IDirect3DVertexBuffer9* buffer = MakeVertexBuffer(16);
    EXPECT_EQ(buffer->AddRef(), 2u);
    IDirect3DSurface9* first = nullptr;
    IDirect3DSurface9* second = nullptr;
    device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &first);
    device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &second);
    EXPECT_EQ(first, second);  // one back buffer, one more reference each time

    EXPECT_THAT(standin::LiveObjects(),
                ElementsAre("Direct3D#1 (1 reference)", "Device#1 (1 reference)",
                            "VertexBuffer#1 (2 references)", "Surface#2 (2 references)"));
    EXPECT_EQ(buffer->Release(), 1u);
    EXPECT_EQ(buffer->Release(), 0u);
    first->Release();
    second->Release();
    EXPECT_THAT(standin::LiveObjects(), ElementsAre("Direct3D#1 (1 reference)", "Device#1 (1 reference)"));
    EXPECT_EQ(standin::ObjectName(buffer), "VertexBuffer#1");  // still known after its release
}

TEST_F(StandinDeviceTest, ACallOnAReleasedObjectStopsTheProcess)
{
    IDirect3DVertexBuffer9* buffer = MakeVertexBuffer(16);
    buffer->Release();
    EXPECT_DEATH(buffer->Release(), "VertexBuffer.Release called on VertexBuffer#1 after its last Release");
}

// --- Memory and records --------------------------------------------------------------------------

TEST_F(StandinDeviceTest, LocksHandOutTheResourceMemoryAndUnlocksKeepItsBytes)
{
    IDirect3DVertexBuffer9* buffer = MakeVertexBuffer(8);
    unsigned char* data = nullptr;
    EXPECT_EQ(buffer->Lock(0, 9, reinterpret_cast<void**>(&data), 0), D3DERR_INVALIDCALL);
    ASSERT_EQ(buffer->Lock(4, 0, reinterpret_cast<void**>(&data), D3DLOCK_DISCARD), D3D_OK);
    std::memset(data, 0x11, 4);
    EXPECT_THAT(standin::BufferBytes(buffer), IsEmpty());  // nothing before the first Unlock
    ASSERT_EQ(buffer->Unlock(), D3D_OK);
    EXPECT_EQ(buffer->Unlock(), D3DERR_INVALIDCALL);
    // Bytes never written keep the stand-in's fill.
    EXPECT_THAT(standin::BufferBytes(buffer), ElementsAre(0xCD, 0xCD, 0xCD, 0xCD, 0x11, 0x11, 0x11, 0x11));
    buffer->Release();

    standin::Adapter().lockPitch = 16;
    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(D3DXCreateTexture(device, 3, 2, 1, D3DUSAGE_DYNAMIC, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, &texture),
              D3D_OK);
    D3DLOCKED_RECT locked;
    ASSERT_EQ(texture->LockRect(0, &locked, nullptr, D3DLOCK_DISCARD), D3D_OK);
    EXPECT_EQ(locked.Pitch, 16);
    std::memset(locked.pBits, 0, 32);
    ASSERT_EQ(texture->UnlockRect(0), D3D_OK);
    EXPECT_EQ(standin::TextureBytes(texture).size(), 32u);
    texture->Release();
}

TEST_F(StandinDeviceTest, DefaultPoolTexturesLockOnlyWhenDynamic)
{
    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(D3DXCreateTextureFromFileExW(device, L"grass.bmp", 0, 0, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT,
                                           D3DX_DEFAULT, D3DX_DEFAULT, 0xFFDE00DE, nullptr, nullptr, &texture),
              D3D_OK);
    D3DLOCKED_RECT locked;
    EXPECT_EQ(texture->LockRect(0, &locked, nullptr, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(standin::TextureColorKey(texture), 0xFFDE00DEu);
    EXPECT_THAT(standin::FileNames(), ElementsAre("grass.bmp"));
    texture->Release();
}

TEST_F(StandinDeviceTest, CallsAreRecordedAsReadableText)
{
    IDirect3DVertexBuffer9* buffer = MakeVertexBuffer(96);
    void* data = nullptr;
    buffer->Lock(0, 96, &data, D3DLOCK_DISCARD);
    buffer->Unlock();
    device->SetStreamSource(0, buffer, 0, 12);
    device->SetRenderState(D3DRS_AMBIENT, 0xFF102030);
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
    device->SetTexture(1, nullptr);
    ID3DXFont* font = MakeFont();
    RECT rect = {1, 2, 300, 40};
    font->DrawTextW(nullptr, L"Score: 10", -1, &rect, DT_WORDBREAK, 0x80FFFFFF);
    buffer->Release();
    font->Release();

    EXPECT_THAT(standin::DeviceCallTexts(),
                ElementsAre("CreateVertexBuffer(96, 8, 2, 0, VertexBuffer#1, null)",
                            "VertexBuffer#1.Lock(0, 96, 8192)", "VertexBuffer#1.Unlock()",
                            "SetStreamSource(0, VertexBuffer#1, 0, 12)", "SetRenderState(139, 0xFF102030)",
                            "Clear(0, null, 3, 0xFF000000, 1, 0)", "SetTexture(1, null)",
                            "D3DXCreateFontW(Device#1, 16, 0, 400, 1, 0, 1, 0, 0, 0, \"Arial\", Font#2)",
                            "Font#2.DrawTextW(null, \"Score: 10\", -1, {1, 2, 300, 40}, 16, 0x80FFFFFF)"));
    EXPECT_EQ(standin::CountCalls("VertexBuffer.Release"), 1);
    ASSERT_EQ(standin::DrawnTexts().size(), 1u);
    EXPECT_EQ(standin::DrawnTexts()[0].text, L"Score: 10");
    EXPECT_EQ(standin::DrawnTexts()[0].rect.right, 300);
}

TEST_F(StandinDeviceTest, WithRecordingOffCallsAllocateNothingYetResultsHold)
{
    IDirect3DVertexBuffer9* buffer = MakeVertexBuffer(48);
    IDirect3DIndexBuffer9* indices = MakeIndexBuffer(12);
    ASSERT_EQ(device->SetIndices(indices), D3D_OK);
    ID3DXFont* font = MakeFont();
    D3DXMATRIX world;
    D3DXMatrixIdentity(&world);
    RECT rect = {0, 0, 100, 20};
    standin::ClearCalls();
    standin::FailCall("EndScene", 1, E_FAIL);
    standin::SetRecording(false);

    AllocationCounter counter;
    EXPECT_EQ(device->TestCooperativeLevel(), D3D_OK);
    EXPECT_EQ(device->Clear(0, nullptr, D3DCLEAR_TARGET, 0, 1.0f, 0), D3D_OK);
    EXPECT_EQ(device->BeginScene(), D3D_OK);
    D3DXMatrixRotationYawPitchRoll(&world, 0.5f, 0.0f, 0.0f);
    D3DXMatrixMultiply(&world, &world, &world);
    EXPECT_EQ(device->SetTransform(D3DTS_WORLD, &world), D3D_OK);
    EXPECT_EQ(device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE), D3D_OK);
    EXPECT_EQ(device->SetStreamSource(0, buffer, 0, 12), D3D_OK);
    EXPECT_EQ(device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 4, 0, 2), D3D_OK);
    font->DrawTextW(nullptr, L"text", -1, &rect, DT_WORDBREAK, 0xFFFFFFFF);
    EXPECT_EQ(device->EndScene(), E_FAIL);
    EXPECT_EQ(device->EndScene(), D3D_OK);
    EXPECT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
    EXPECT_EQ(counter.Count(), 0u);

    EXPECT_THAT(standin::Calls(), IsEmpty());
    EXPECT_THAT(standin::DrawnTexts(), IsEmpty());
    EXPECT_EQ(standin::RenderState(D3DRS_ALPHABLENDENABLE), static_cast<DWORD>(FALSE));
    font->Release();
    buffer->Release();
    indices->Release();
}

}  // namespace
