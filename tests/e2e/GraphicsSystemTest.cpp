// Bringing the graphics system up and down on Wine's Direct3D 9 adapter,
// and the files it reads and writes.
#include <gmock/gmock.h>

#include <regex>

#include "GraphicsTest.h"

using ::testing::ElementsAre;

namespace {

class GraphicsSystem : public GraphicsTest
{
protected:
    // DestroyGraphicsSystem, which logs its one line and nothing else. A
    // second one from the fixture's tear-down is harmless.
    void ExpectShutdownWithOneLine()
    {
        const std::size_t mark = Mark();
        EXPECT_EQ(0, graphics->DestroyGraphicsSystem());
        EXPECT_THAT(LinesSince(mark), ElementsAre("2: Destroying the graphics system...OK"));
    }
};

TEST_F(GraphicsSystem, LogsProgressAndVideoSettingsOnWinesAdapter)
{
    ASSERT_EQ(0, Start());

    // Xvfb has one screen, so Wine shows one adapter. For 32 bits the
    // adapter passes X8R8G8B8 (22) but not A8R8G8B8, which would come last.
    EXPECT_THAT(log.lines,
                ElementsAre("2: Creating the graphics system...", "3: OK", "NewLine", "NewLine",
                            "1: [Video Settings]", "2: Number of video adapters: 1",
                            "2: Using dimensions: 320x240x32", "2: Number of back buffers: 1",
                            "2: Back buffer format: 22", "2: Fullscreen mode: false",
                            "2: VSync mode: off", "2: Multisample Type: 0",
                            "2: Multisample Quality: 0", "2: Max Visible Depth: 100.000000"));
}

// Every colour depth but 32 comes with a D15S1 depth-stencil buffer, which
// Wine's adapter does not offer: the device cannot be created, the failure
// is reported at level 3, and shutdown still cleans up.
TEST_F(GraphicsSystem, SixteenBitColourAsksForADepthBufferWineLacks)
{
    VideoSettings sixteen = SmallWindow();
    sixteen.colourDepth = 16;
    EXPECT_EQ(1, Start(sixteen));

    ASSERT_EQ(2u, log.lines.size()) << LogText();
    EXPECT_EQ("2: Creating the graphics system...", log.lines[0]);
    EXPECT_TRUE(
        std::regex_match(log.lines[1], std::regex("3: ERROR : D3DERR_INVALIDCALL : [0-9]+ : "
                                                  "extra/CGraphicsD3D\\.cpp")))
        << log.lines[1];
    ExpectShutdownWithOneLine();
}

// Wine's adapter offers 4 samples but not 2 for a windowed X8R8G8B8 device.
TEST_F(GraphicsSystem, KeepsASupportedMultisampleType)
{
    VideoSettings four = SmallWindow();
    four.multisampleType = 4;
    ASSERT_EQ(0, Start(four));
    EXPECT_THAT(log.lines, ::testing::Contains("2: Multisample Type: 4"));
    EXPECT_EQ(0, graphics->Clear(0xFF000000));
    EXPECT_EQ(0, graphics->RenderFrame());
}

TEST_F(GraphicsSystem, FallsBackSilentlyFromAnUnsupportedMultisampleType)
{
    VideoSettings two = SmallWindow();
    two.multisampleType = 2;
    two.multisampleQuality = 1;
    ASSERT_EQ(0, Start(two));
    EXPECT_THAT(log.lines, ::testing::Contains("2: Multisample Type: 0"));
    EXPECT_THAT(log.lines, ::testing::Contains("2: Multisample Quality: 0"));
    EXPECT_TRUE(log.Errors().empty());
}

}  // namespace
