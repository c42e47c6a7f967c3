// Resets and frames that do not grow: loss-and-reset cycles, each followed by
// a steady frame, with 50 objects of every kind leave the same live device
// objects and plug-in heap cycle after cycle.
// The test command runs 5 cycles; GRAPHICSDLL_SOAK_CYCLES sets another count
// (2 at least), such as the full soak of 1,000 (seconds under the sanitizers):
//   GRAPHICSDLL_SOAK_CYCLES=1000 build/linux/tests/unit_tests --gtest_filter='ResetSoak.*'

#include <standin/Recorder.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

#include "AllocationCounter.h"
#include "HostTest.h"

namespace {

const int kObjectsPerKind = 50;

int SoakCycles()
{
    const char* cycles = std::getenv("GRAPHICSDLL_SOAK_CYCLES");
    return cycles != nullptr ? std::max(2, std::atoi(cycles)) : 5;
}

// Live device objects by kind and reference count: "Texture (1 reference)" x 50.
std::map<std::string, int> LiveObjectKinds()
{
    std::map<std::string, int> kinds;
    for (const std::string& object : standin::LiveObjects())
        ++kinds[object.substr(0, object.find('#')) + object.substr(object.find(' '))];
    return kinds;
}

using ResetSoak = HostTest;

TEST_F(ResetSoak, CyclesLeaveTheDeviceObjectsAndHeapAsTheyWere)
{
    standin::Adapter().maxActiveLights = kObjectsPerKind;
    ASSERT_EQ(Create(), 0);
    standin::SetRecording(false);  // calls are not checked: only what stays alive
    // Characters in two formats on layers 0, 2 and the overlay, with records
    // and textures; file and filled blank textures; lights; fonts with text.
    for (int i = 0; i < kObjectsPerKind; ++i)
    {
        const std::string name = "texture" + std::to_string(i) + ".bmp";
        ITexture* texture = graphics->CreateTexture(i % 2 == 0 ? name.c_str() : nullptr, 0);
        const std::uint32_t pixels[4] = {0xFF000000u + static_cast<std::uint32_t>(i), 1, 2, 3};
        texture->AddData(pixels, 2, 2);
        const std::uint32_t fvf = i % 2 == 0 ? D3DFVF_XYZ | D3DFVF_NORMAL : kXyzDiffuse;
        AddCharacter(i % 3 == 0 ? 0 : i % 3 == 1 ? 2 : -10, fvf, graphics->CreateMaterial())->SetTextures(texture, 1);
        ILight* light = graphics->CreateLight();
        ASSERT_NE(light, nullptr);
        light->Enable(i % 2 == 0);
        graphics->CreateFont("Arial", 0, 10 + i, 400)->AddText(name.c_str(), 0xFFFFFFFF, 0, i * 10, 200, i * 10 + 10);
    }

    // The first reset drops the blank textures' pixels for good (only the
    // host could give them again): the cycles after it are all alike.
    ASSERT_EQ(LoseAndReset(), 0);
    const std::map<std::string, int> objects = LiveObjectKinds();
    const int cycles = SoakCycles();
    AllocationCounter allocations;
    for (int i = 1; i < cycles && !HasFatalFailure(); ++i)
    {
        ASSERT_EQ(LoseAndReset(), 0);
        ASSERT_EQ(graphics->RenderFrame(), 0);
    }
    std::printf("[ soaked   ] %d loss-and-reset cycles with %d objects of every kind\n", cycles, kObjectsPerKind);

    // The plug-in allocated nothing after the first cycle, in resets and
    // frames alike, so its heap has not grown; the device holds what it held
    // then.
    EXPECT_EQ(allocations.OwnCount(), 0u);
    EXPECT_EQ(LiveObjectKinds(), objects);
    EXPECT_THAT(logger.Errors(), ::testing::IsEmpty());
}

}  // namespace
