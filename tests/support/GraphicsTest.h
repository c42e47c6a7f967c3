#ifndef TESTS_GRAPHICSTEST_H
#define TESTS_GRAPHICSTEST_H

#include <gtest/gtest.h>

#include <standin/Recorder.h>

#include <string>
#include <vector>

#include "CGraphicsD3D.h"
#include "RecordingLogger.h"
#include "VideoSettings.h"

// A registry as the host sees it: the interface pointers it was handed, in
// registry order.
template <typename Interface, typename Object>
std::vector<Interface*> Handed(const std::vector<Object*>& registry)
{
    return std::vector<Interface*>(registry.begin(), registry.end());
}

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
        return CreateGraphicsSystem(graphics, nullptr, &logger, settings);
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
