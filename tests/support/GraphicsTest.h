#ifndef TESTS_GRAPHICSTEST_H
#define TESTS_GRAPHICSTEST_H

#include <gtest/gtest.h>

#include <standin/Recorder.h>

#include <string>
#include <vector>

#include "CActor.h"
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

// The vertex format of the tests' plain triangles: a position and a colour.
const std::uint32_t kXyzDiffuse = D3DFVF_XYZ | D3DFVF_DIFFUSE;  // 0x42

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

    // A character with one triangle on the given layer.
    CActor* AddCharacter(int layer, std::uint32_t fvf = kXyzDiffuse, MaterialDesc* material = nullptr)
    {
        const float vertices[9] = {0, 0, 0, 1, 0, 0, 0, 1, 0};
        const std::uint32_t indices[3] = {0, 1, 2};
        ICharacter* character = graphics.CreateCharacter();
        EXPECT_EQ(character->Create(3, layer, fvf, sizeof vertices, 12, 3, vertices, indices), 0);
        if (material != nullptr)
        {
            EXPECT_EQ(character->SetMaterial(material), 0);
        }
        return static_cast<CActor*>(character);
    }

    RecordingLogger logger;
    CGraphicsD3D graphics;
};

#endif
