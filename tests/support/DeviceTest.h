#ifndef TESTS_DEVICETEST_H
#define TESTS_DEVICETEST_H

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <standin/Recorder.h>

#include "RecordingLogger.h"

// A fresh recording device for tests of one plug-in object, set up the way
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
        D3DPRESENT_PARAMETERS parameters = {};
        parameters.Windowed = TRUE;
        parameters.SwapEffect = D3DSWAPEFFECT_DISCARD;
        parameters.BackBufferFormat = D3DFMT_X8R8G8B8;
        ASSERT_EQ(d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, nullptr,
                                    D3DCREATE_HARDWARE_VERTEXPROCESSING, &parameters, &device),
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
    RecordingLogger logger;
};

#endif
