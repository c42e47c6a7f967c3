#ifndef TESTS_DEVICETEST_H
#define TESTS_DEVICETEST_H

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <standin/Recorder.h>

#include "RecordingLogger.h"

// A fresh recording device (640 x 480, with a depth-stencil buffer) for tests
// of one plug-in object or of the device itself, set up the way
// the graphics system's factories hand it out. Tests release their object in
// their own TearDown before this one runs, which checks that every Direct3D
// object was given back.
class DeviceTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        standin::Reset();
        d3d = Direct3DCreate9(D3D_SDK_VERSION);
        ASSERT_NE(d3d, nullptr);
        params.BackBufferWidth = 640;
        params.BackBufferHeight = 480;
        params.BackBufferFormat = D3DFMT_X8R8G8B8;
        params.BackBufferCount = 1;
        params.SwapEffect = D3DSWAPEFFECT_DISCARD;
        params.Windowed = TRUE;
        params.EnableAutoDepthStencil = TRUE;
        params.AutoDepthStencilFormat = D3DFMT_D24S8;
        ASSERT_EQ(d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, nullptr,
                                    D3DCREATE_HARDWARE_VERTEXPROCESSING, &params, &device),
                  D3D_OK);
        standin::ClearCalls();
    }

    void TearDown() override
    {
        standin::SetRecording(true);
        if (device != nullptr)
            device->Release();
        if (d3d != nullptr)
            d3d->Release();
        EXPECT_THAT(standin::LiveObjects(), ::testing::IsEmpty());
    }

    IDirect3D9* d3d = nullptr;
    IDirect3DDevice9* device = nullptr;
    D3DPRESENT_PARAMETERS params = {};  // as the device was created
    RecordingLogger logger;
};

#endif
