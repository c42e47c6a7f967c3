// Device creation from the host's video settings, and what the graphics
// system does before it has a device. Creation's failures are among the
// report sites of the fault sweep.

#include <standin/Recorder.h>

#include <string>
#include <vector>

#include "HostTest.h"

namespace {

using CreateGraphicsSystemTest = HostTest;

// One row: video settings and what the adapter offers, then what reaches the
// device and the log.
struct SettingsCase
{
    const char* name;
    VideoSettings settings;
    std::vector<D3DFORMAT> formats;                    // formats the adapter accepts
    std::vector<D3DMULTISAMPLE_TYPE> multisampleTypes;  // and multisample types
    // Probes made, the multisample check and the presentation parameters
    // given to CreateDevice, and the lines logged.
    Lines probes;
    std::string multisampleCheck;
    std::string presentParams;
    Lines log;
};

VideoSettings Settings(int depth, bool windowed, bool vsync, int multisampleType = 0, int quality = 0,
                       int backBuffers = 1, float far = 1000.0f)
{
    VideoSettings settings;
    settings.colourDepth = depth;
    settings.windowed = windowed;
    settings.vsync = vsync;
    settings.multisampleType = multisampleType;
    settings.multisampleQuality = quality;
    settings.backBufferCount = backBuffers;
    settings.maxVisibleDepth = far;
    return settings;
}

// The lines creation logs, its settings block last.
Lines Log(const std::string& size, int backBuffers, int format, bool fullscreen, bool vsync, int type, int quality,
          const std::string& far = "1000.000000")
{
    return {"2: Creating the graphics system...",
            "3: OK",
            "NewLine",
            "NewLine",
            "1: [Video Settings]",
            "2: Number of video adapters: 1",
            "2: Using dimensions: " + size,
            "2: Number of back buffers: " + std::to_string(backBuffers),
            "2: Back buffer format: " + std::to_string(format),
            std::string("2: Fullscreen mode: ") + (fullscreen ? "true" : "false"),
            std::string("2: VSync mode: ") + (vsync ? "on" : "off"),
            "2: Multisample Type: " + std::to_string(type),
            "2: Multisample Quality: " + std::to_string(quality),
            "2: Max Visible Depth: " + far};
}

const std::vector<D3DFORMAT> kAll16 = {D3DFMT_X1R5G5B5, D3DFMT_A1R5G5B5, D3DFMT_R5G6B5};
const std::vector<D3DFORMAT> kAll32 = {D3DFMT_A2R10G10B10, D3DFMT_X8R8G8B8, D3DFMT_A8R8G8B8};
const std::vector<D3DMULTISAMPLE_TYPE> kTwoSamples = {D3DMULTISAMPLE_NONE, D3DMULTISAMPLE_2_SAMPLES};
const Lines kProbes16 = {"CheckDeviceType(0, 1, 24, 24, 0)", "CheckDeviceType(0, 1, 25, 25, 0)",
                         "CheckDeviceType(0, 1, 23, 23, 0)"};
const Lines kProbes32 = {"CheckDeviceType(0, 1, 35, 35, 0)", "CheckDeviceType(0, 1, 22, 22, 0)",
                         "CheckDeviceType(0, 1, 21, 21, 0)"};

// Colour depths choose the last format that passes (none for other depths)
// and the depth-stencil format; windowed and vsync choose the flag and the
// present interval; a multisample type the adapter lacks falls back to none
// silently, a supported one keeps its quality unchecked.
const SettingsCase kSettingsCases[] = {
    {"32 bits, all formats", Settings(32, true, true), kAll32, {}, kProbes32,
     "(0, 1, 21, 1, 0, null)", "{800, 600, 21, 1, 0, 0, 1, null, 1, 1, 75, 0, 0, 0}",
     Log("800x600x32", 1, 21, false, true, 0, 0)},
    {"32 bits, A8R8G8B8 refused", Settings(32, true, false), {D3DFMT_A2R10G10B10, D3DFMT_X8R8G8B8}, {}, kProbes32,
     "(0, 1, 22, 1, 0, null)", "{800, 600, 22, 1, 0, 0, 1, null, 1, 1, 75, 0, 0, 2147483648}",
     Log("800x600x32", 1, 22, false, false, 0, 0)},
    {"32 bits, only A2R10G10B10", Settings(32, false, true), {D3DFMT_A2R10G10B10}, {}, kProbes32,
     "(0, 1, 35, 0, 0, null)", "{800, 600, 35, 1, 0, 0, 1, null, 0, 1, 75, 0, 0, 0}",
     Log("800x600x32", 1, 35, true, true, 0, 0)},
    {"16 bits, all formats", Settings(16, false, false, 0, 0, 2, 250.0f), kAll16, {}, kProbes16,
     "(0, 1, 23, 0, 0, null)", "{800, 600, 23, 2, 0, 0, 1, null, 0, 1, 73, 0, 0, 2147483648}",
     Log("800x600x16", 2, 23, true, false, 0, 0, "250.000000")},
    {"16 bits, only A1R5G5B5", Settings(16, true, true), {D3DFMT_A1R5G5B5}, {}, kProbes16,
     "(0, 1, 25, 1, 0, null)", "{800, 600, 25, 1, 0, 0, 1, null, 1, 1, 73, 0, 0, 0}",
     Log("800x600x16", 1, 25, false, true, 0, 0)},
    {"16 bits, none", Settings(16, true, true), {D3DFMT_X8R8G8B8}, {}, kProbes16,
     "(0, 1, 0, 1, 0, null)", "{800, 600, 0, 1, 0, 0, 1, null, 1, 1, 73, 0, 0, 0}",
     Log("800x600x16", 1, 0, false, true, 0, 0)},
    {"24 bits", Settings(24, true, true), kAll32, {}, {},
     "(0, 1, 0, 1, 0, null)", "{800, 600, 0, 1, 0, 0, 1, null, 1, 1, 73, 0, 0, 0}",
     Log("800x600x24", 1, 0, false, true, 0, 0)},
    {"multisampling the adapter lacks", Settings(32, true, true, 4, 3), kAll32, kTwoSamples, kProbes32,
     "(0, 1, 21, 1, 4, null)", "{800, 600, 21, 1, 0, 0, 1, null, 1, 1, 75, 0, 0, 0}",
     Log("800x600x32", 1, 21, false, true, 0, 0)},
    {"multisampling, full screen", Settings(32, false, true, 2, 3), kAll32, kTwoSamples, kProbes32,
     "(0, 1, 21, 0, 2, null)", "{800, 600, 21, 1, 2, 3, 1, null, 0, 1, 75, 0, 0, 0}",
     Log("800x600x32", 1, 21, true, true, 2, 3)},
};

TEST_F(CreateGraphicsSystemTest, MakesItsCallsAndLogsItsSettingsInOrder)
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
    EXPECT_EQ(logger.lines, Log("800x600x32", 1, 21, false, false, 0, 0));
    EXPECT_EQ(graphics->GetScreenWidth(), 800);
    EXPECT_EQ(graphics->GetScreenHeight(), 600);
}

