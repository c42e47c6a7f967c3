#include "GraphicsTest.h"

#include <cstdio>
#include <cstdlib>

#include "PluginLibrary.h"

namespace {

// One plug-in module for the whole run, as in a host.
PluginLibrary* Plugin()
{
    static PluginLibrary* plugin = [] {
        auto* library = new PluginLibrary;
        if (!library->Load(ProgramDirectory() + L"GraphicsDLL.dll"))
        {
            std::fprintf(stderr, "%s\n", library->Error().c_str());
            std::exit(1);
        }
        return library;
    }();
    return plugin;
}

std::string OutputDirectory()
{
    static const std::string directory = [] {
        std::wstring path = ProgramDirectory() + L"e2e-output";
        CreateDirectoryW(path.c_str(), nullptr);
        return Narrow(path) + "\\";
    }();
    return directory;
}

int Channel(std::uint32_t colour, int shift)
{
    return (colour >> shift) & 0xFF;
}

}  // namespace

VideoSettings SmallWindow()
{
    VideoSettings settings;
    settings.width = 320;
    settings.height = 240;
    settings.vsync = false;
    settings.maxVisibleDepth = 100.0f;
    return settings;
}

void GraphicsTest::TearDown()
{
    if (graphics == nullptr)
        return;
    graphics->DestroyGraphicsSystem();
    graphics->Destroy();
}

void GraphicsTest::StartPlain(std::uint32_t clearColour, const VideoSettings& wanted)
{
    settings = wanted;
    ASSERT_TRUE(window.Create(L"GraphicsDLL end-to-end test", settings.width, settings.height,
                              settings.windowed))
        << "could not open a window";
    graphics = Plugin()->NewGraphics();
    ASSERT_NE(nullptr, graphics) << "GetPlugin gave no graphics system";
    ASSERT_EQ(0, CreateGraphicsSystem(*graphics, window.Handle(), &log, settings)) << LogText();
    ASSERT_EQ(0, graphics->Clear(clearColour));
    ASSERT_EQ(0, graphics->SetFillMode(1));
    ASSERT_EQ(0, graphics->SetLighting(false));
}

Bitmap GraphicsTest::Capture()
{
    Bitmap bitmap;
    window.PumpMessages();
    EXPECT_EQ(0, graphics->RenderFrame()) << LogText();
    std::string path = OutputPath("frame" + std::to_string(++captures) + ".bmp");
    DeleteFileA(path.c_str());
    EXPECT_EQ(0, graphics->SaveScreenshot(path.c_str()));
    std::string error = ReadBitmap(path, bitmap);
    EXPECT_EQ("", error);
    EXPECT_EQ(settings.width, bitmap.width);
    EXPECT_EQ(settings.height, bitmap.height);
    return bitmap;
}

std::string GraphicsTest::OutputPath(const std::string& suffix) const
{
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(test->test_suite_name()) + "." + test->name() + "." + suffix;
    for (char& c : name)
        if (c == '/')
            c = '_';
    return OutputDirectory() + name;
}

std::vector<std::string> GraphicsTest::LinesSince(std::size_t mark) const
{
    return std::vector<std::string>(log.lines.begin() + static_cast<std::ptrdiff_t>(mark),
                                    log.lines.end());
}

std::string GraphicsTest::LogText() const
{
    std::string text = "log:";
    for (const std::string& line : log.lines)
        text += "\n  " + line;
    return text;
}

ICharacter* AddRect(IGraphics& graphics, float left, float top, float right, float bottom,
                    float depth, D3DCOLOR colour, int layer)
{
    return CreateMesh(graphics, MakeScreenRect(left, top, right, bottom, depth, colour, colour),
                      layer);
}

ICharacter* AddPicture(IGraphics& graphics, ITexture* texture, float left, float top, float right,
                       float bottom, float depth, int layer)
{
    ICharacter* picture =
        CreateMesh(graphics, MakeScreenPicture(left, top, right, bottom, depth, 0xFFFFFFFF), layer);
    if (picture != nullptr)
        picture->SetTextures(texture, 1);
    return picture;
}

::testing::AssertionResult PixelIs(const Bitmap& bitmap, int x, int y, std::uint32_t expected,
                                   int tolerance)
{
    if (x < 0 || y < 0 || x >= bitmap.width || y >= bitmap.height)
        return ::testing::AssertionFailure() << "(" << x << ", " << y << ") is outside the picture";
    std::uint32_t actual = bitmap.At(x, y);
    for (int shift = 0; shift < 24; shift += 8)
        if (std::abs(Channel(actual, shift) - Channel(expected, shift)) > tolerance)
        {
            char text[96];
            std::snprintf(text, sizeof text, "pixel (%d, %d) is %06X, expected %06X (+-%d)", x, y,
                          static_cast<unsigned>(actual), static_cast<unsigned>(expected),
                          tolerance);
            return ::testing::AssertionFailure() << text;
        }
    return ::testing::AssertionSuccess();
}

int CountOther(const Bitmap& bitmap, int left, int top, int right, int bottom, std::uint32_t colour)
{
    if (bitmap.pixels.empty())
        return -1;
    int count = 0;
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            count += bitmap.At(x, y) != colour;
    return count;
}
