#ifndef TESTS_HOSTTEST_H
#define TESTS_HOSTTEST_H

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <standin/Recorder.h>

#include <cstdint>
#include <string>
#include <vector>

#include "IGraphics.h"
#include "RecordingLogger.h"
#include "VideoSettings.h"

using Lines = std::vector<std::string>;

// The vertex format of the tests' plain triangles: a position and a colour.
const std::uint32_t kXyzDiffuse = D3DFVF_XYZ | D3DFVF_DIFFUSE;  // 0x42

// The unit tests see the plug-in as a host does: a graphics system from
// GetPlugin on a fresh recording device, reached through its interfaces, the
// device's recorded calls and a logger that keeps every line. Whatever a test
// leaves is shut down and must leave no Direct3D object alive.
class HostTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        standin::Reset();
        ASSERT_NE(graphics, nullptr);
    }

    void TearDown() override
    {
        graphics->DestroyGraphicsSystem();
        graphics->Destroy();
        EXPECT_THAT(standin::LiveObjects(), ::testing::IsEmpty());
    }

    int Create(const VideoSettings& settings = VideoSettings())
    {
        return CreateGraphicsSystem(*graphics, nullptr, &logger, settings);
    }

    // Forgets the calls recorded and the lines logged so far.
    void Forget()
    {
        standin::ClearCalls();
        logger.lines.clear();
    }

    // A character with one triangle (vertex count 3) on the given layer.
    ICharacter* AddCharacter(int layer = 0, std::uint32_t fvf = kXyzDiffuse, MaterialDesc* material = nullptr)
    {
        const float vertices[9] = {0, 0, 0, 1, 0, 0, 0, 1, 0};
        const std::uint32_t indices[3] = {0, 1, 2};
        ICharacter* character = graphics->CreateCharacter();
        EXPECT_NE(character, nullptr);
        if (character == nullptr)
            return nullptr;
        EXPECT_EQ(character->Create(3, layer, fvf, sizeof vertices, 12, 3, vertices, indices), 0);
        if (material != nullptr)
        {
            EXPECT_EQ(character->SetMaterial(material), 0);
        }
        return character;
    }

    // Loses the device, lets it be reset and runs the frame that resets it.
    int LoseAndReset()
    {
        standin::LoseDevice();
        standin::MakeDeviceResettable();
        return graphics->RenderFrame();
    }

    IGraphics* graphics = GetPlugin(nullptr);
    RecordingLogger logger;
};

// A host test whose graphics system is up, with the default video settings,
// and whose creation's calls and lines are forgotten.
class SystemTest : public HostTest
{
protected:
    void SetUp() override
    {
        HostTest::SetUp();
        ASSERT_EQ(Create(), 0);
        Forget();
    }
};

// The recorded calls whose text starts with one of the prefixes.
inline Lines CallsStartingWith(const Lines& prefixes)
{
    return standin::CallTexts([&](const standin::Call& call) {
        const std::string text = call.Text();
        for (const std::string& prefix : prefixes)
            if (text.compare(0, prefix.size(), prefix) == 0)
                return true;
        return false;
    });
}

#endif
