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

TEST_F(GraphicsSystem, WritesABitmapWhateverTheScreenshotNameSays)
{
    StartPlain(0xFF204060);
    ASSERT_EQ(0, graphics->RenderFrame());
    std::string path = OutputPath("picture.jpg");
    DeleteFileA(path.c_str());

    EXPECT_EQ(0, graphics->SaveScreenshot(path.c_str()));

    EXPECT_EQ("BM", FileMagic(path, 2));
    Bitmap bitmap;
    ASSERT_EQ("", ReadBitmap(path, bitmap));
    EXPECT_TRUE(PixelIs(bitmap, 10, 10, 0x204060));
}

TEST_F(GraphicsSystem, SavesNothingIntoAMissingFolderAndStillSucceeds)
{
    StartPlain(0xFF204060);
    ASSERT_EQ(0, graphics->RenderFrame());
    std::string path = OutputPath("no-such-folder") + "\\picture.bmp";

    EXPECT_EQ(0, graphics->SaveScreenshot(path.c_str()));
    EXPECT_EQ("", FileMagic(path, 2));
    EXPECT_TRUE(log.Errors().empty());
}

TEST_F(GraphicsSystem, AMissingTextureFileIsReportedAndGivesNoTexture)
{
    ASSERT_EQ(0, Start());
    std::string path = OutputPath("missing.bmp");
    std::size_t mark = Mark();

    EXPECT_EQ(nullptr, graphics->CreateTexture(path.c_str(), 0));

    std::vector<std::string> lines = LinesSince(mark);
    ASSERT_EQ(4u, lines.size()) << ::testing::PrintToString(lines);
    EXPECT_EQ("2: Loading texture " + path, lines[0]);
    EXPECT_EQ("NewLine", lines[1]);
    EXPECT_EQ("NewLine", lines[2]);
    // Wine's D3DX answers a file it cannot open with D3DXERR_INVALIDDATA.
    EXPECT_TRUE(std::regex_match(lines[3], std::regex("2: ERROR : D3DXERR_INVALIDDATA : [0-9]+ : "
                                                      "extra/CTexture\\.cpp")))
        << lines[3];
}

}  // namespace