TEST_F(CreateGraphicsSystemTest, SettingsAndAdaptersGiveTheirPresentParametersAndLogLines)
{
    for (const SettingsCase& row : kSettingsCases)
    {
        SCOPED_TRACE(row.name);
        standin::AdapterConfig adapter;
        adapter.deviceFormats = row.formats;
        if (!row.multisampleTypes.empty())
            adapter.multisampleTypes = row.multisampleTypes;
        standin::Reset(adapter);
        logger.lines.clear();
        ASSERT_EQ(Create(row.settings), 0);

        EXPECT_EQ(standin::CallTexts("CheckDeviceType"), row.probes);
        EXPECT_EQ(standin::CallTexts("CheckDeviceMultiSampleType"),
                  Lines({"CheckDeviceMultiSampleType" + row.multisampleCheck}));
        EXPECT_EQ(standin::CallTexts("CreateDevice"),
                  Lines({"CreateDevice(0, 1, null, 64, " + row.presentParams + ", Device#1)"}));
        EXPECT_EQ(logger.lines, row.log);
        graphics->DestroyGraphicsSystem();
    }
}

// The window is the device's focus window and the one it presents to; the
// far distance reaches the projection; the screen size outlives the device.
TEST_F(CreateGraphicsSystemTest, TheWindowFarDistanceAndScreenSizeAreTheHosts)
{
    const HWND window = reinterpret_cast<HWND>(0x1234);
    VideoSettings settings = Settings(32, true, true, 0, 0, 1, 250.0f);
    settings.width = 1024;
    settings.height = 768;
    ASSERT_EQ(CreateGraphicsSystem(*graphics, window, &logger, settings), 0);
    EXPECT_EQ(standin::CallTexts("CreateDevice"),
              Lines({"CreateDevice(0, 1, 0x1234, 64, {1024, 768, 21, 1, 0, 0, 1, 0x1234, 1, 1, 75, 0, 0, 0}, "
                     "Device#1)"}));
    EXPECT_EQ(standin::CallTexts("D3DXMatrixPerspectiveFovLH"),
              Lines({"D3DXMatrixPerspectiveFovLH(0.7853982, 1.3333334, 1, 250)"}));
    ASSERT_EQ(graphics->DestroyGraphicsSystem(), 0);
    EXPECT_EQ(graphics->GetScreenWidth(), 1024);
    EXPECT_EQ(graphics->GetScreenHeight(), 768);
}

