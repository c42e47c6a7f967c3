#ifndef TESTS_GRAPHICSTEST_H
#define TESTS_GRAPHICSTEST_H

#include <gtest/gtest.h>

#include <standin/Recorder.h>

#include <string>
#include <vector>

#include "CGraphicsD3D.h"
#include "RecordingLogger.h"

// The host's video settings, with the values most tests use.
struct VideoSettings
{
    int colourDepth = 32;
    int height = 600;
    int width = 800;
    int backBufferCount = 1;
    bool windowed = true;
    bool vsync = true;
    int multisampleType = 0;
    int multisampleQuality = 0;
    float maxVisibleDepth = 1000.0f;
};

// A graphics system on a fresh recording device; whatever a test leaves
// behind is torn down and must leave no live Direct3D object.
class GraphicsTest : public ::testing::Test
{
protected:
    void SetUp() override { standin::Reset(); }

    void TearDown() override
    {
        graphics.DestroyGraphicsSystem();
        EXPECT_EQ(standin::LiveObjects(), std::vector<std::string>());
    }

    // CreateGraphicsSystem with these settings.
    int Create(const VideoSettings& settings = VideoSettings())
    {
        return graphics.CreateGraphicsSystem(nullptr, &logger, 0, 0, settings.colourDepth,
                                             settings.height, settings.width,
                                             settings.backBufferCount, settings.windowed,
                                             settings.vsync, settings.multisampleType,
                                             settings.multisampleQuality, settings.maxVisibleDepth);
    }

    // Creates the system and forgets the calls and lines it made.
    void CreateQuietly(const VideoSettings& settings = VideoSettings())
    {
        ASSERT_EQ(Create(settings), 0);
        standin::ClearCalls();
        logger.lines.clear();
    }

    RecordingLogger logger;
    CGraphicsD3D graphics;
};

#endif
