// The sample host's command line.
#include <gtest/gtest.h>

#include <vector>

#include "HostOptions.h"

namespace {

std::string Parse(std::vector<const char*> arguments, HostOptions& options)
{
    arguments.insert(arguments.begin(), "SampleHost");
    return ParseOptions(static_cast<int>(arguments.size()), arguments.data(), options);
}

TEST(HostOptions, ReadsEveryVideoSetting)
{
    HostOptions options;
    EXPECT_EQ("", Parse({"--frames", "12", "--size", "1024x768", "--depth", "16", "--fullscreen", "--vsync",
                         "--multisample", "4", "--multisample-quality", "1", "--far", "250.5", "--back-buffers", "2",
                         "--screenshot", "a.bmp", "--log", "b.log"},
                        options));
    EXPECT_EQ(12, options.frames);
    EXPECT_EQ(1024, options.video.width);
    EXPECT_EQ(768, options.video.height);
    EXPECT_EQ(16, options.video.colourDepth);
    EXPECT_FALSE(options.video.windowed);
    EXPECT_TRUE(options.video.vsync);
    EXPECT_EQ(4, options.video.multisampleType);
    EXPECT_EQ(1, options.video.multisampleQuality);
    EXPECT_FLOAT_EQ(250.5f, options.video.maxVisibleDepth);
    EXPECT_EQ(2, options.video.backBufferCount);
    EXPECT_EQ("a.bmp", options.screenshotPath);
    EXPECT_EQ("b.log", options.logPath);
}

TEST(HostOptions, LaterArgumentsWin)
{
    HostOptions options;
    EXPECT_EQ(
        "", Parse({"--size", "640x480", "--width", "700", "--fullscreen", "--windowed"}, options));
    EXPECT_EQ(700, options.video.width);
    EXPECT_EQ(480, options.video.height);
    EXPECT_TRUE(options.video.windowed);
}

TEST(HostOptions, RefusesWhatCannotWork)
{
    const std::vector<std::vector<const char*>> bad = {
        {"--depth", "24"},       {"--frames", "0"}, {"--frames", "ten"}, {"--size", "800"},
        {"--size", "800x"},      {"--width", "-5"}, {"--far", "1"},      {"--far", "x"},
        {"--multisample", "17"}, {"--frames"},      {"--bogus"},         {"--bogus", "1"},
    };
    for (const auto& arguments : bad)
    {
        HostOptions options;
        std::string error = Parse(arguments, options);
        EXPECT_NE("", error) << arguments[0];
        EXPECT_NE(std::string::npos, error.find(arguments[0])) << error;
    }
}

}  // namespace