// Positive results are successes: nothing is reported and creation goes on.
TEST_F(CreateGraphicsSystemTest, PositiveSuccessCodesAreNotFailures)
{
    standin::FailCall("CreateDevice", 1, D3DOK_NOAUTOGEN);
    standin::FailCall("SetRenderState", 1, S_FALSE);
    EXPECT_EQ(Create(), 0);
    EXPECT_TRUE(logger.Errors().empty());
}

// --- Without a device ---------------------------------------------------------------

// The states a reset sets again, and the colour every frame clears with.
Lines RememberedStates()
{
    return CallsStartingWith({"Clear(", "SetRenderState(137", "SetRenderState(8,", "SetRenderState(139"});
}

using WithoutDevice = HostTest;

// Before creation (and after shutdown) every operation that needs the device
// fails without a call; setters still remember, for the device to come.
TEST_F(WithoutDevice, EveryOperationFailsAndSettersStillRemember)
{
    EXPECT_EQ(graphics->Clear(0xFF010203), 1);
    EXPECT_EQ(graphics->SetFillMode(0), 1);
    EXPECT_EQ(graphics->SetLighting(false), 1);
    EXPECT_EQ(graphics->SetAmbientLight(0xFF040506), 1);
    EXPECT_EQ(graphics->BeginScene(), 1);
    EXPECT_EQ(graphics->EndScene(), 1);
    EXPECT_EQ(graphics->RenderFrame(), 1);
    EXPECT_EQ(graphics->SaveScreenshot("frame.bmp"), 1);
    EXPECT_EQ(graphics->CreateCharacter(), nullptr);
    EXPECT_EQ(graphics->CreateTexture(nullptr, 0), nullptr);
    EXPECT_EQ(graphics->CreateLight(), nullptr);
    EXPECT_EQ(graphics->CreateFont("Arial", 8, 16, 400), nullptr);
    EXPECT_EQ(graphics->GetCamera(), nullptr);
    EXPECT_TRUE(standin::Calls().empty());

    ASSERT_EQ(Create(), 0);
    standin::ClearCalls();
    ASSERT_EQ(LoseAndReset(), 0);
    EXPECT_EQ(RememberedStates(), Lines({
        "SetRenderState(137, 0)",
        "SetRenderState(8, 2)",
        "SetRenderState(139, 0xFF040506)",
        "Clear(0, null, 7, 0xFF010203, 1, 0)",
    }));
}

}  // namespace
