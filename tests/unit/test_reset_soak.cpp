// Resets that do not grow: many loss-and-reset cycles with 50 objects of
// every kind leave the same live device objects, the same plug-in heap and
// the same rebuilt buffer bytes as the first cycle did.
//
// The test command runs the full 1,000 cycles (about 5 s under the sanitizers);
// GRAPHICSDLL_SOAK_CYCLES sets another count:
//   GRAPHICSDLL_SOAK_CYCLES=10000 build/linux/tests/unit_tests --gtest_filter='ResetSoak.*'

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <standin/Recorder.h>

#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "AllocationCounter.h"
#include "CActor.h"
#include "CGraphicsD3D.h"
#include "GraphicsTest.h"

namespace {

const int kObjectsPerKind = 50;

int SoakCycles()
{
    const char* cycles = std::getenv("GRAPHICSDLL_SOAK_CYCLES");
    return cycles != nullptr ? std::atoi(cycles) : 1000;
}

// Live device objects by kind and reference count: "Texture (1 reference)" x 50.
std::map<std::string, int> LiveObjectKinds()
{
    std::map<std::string, int> kinds;
    for (const std::string& object : standin::LiveObjects())
    {
        const std::size_t hash = object.find('#');
        const std::size_t space = object.find(' ');
        ++kinds[object.substr(0, hash) + object.substr(space)];
    }
    return kinds;
}

class ResetSoak : public GraphicsTest
{
protected:
    void SetUp() override
    {
        standin::AdapterConfig adapter;
        adapter.maxActiveLights = kObjectsPerKind;
        standin::Reset(adapter);
        ASSERT_EQ(0, Create());
        standin::SetRecording(false);
    }

    void TearDown() override
    {
        standin::SetRecording(true);
        GraphicsTest::TearDown();
    }

    // 50 of every kind: characters in two formats on layers 0, 2 and the
    // overlay, with records and textures; file and filled blank textures;
    // lights; fonts with text.
    void Populate()
    {
        for (int i = 0; i < kObjectsPerKind; ++i)
        {
            MaterialDesc* record = graphics.CreateMaterial();
            record->diffuse[0] = static_cast<float>(i) / kObjectsPerKind;

            const std::string name = "texture" + std::to_string(i) + ".bmp";
            ITexture* texture = i % 2 == 0 ? graphics.CreateTexture(name.c_str(), 0)
                                           : graphics.CreateTexture(nullptr, 0);
            const std::uint32_t pixels[4] = {0xFF000000u + static_cast<std::uint32_t>(i), 1, 2, 3};
            texture->AddData(pixels, 2, 2);

            std::vector<float> vertices(3 * 6);
            for (std::size_t v = 0; v < vertices.size(); ++v)
                vertices[v] = static_cast<float>(i * 100 + static_cast<int>(v));
            const std::uint32_t indices[3] = {0, 1, 2};
            const int layer = i % 3 == 0 ? 0 : i % 3 == 1 ? 2 : -10;
            const std::uint32_t fvf = i % 2 == 0 ? (D3DFVF_XYZ | D3DFVF_NORMAL) : (D3DFVF_XYZ | D3DFVF_DIFFUSE);
            ICharacter* character = graphics.CreateCharacter();
            ASSERT_EQ(0, character->Create(3, layer, fvf, static_cast<std::uint32_t>(vertices.size() * 4),
                                           24, 3, vertices.data(), indices));
            character->SetMaterial(record);
            character->SetTextures(texture, 1);

            ILight* light = graphics.CreateLight();
            ASSERT_NE(nullptr, light);
            light->Enable(i % 2 == 0);

            IFont* font = graphics.CreateFont("Arial", 0, 10 + i, 400);
            font->AddText(("line " + std::to_string(i)).c_str(), 0xFFFFFFFF, 0, i * 10, 200, i * 10 + 10);
        }
    }

    void Cycle()
    {
        standin::ClearCalls();
        standin::LoseDevice();
        ASSERT_EQ(1, graphics.RenderFrame());
        standin::MakeDeviceResettable();
        ASSERT_EQ(0, graphics.RenderFrame());
        ASSERT_EQ(0, graphics.RenderFrame());
    }

    // Every character's rebuilt vertex and index bytes, in registry order.
    std::vector<std::vector<unsigned char>> BufferBytes()
    {
        std::vector<std::vector<unsigned char>> bytes;
        for (ICharacter* character : graphics.characters)
        {
            const CActor* actor = static_cast<CActor*>(character);
            bytes.push_back(standin::BufferBytes(actor->vertexBuffer));
            bytes.push_back(standin::BufferBytes(actor->indexBuffer));
        }
        return bytes;
    }
};

TEST_F(ResetSoak, CyclesLeaveTheDeviceObjectsHeapAndBuffersAsTheFirstDid)
{
    Populate();
    ASSERT_EQ(static_cast<std::size_t>(kObjectsPerKind), graphics.fonts.size());
    // Buffer bytes are recorded only while recording is on: on for the
    // first and the last cycle.
    standin::SetRecording(true);
    Cycle();
    standin::SetRecording(false);
    const std::map<std::string, int> firstObjects = LiveObjectKinds();
    const std::vector<std::vector<unsigned char>> firstBytes = BufferBytes();
    ASSERT_EQ(2u * kObjectsPerKind, firstBytes.size());
    EXPECT_EQ(3u * 6 * 4, firstBytes[0].size());

    const int cycles = SoakCycles();
    AllocationCounter allocations;
    for (int cycle = 1; cycle < cycles; ++cycle)
    {
        standin::SetRecording(cycle == cycles - 1);
        Cycle();
        if (HasFatalFailure())
            return;
    }
    std::printf("[ soaked   ] %d loss-and-reset cycles with %d objects of every kind\n", cycles,
                kObjectsPerKind);

    // The plug-in allocated nothing after the first cycle, so its heap has
    // not grown; the device holds what it held then.
    EXPECT_EQ(0u, allocations.OwnCount());
    EXPECT_EQ(firstObjects, LiveObjectKinds());
    EXPECT_EQ(firstBytes, BufferBytes());
    // One report per cycle: the frame that finds the device lost.
    EXPECT_EQ(static_cast<std::size_t>(cycles), logger.Errors().size());
}

}  // namespace
