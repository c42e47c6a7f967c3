// A light's properties and its switch, and what a reset gives it again.

#include <gtest/gtest.h>

#include <standin/Recorder.h>

#include <utility>

#include "HostTest.h"

namespace {

// A light with every property distinct, so that one in the wrong field shows.
int SetNumbered(ILight& light, int type, float base)
{
    return light.SetProperties(type, base + 1, base + 2, base + 3, base + 4, base + 5, base + 6, base + 7, base + 8,
                               base + 9, base + 10, base + 11, base + 12, base + 13, base + 14, base + 15, base + 16,
                               base + 17, base + 18, base + 19, base + 20, base + 21, base + 22);
}

using Light = SystemTest;

// Each property reaches its own field at once; the light stays off. A type
// that is not point, spot or directional keeps the one before (none yet on a
// new light) and the other properties still go.
TEST_F(Light, PropertiesReachTheDeviceAndUnknownTypesKeepTheLastOne)
{
    ILight* light = graphics->CreateLight();
    for (const auto& row : {std::make_pair(0, 0.0f), {D3DLIGHT_SPOT, 100.0f}, {0, 200.0f}, {4, 300.0f}})
        ASSERT_EQ(SetNumbered(*light, row.first, row.second), 0);
    // In the order of D3DLIGHT9: type, diffuse, specular, ambient, position,
    // direction, range, falloff, attenuations, theta, phi.
    EXPECT_EQ(standin::CallTexts("SetLight"), Lines({
        "SetLight(0, {0, {13, 14, 15, 0}, {16, 17, 18, 0}, {10, 11, 12, 0}, {1, 2, 3}, {4, 5, 6}, "
        "19, 20, 7, 8, 9, 21, 22})",
        "SetLight(0, {2, {113, 114, 115, 0}, {116, 117, 118, 0}, {110, 111, 112, 0}, {101, 102, 103}, {104, 105, 106}, "
        "119, 120, 107, 108, 109, 121, 122})",
        "SetLight(0, {2, {213, 214, 215, 0}, {216, 217, 218, 0}, {210, 211, 212, 0}, {201, 202, 203}, {204, 205, 206}, "
        "219, 220, 207, 208, 209, 221, 222})",
        "SetLight(0, {2, {313, 314, 315, 0}, {316, 317, 318, 0}, {310, 311, 312, 0}, {301, 302, 303}, {304, 305, 306}, "
        "319, 320, 307, 308, 309, 321, 322})",
    }));
    EXPECT_FALSE(standin::LightEnabled(0));
}

// A reset switches the light as last enabled, off if never, and sends no
// properties: they reach the device with the next SetProperties. A refused
// Enable is still remembered for the reset.
TEST_F(Light, AResetSwitchesTheLightAsLastEnabledAndSendsNothingElse)
{
    ILight* light = graphics->CreateLight();
    ASSERT_EQ(SetNumbered(*light, D3DLIGHT_POINT, 0), 0);
    Forget();
    ASSERT_EQ(LoseAndReset(), 0);
    ASSERT_EQ(light->Enable(true), 0);
    ASSERT_EQ(LoseAndReset(), 0);
    EXPECT_TRUE(standin::LightEnabled(0));
    ASSERT_EQ(light->Enable(false), 0);
    ASSERT_EQ(LoseAndReset(), 0);
    standin::FailNext("LightEnable", D3DERR_INVALIDCALL);
    EXPECT_EQ(light->Enable(true), 1);
    ASSERT_EQ(LoseAndReset(), 0);
    EXPECT_EQ(CallsStartingWith({"LightEnable", "SetLight"}), Lines({
        "LightEnable(0, 0)",
        "LightEnable(0, 1)",
        "LightEnable(0, 1)",
        "LightEnable(0, 0)",
        "LightEnable(0, 0)",
        "LightEnable(0, 1)",
        "LightEnable(0, 1)",
    }));
}

}  // namespace
