// Device creation from the host's video settings, the projection set-up and
// the frame operations with their remembered states.

#include <gtest/gtest.h>

#include <standin/Recorder.h>

#include <ostream>
#include <string>
#include <vector>

#include "GraphicsTest.h"
#include "SourceLine.h"

namespace {

using Lines = std::vector<std::string>;

const char* const kSource = "extra/CGraphicsD3D.cpp";

class CreateGraphicsSystem : public GraphicsTest
{
};

TEST_F(CreateGraphicsSystem, MakesItsCallsAndLogsItsSettingsInOrder)
{
    VideoSettings settings;
    settings.vsync = false;
    ASSERT_EQ(Create(settings), 0);

    EXPECT_EQ(standin::DeviceCallTexts(), Lines({
        "Direct3DCreate9(32)",
        "GetAdapterCount()",
        "GetDeviceCaps(0, 1)",
        "CheckDeviceType(0, 1, 35, 35, 0)",
        "CheckDeviceType(0, 1, 22, 22, 0)",
        "CheckDeviceType(0, 1, 21, 21, 0)",
        "CheckDeviceMultiSampleType(0, 1, 21, 1, 0, null)",
        "CreateDevice(0, 1, null, 64, {800, 600, 21, 1, 0, 0, 1, null, 1, 1, 75, 0, 0, 2147483648}, Device#1)",
        "SetRenderState(7, 1)",
        "SetRenderState(22, 3)",
        "SetTransform(256, {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}})",
        "SetTransform(2, {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {-0, -0, 1, 1}})",
        "SetTransform(3, {{1.8106601, 0, 0, 0}, {0, 2.4142134, 0, 0}, {0, 0, 1.001001, 1}, {0, 0, -1.001001, 0}})",
        "SetTextureStageState(0, 4, 2)",
        "SetTextureStageState(0, 5, 0)",
        "SetTextureStageState(0, 6, 2)",
        "SetRenderState(19, 5)",
        "SetRenderState(20, 6)",
        "SetRenderState(171, 1)",
    }));
    // The aspect ratio of 800 x 600 and the field of view of pi / 4, as floats.
    EXPECT_EQ(standin::CallTexts("D3DXMatrixPerspectiveFovLH"),
              Lines({"D3DXMatrixPerspectiveFovLH(0.7853982, 1.3333334, 1, 1000)"}));

    EXPECT_EQ(logger.lines, Lines({
        "2: Creating the graphics system...",
        "3: OK",
        "NewLine",
        "NewLine",
        "1: [Video Settings]",
        "2: Number of video adapters: 1",
        "2: Using dimensions: 800x600x32",
        "2: Number of back buffers: 1",
        "2: Back buffer format: 21",
        "2: Fullscreen mode: false",
        "2: VSync mode: off",
        "2: Multisample Type: 0",
        "2: Multisample Quality: 0",
        "2: Max Visible Depth: 1000.000000",
    }));
    EXPECT_EQ(graphics.GetScreenWidth(), 800);
    EXPECT_EQ(graphics.GetScreenHeight(), 600);
}

struct FormatCase
{
    int colourDepth;
    std::vector<D3DFORMAT> adapterFormats;
    int probes;                 // CheckDeviceType calls made
    D3DFORMAT backBuffer;       // the format chosen
    D3DFORMAT depthStencil;
};

void PrintTo(const FormatCase& format, std::ostream* out)
{
    *out << format.colourDepth << " bits to format " << format.backBuffer;
}

class FormatChoice : public CreateGraphicsSystem, public ::testing::WithParamInterface<FormatCase>
{
};

TEST_P(FormatChoice, TakesTheLastFormatThatPasses)
{
    const FormatCase& format = GetParam();
    standin::AdapterConfig adapter;
    adapter.deviceFormats = format.adapterFormats;
    standin::Reset(adapter);
    VideoSettings settings;
    settings.colourDepth = format.colourDepth;
    ASSERT_EQ(Create(settings), 0);

    EXPECT_EQ(standin::CountCalls("CheckDeviceType"), format.probes);
    // The log shows the probe's choice; the windowed device wrote the desktop's
    // format back over D3DFMT_UNKNOWN.
    EXPECT_EQ(graphics.presentParams.BackBufferFormat,
              format.backBuffer == D3DFMT_UNKNOWN ? standin::Adapter().desktopFormat : format.backBuffer);
    EXPECT_EQ(graphics.presentParams.AutoDepthStencilFormat, format.depthStencil);
    EXPECT_EQ(logger.lines[8], "2: Back buffer format: " + std::to_string(format.backBuffer));
}

INSTANTIATE_TEST_SUITE_P(Depths, FormatChoice, ::testing::Values(
    FormatCase{16, {D3DFMT_X1R5G5B5, D3DFMT_A1R5G5B5, D3DFMT_R5G6B5}, 3, D3DFMT_R5G6B5, D3DFMT_D15S1},
    FormatCase{16, {D3DFMT_A1R5G5B5}, 3, D3DFMT_A1R5G5B5, D3DFMT_D15S1},
    FormatCase{16, {D3DFMT_X8R8G8B8}, 3, D3DFMT_UNKNOWN, D3DFMT_D15S1},
    FormatCase{32, {D3DFMT_A2R10G10B10, D3DFMT_X8R8G8B8}, 3, D3DFMT_X8R8G8B8, D3DFMT_D24S8},
    FormatCase{32, {D3DFMT_A2R10G10B10}, 3, D3DFMT_A2R10G10B10, D3DFMT_D24S8},
    FormatCase{24, {D3DFMT_X8R8G8B8, D3DFMT_R5G6B5}, 0, D3DFMT_UNKNOWN, D3DFMT_D15S1}));

TEST_F(CreateGraphicsSystem, FallsBackSilentlyFromAnUnsupportedMultisampleType)
{
    standin::AdapterConfig adapter;
    adapter.multisampleTypes = {D3DMULTISAMPLE_NONE, D3DMULTISAMPLE_2_SAMPLES};
    standin::Reset(adapter);
    VideoSettings settings;
    settings.multisampleType = 4;
    settings.multisampleQuality = 3;
    ASSERT_EQ(Create(settings), 0);

    EXPECT_EQ(standin::CallTexts("CheckDeviceMultiSampleType"),
              Lines({"CheckDeviceMultiSampleType(0, 1, 21, 1, 4, null)"}));
    EXPECT_EQ(graphics.presentParams.MultiSampleType, D3DMULTISAMPLE_NONE);
    EXPECT_EQ(graphics.presentParams.MultiSampleQuality, 0u);
    EXPECT_EQ(logger.lines[11], "2: Multisample Type: 0");
    EXPECT_EQ(logger.lines[12], "2: Multisample Quality: 0");
    EXPECT_TRUE(logger.Errors().empty());

    // A supported type keeps the quality asked for: it is not checked.
    graphics.DestroyGraphicsSystem();
    logger.lines.clear();
    settings.multisampleType = 2;
    ASSERT_EQ(Create(settings), 0);
    EXPECT_EQ(graphics.presentParams.MultiSampleType, D3DMULTISAMPLE_2_SAMPLES);
    EXPECT_EQ(graphics.presentParams.MultiSampleQuality, 3u);
    EXPECT_EQ(logger.lines[11], "2: Multisample Type: 2");
    EXPECT_EQ(logger.lines[12], "2: Multisample Quality: 3");
}

// Settings the other tests leave at their defaults reach the device, the
// projection and the log as given.
TEST_F(CreateGraphicsSystem, WindowBackBuffersDepthAndFullScreenMultisamplingAreTheHosts)
{
    standin::AdapterConfig adapter;
    adapter.multisampleTypes = {D3DMULTISAMPLE_NONE, D3DMULTISAMPLE_2_SAMPLES};
    standin::Reset(adapter);
    VideoSettings settings;
    settings.backBufferCount = 2;
    settings.maxVisibleDepth = 250.0f;
    settings.windowed = false;
    settings.multisampleType = 2;
    const HWND window = reinterpret_cast<HWND>(0x1234);
    ASSERT_EQ(::CreateGraphicsSystem(graphics, window, &logger, settings), 0);

    EXPECT_EQ(standin::CallTexts("CheckDeviceMultiSampleType"),
              Lines({"CheckDeviceMultiSampleType(0, 1, 21, 0, 2, null)"}));
    EXPECT_EQ(graphics.presentParams.hDeviceWindow, window);
    EXPECT_EQ(graphics.presentParams.BackBufferCount, 2u);
    EXPECT_EQ(standin::CallTexts("D3DXMatrixPerspectiveFovLH"),
              Lines({"D3DXMatrixPerspectiveFovLH(0.7853982, 1.3333334, 1, 250)"}));
    EXPECT_EQ(logger.lines[7], "2: Number of back buffers: 2");
    EXPECT_EQ(logger.lines[13], "2: Max Visible Depth: 250.000000");
}

TEST_F(CreateGraphicsSystem, WindowAndVsyncSettings)
{
    struct Case
    {
        bool windowed, vsync;
        const char* fullscreenLine;
        const char* vsyncLine;
        UINT interval;
    };
    const Case cases[] = {
        {true, false, "2: Fullscreen mode: false", "2: VSync mode: off", D3DPRESENT_INTERVAL_IMMEDIATE},
        {true, true, "2: Fullscreen mode: false", "2: VSync mode: on", D3DPRESENT_INTERVAL_DEFAULT},
        {false, false, "2: Fullscreen mode: true", "2: VSync mode: off", D3DPRESENT_INTERVAL_IMMEDIATE},
        {false, true, "2: Fullscreen mode: true", "2: VSync mode: on", D3DPRESENT_INTERVAL_DEFAULT},
    };
    for (const Case& c : cases)
    {
        standin::Reset();
        logger.lines.clear();
        VideoSettings settings;
        settings.windowed = c.windowed;
        settings.vsync = c.vsync;
        ASSERT_EQ(Create(settings), 0);
        EXPECT_EQ(logger.lines[9], c.fullscreenLine);
        EXPECT_EQ(logger.lines[10], c.vsyncLine);
        EXPECT_EQ(graphics.presentParams.PresentationInterval, c.interval);
        EXPECT_EQ(graphics.presentParams.Windowed, c.windowed ? TRUE : FALSE);
        // Format probes are full-screen style whatever the window mode.
        EXPECT_EQ(standin::CallTexts("CheckDeviceType").back(), "CheckDeviceType(0, 1, 21, 21, 0)");
        graphics.DestroyGraphicsSystem();
    }
}

// Each failing step reports at its level, returns 1 and leaves what it made
// for DestroyGraphicsSystem (the fixture checks that nothing stays alive).
struct FailureCase
{
    const char* operation;
    int nth;
    const char* file;
    const char* snippet;  // the reporting statement
    int level;
    bool hasDevice;
    bool hasCamera;
};

void PrintTo(const FailureCase& failure, std::ostream* out)
{
    *out << failure.operation << " call " << failure.nth;
}

class CreateFailure : public CreateGraphicsSystem, public ::testing::WithParamInterface<FailureCase>
{
};

TEST_P(CreateFailure, ReportsAtItsLevelAndUndoesNothing)
{
    const FailureCase& failure = GetParam();
    standin::FailCall(failure.operation, failure.nth, D3DERR_INVALIDCALL);
    EXPECT_EQ(Create(), 1);

    EXPECT_EQ(logger.lines.front(), "2: Creating the graphics system...");
    EXPECT_EQ(logger.lines.back(),
              ExpectedReport(failure.level, "D3DERR_INVALIDCALL", failure.file, failure.snippet));
    EXPECT_EQ(logger.Errors().size(), 1u);
    EXPECT_NE(graphics.d3d, nullptr);
    EXPECT_EQ(graphics.device != nullptr, failure.hasDevice);
    EXPECT_EQ(graphics.camera != nullptr, failure.hasCamera);
    EXPECT_EQ(graphics.GetScreenWidth(), 800);
}

INSTANTIATE_TEST_SUITE_P(Steps, CreateFailure, ::testing::Values(
    FailureCase{"GetDeviceCaps", 1, kSource, "d3d->GetDeviceCaps(", 3, false, false},
    FailureCase{"CreateDevice", 1, kSource, "d3d->CreateDevice(", 3, false, false},
    FailureCase{"SetRenderState", 1, kSource, "SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE)", 3, true, false},
    FailureCase{"SetRenderState", 2, kSource, "SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW)", 3, true, false},
    FailureCase{"SetTransform", 1, kSource, "SetTransform(D3DTS_WORLD", 2, true, false},
    FailureCase{"SetTransform", 2, "extra/CCamera.cpp", "D3DTS_VIEW", 3, true, false},
    FailureCase{"SetTransform", 3, kSource, "SetTransform(D3DTS_PROJECTION", 2, true, true}));

TEST_F(CreateGraphicsSystem, ReportsAMissingDirect3DObject)
{
    standin::FailCall("Direct3DCreate9", 1, E_FAIL);
    EXPECT_EQ(Create(), 1);
    EXPECT_EQ(graphics.d3d, nullptr);
    EXPECT_EQ(logger.lines, Lines({
        "2: Creating the graphics system...",
        "3: ERROR : Could not create Direct3D object : " +
            std::to_string(SourceLine(kSource, "ReportNoDirect3D(logger")) + " : " + kSource,
    }));
}

TEST_F(CreateGraphicsSystem, RefusesANullLogger)
{
    EXPECT_EQ(graphics.CreateGraphicsSystem(nullptr, nullptr, 0, 0, 32, 600, 800, 1, true, true, 0,
                                            0, 100.0f), 1);
    EXPECT_TRUE(standin::Calls().empty());
}

// After a reset the projection set-up runs again: the camera is applied, not
// made again.
TEST_F(CreateGraphicsSystem, ProjectionSetUpKeepsItsCamera)
{
    CreateQuietly();
    ICamera* camera = graphics.camera;
    camera->SetPosition(0, 0, -5);
    ASSERT_EQ(graphics.SetUpProjection(), 0);

    EXPECT_EQ(graphics.camera, camera);
    EXPECT_EQ(standin::DeviceCallTexts(), Lines({
        "SetTransform(256, {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}})",
        // From (0, 0, -5) along +x, the up direction pointing down.
        "SetTransform(2, {{0, -4.371139e-08, 1, 0}, {0, -1, -4.371139e-08, 0}, {1, 0, 0, 0}, {5, 0, -0, 1}})",
        "SetTransform(3, {{1.8106601, 0, 0, 0}, {0, 2.4142134, 0, 0}, {0, 0, 1.001001, 1}, {0, 0, -1.001001, 0}})",
    }));
    EXPECT_TRUE(logger.lines.empty());
}

class FrameOperations : public GraphicsTest
{
};

TEST_F(FrameOperations, ClearBeginAndEndScene)
{
    CreateQuietly();
    EXPECT_EQ(graphics.Clear(0xFF336699), 0);
    EXPECT_EQ(graphics.BeginScene(), 0);
    EXPECT_EQ(graphics.BeginScene(), 1) << "a scene is already open";
    EXPECT_EQ(graphics.EndScene(), 0);
    EXPECT_EQ(standin::DeviceCallTexts(), Lines({
        "Clear(0, null, 7, 0xFF336699, 1, 0)",
        "BeginScene()",
        "BeginScene()",
        "EndScene()",
    }));
    EXPECT_EQ(graphics.clearColor, 0xFF336699u);
    EXPECT_EQ(logger.lines, Lines({ExpectedReport(2, "D3DERR_INVALIDCALL", kSource,
                                                  "device->BeginScene()")}));
}

// Every setter stores its value before the device call, so a failed call
// leaves the value for the reset sequence to try again.
TEST_F(FrameOperations, SettersRememberTheirValueEvenWhenTheDeviceRefuses)
{
    CreateQuietly();
    standin::FailFrom("SetRenderState", 1, D3DERR_INVALIDCALL);
    standin::FailFrom("Clear", 1, D3DERR_INVALIDCALL);

    EXPECT_EQ(graphics.Clear(0xFF00FF00), 1);
    EXPECT_EQ(graphics.SetFillMode(0), 1);
    EXPECT_EQ(graphics.SetLighting(false), 1);
    EXPECT_EQ(graphics.SetAmbientLight(0xFF202020), 1);

    EXPECT_EQ(graphics.clearColor, 0xFF00FF00u);
    EXPECT_EQ(graphics.fillMode, 0);
    EXPECT_FALSE(graphics.lightingEnabled);
    EXPECT_EQ(graphics.ambientColor, 0xFF202020u);
    // One report per failing call; a failed lighting state sets no shade mode.
    EXPECT_EQ(logger.lines, Lines({
        ExpectedReport(2, "D3DERR_INVALIDCALL", kSource, "device->Clear("),
        ExpectedReport(2, "D3DERR_INVALIDCALL", kSource, "D3DFILL_WIREFRAME"),
        ExpectedReport(2, "D3DERR_INVALIDCALL", kSource, "D3DRS_LIGHTING"),
        ExpectedReport(2, "D3DERR_INVALIDCALL", kSource, "D3DRS_AMBIENT"),
    }));
    EXPECT_EQ(standin::CountCalls("SetRenderState"), 3);
}

TEST_F(FrameOperations, RenderStates)
{
    CreateQuietly();
    EXPECT_EQ(graphics.SetFillMode(0), 0);
    EXPECT_EQ(graphics.SetFillMode(1), 0);
    EXPECT_EQ(graphics.SetFillMode(2), 0);
    EXPECT_EQ(graphics.fillMode, 2);
    EXPECT_EQ(graphics.SetLighting(false), 0);
    EXPECT_EQ(graphics.SetLighting(true), 0);
    EXPECT_EQ(graphics.SetAmbientLight(0xFF404040), 0);
    EXPECT_EQ(standin::DeviceCallTexts(), Lines({
        "SetRenderState(8, 2)",
        "SetRenderState(8, 3)",
        "SetRenderState(137, 0)",
        "SetRenderState(9, 2)",
        "SetRenderState(137, 1)",
        "SetRenderState(9, 2)",
        "SetRenderState(139, 0xFF404040)",
    }));
    EXPECT_TRUE(logger.lines.empty());
}

TEST_F(FrameOperations, AFailedShadeModeIsReportedAndFailsSetLighting)
{
    CreateQuietly();
    standin::FailNext("SetRenderState", D3DERR_INVALIDCALL, 1);
    EXPECT_EQ(graphics.SetLighting(true), 1);
    EXPECT_EQ(logger.lines, Lines({ExpectedReport(2, "D3DERR_INVALIDCALL", kSource, "D3DRS_SHADEMODE")}));
}

TEST_F(FrameOperations, WithoutADeviceEveryOperationFailsAndSettersStillRemember)
{
    EXPECT_EQ(graphics.Clear(0xFF010203), 1);
    EXPECT_EQ(graphics.SetFillMode(0), 1);
    EXPECT_EQ(graphics.SetLighting(false), 1);
    EXPECT_EQ(graphics.SetAmbientLight(0xFF040506), 1);
    EXPECT_EQ(graphics.BeginScene(), 1);
    EXPECT_EQ(graphics.EndScene(), 1);
    EXPECT_EQ(graphics.RenderFrame(), 1);
    EXPECT_EQ(graphics.SaveScreenshot("frame.bmp"), 1);
    EXPECT_EQ(graphics.CreateCharacter(), nullptr);
    EXPECT_EQ(graphics.CreateTexture(nullptr, 0), nullptr);
    EXPECT_EQ(graphics.CreateLight(), nullptr);
    EXPECT_EQ(graphics.CreateFont("Arial", 8, 16, 400), nullptr);
    EXPECT_EQ(graphics.clearColor, 0xFF010203u);
    EXPECT_EQ(graphics.fillMode, 0);
    EXPECT_FALSE(graphics.lightingEnabled);
    EXPECT_EQ(graphics.ambientColor, 0xFF040506u);
    EXPECT_TRUE(standin::Calls().empty());
}

TEST_F(FrameOperations, StartValuesAreDirect3DDefaults)
{
    EXPECT_EQ(graphics.clearColor, 0u);
    EXPECT_EQ(graphics.fillMode, 1);
    EXPECT_TRUE(graphics.lightingEnabled);
    EXPECT_EQ(graphics.ambientColor, 0u);
}

TEST_F(FrameOperations, ScreenSizeOutlivesTheDevice)
{
    VideoSettings settings;
    settings.width = 1024;
    settings.height = 768;
    CreateQuietly(settings);
    graphics.RequestSort();
    EXPECT_TRUE(graphics.sortRequested);
    EXPECT_TRUE(standin::Calls().empty());
    graphics.DestroyGraphicsSystem();
    EXPECT_EQ(graphics.GetScreenWidth(), 1024);
    EXPECT_EQ(graphics.GetScreenHeight(), 768);
}

}  // namespace
