#ifndef TESTS_DEVICETEST_H
#define TESTS_DEVICETEST_H

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <standin/Recorder.h>

// A fresh recording device, windowed, 640 x 480 with a D24S8 depth buffer,
// for tests of the device itself. A test releases every object it makes;
// TearDown checks that none is left.
class DeviceTest : public ::testing::Test
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
        ASSERT_NE(device = MakeDevice(params), nullptr);
        standin::ClearCalls();
    }

    void TearDown() override
    {
        standin::SetRecording(true);
        device->Release();
        d3d->Release();
        EXPECT_THAT(standin::LiveObjects(), ::testing::IsEmpty());
    }

    // A device made with these parameters, or null; the parameters as it left them.
    IDirect3DDevice9* MakeDevice(D3DPRESENT_PARAMETERS& parameters)
    {
        IDirect3DDevice9* made = nullptr;
        d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, nullptr, 0, &parameters, &made);
        return made;
    }

    IDirect3DVertexBuffer9* VertexBuffer(UINT length, D3DPOOL pool = D3DPOOL_DEFAULT)
    {
        IDirect3DVertexBuffer9* buffer = nullptr;
        EXPECT_EQ(device->CreateVertexBuffer(length, D3DUSAGE_WRITEONLY, D3DFVF_XYZ, pool, &buffer, nullptr), D3D_OK);
        return buffer;
    }

    ID3DXFont* Font()
    {
        ID3DXFont* font = nullptr;
        EXPECT_EQ(D3DXCreateFontW(device, 16, 0, 400, 1, FALSE, 1, 0, 0, 0, L"Arial", &font), D3D_OK);
        return font;
    }

    HRESULT Present() { return device->Present(nullptr, nullptr, nullptr, nullptr); }

    IDirect3D9* d3d = nullptr;
    IDirect3DDevice9* device = nullptr;
    D3DPRESENT_PARAMETERS params = {};  // as the device was made
};

#endif
