// A real device loss and reset. Wine's d3d9 marks a full-screen device lost
// when its window is told that the application was deactivated
// (WM_ACTIVATEAPP with FALSE, after which Wine also minimises the window),
// and resettable once the window is restored and activated again. Reset is
// refused by real Direct3D 9 while any default-pool resource is alive, so a
// frame that succeeds after the loss shows that every buffer, texture and
// font let go of its resources and rebuilt them.
#include <gmock/gmock.h>

#include <algorithm>

#include "GraphicsTest.h"

namespace {

const std::uint32_t kBlack = 0x000000;
const std::uint32_t kBlue = 0x0000FF;
const std::uint32_t kGreen = 0x00C000;
const std::uint32_t kMagenta = 0xDE00DE;

class DeviceLoss : public GraphicsTest
{
protected:
    // The screen is Xvfb's, so its size is whatever the script gave Xvfb.
    void StartFullScreen()
    {
        VideoSettings fullScreen = SmallWindow();
        fullScreen.windowed = false;
        fullScreen.width = GetSystemMetrics(SM_CXSCREEN);
        fullScreen.height = GetSystemMetrics(SM_CYSCREEN);
        StartPlain(0xFF000000, fullScreen);
    }

    void Deactivate()
    {
        SendMessageW(window.Handle(), WM_ACTIVATEAPP, FALSE, 0);
        window.PumpMessages();
    }

    void Reactivate()
    {
        ShowWindow(window.Handle(), SW_RESTORE);
        SendMessageW(window.Handle(), WM_ACTIVATEAPP, TRUE, 0);
        SetForegroundWindow(window.Handle());
        window.PumpMessages();
    }

    // A point at a fraction of the screen.
    int X(double fraction) const { return static_cast<int>(settings.width * fraction); }
    int Y(double fraction) const { return static_cast<int>(settings.height * fraction); }
};

// 16 x 16 texels: the left half the key colour, the right half green above
// black. The first load keys out 0xDE00DE; reloads after a reset key out black.
std::string WriteKeyedTexture(const std::string& path)
{
    std::vector<std::uint32_t> texels(16 * 16);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            texels[y * 16 + x] = x < 8 ? kMagenta : (y < 8 ? kGreen : kBlack);
    return WriteBitmap(path, 16, 16, texels) ? path : std::string();
}

TEST_F(DeviceLoss, FramesFailWhileLostAndTheSceneComesBackAfterTheReset)
{
    std::string file = WriteKeyedTexture(OutputPath("keyed.bmp"));
    ASSERT_FALSE(file.empty());
    StartFullScreen();
    ASSERT_FALSE(HasFatalFailure());

    // Left: the keyed texture over blue. Right: a texture filled from memory.
    // Below: text. A light, although lighting is off, so that lights take
    // part in the reset too.
    ASSERT_NE(nullptr, AddRect(*graphics, 0, 0, X(0.5), Y(0.5), 0.9f, 0xFF0000FF, 0));
    ITexture* keyed = graphics->CreateTexture(file.c_str(), 0);
    ASSERT_NE(nullptr, keyed);
    ICharacter* picture = AddPicture(*graphics, keyed, X(0.05), Y(0.05), X(0.45), Y(0.45), 0.5f, 1);
    ASSERT_NE(nullptr, picture);
    picture->SetTextureAlpha(true);
    ITexture* filled = graphics->CreateTexture(nullptr, 0);
    ASSERT_NE(nullptr, filled);
    const std::uint32_t pair[2] = {0xFFFF0000, 0xFF00FF00};
    ASSERT_EQ(0, filled->AddData(pair, 2, 1));
    ASSERT_NE(nullptr, AddPicture(*graphics, filled, X(0.55), Y(0.05), X(0.95), Y(0.45), 0.5f, 0));
    IFont* font = graphics->CreateFont("Tahoma", 0, 32, 700);
    ASSERT_NE(nullptr, font);
    ILight* light = graphics->CreateLight();
    ASSERT_NE(nullptr, light);
    ASSERT_EQ(0, light->Enable(true));

    font->AddText("Before the loss", 0xFFFFFFFF, X(0.05), Y(0.6), X(0.9), Y(0.75));
    Bitmap before = Capture();
    EXPECT_TRUE(PixelIs(before, X(0.15), Y(0.25), kBlue));  // keyed out
    EXPECT_TRUE(PixelIs(before, X(0.35), Y(0.15), kGreen, 1));
    EXPECT_TRUE(PixelIs(before, X(0.35), Y(0.35), kBlack));  // black is opaque
    EXPECT_TRUE(PixelIs(before, X(0.65), Y(0.25), 0xFF0000));
    EXPECT_TRUE(PixelIs(before, X(0.85), Y(0.25), 0x00FF00));
    EXPECT_GT(CountOther(before, X(0.05), Y(0.6), X(0.9), Y(0.75), kBlack), 200);

    Deactivate();
    EXPECT_TRUE(window.Minimised());
    const auto lost =
        ::testing::MatchesRegex("2: ERROR : D3DERR_DEVICELOST : \\d+ : extra/CGraphicsD3D\\.cpp");
    for (int frame = 0; frame < 3; ++frame)
    {
        const std::size_t mark = Mark();
        EXPECT_EQ(1, graphics->RenderFrame());
        EXPECT_THAT(LinesSince(mark), ::testing::ElementsAre(lost));
    }

    Reactivate();
    std::size_t mark = Mark();
    font->AddText("After the reset", 0xFFFFFFFF, X(0.05), Y(0.6), X(0.9), Y(0.75));
    EXPECT_EQ(0, graphics->RenderFrame()) << LogText();
    std::vector<std::string> resetLines = LinesSince(mark);
    EXPECT_THAT(resetLines, ::testing::Not(::testing::Contains(::testing::HasSubstr("ERROR"))));
    // Three characters rebuilt their buffers, each announcing it and closing with OK.
    EXPECT_EQ(3, std::count(resetLines.begin(), resetLines.end(), "2: Resetting an actor..."));
    EXPECT_EQ(3, std::count(resetLines.begin(), resetLines.end(), "3: OK"));

    // The filled texture comes back empty; the host fills it again.
    ASSERT_EQ(0, filled->AddData(pair, 2, 1));
    Bitmap after = Capture();
    EXPECT_TRUE(PixelIs(after, X(0.15), Y(0.25), kMagenta, 1));  // opaque now
    EXPECT_TRUE(PixelIs(after, X(0.35), Y(0.15), kGreen, 1));
    EXPECT_TRUE(PixelIs(after, X(0.35), Y(0.35), kBlue));  // black keyed out
    EXPECT_TRUE(PixelIs(after, X(0.65), Y(0.25), 0xFF0000));
    EXPECT_TRUE(PixelIs(after, X(0.85), Y(0.25), 0x00FF00));
    EXPECT_GT(CountOther(after, X(0.05), Y(0.6), X(0.9), Y(0.75), kBlack), 200);
}

}  // namespace
