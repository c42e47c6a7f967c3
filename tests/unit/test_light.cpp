#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <standin/Recorder.h>

#include <cstring>

#include "CLight.h"
#include "DeviceTest.h"

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::MatchesRegex;

class LightTest : public DeviceTest
{
protected:
    void SetUp() override
    {
        DeviceTest::SetUp();
        light->device = device;
        ASSERT_EQ(light->Init(&logger, 5), 0);
        standin::ClearCalls();
    }

    void TearDown() override
    {
        light->Release();
        light->Destroy();
        DeviceTest::TearDown();
    }

    // Every value distinct, so one in the wrong field shows.
    int SetNumbered(int type, float base)
    {
        return light->SetProperties(type, base + 1, base + 2, base + 3, base + 4, base + 5, base + 6,
                                    base + 7, base + 8, base + 9, base + 10, base + 11, base + 12, base + 13,
                                    base + 14, base + 15, base + 16, base + 17, base + 18, base + 19,
                                    base + 20, base + 21, base + 22);
    }

    CLight* light = new CLight();
};

D3DLIGHT9 NumberedLight(D3DLIGHTTYPE type, float base, float alpha)
{
    D3DLIGHT9 light = {};
    light.Type = type;
    light.Position = {base + 1, base + 2, base + 3};
    light.Direction = {base + 4, base + 5, base + 6};
    light.Attenuation0 = base + 7;
    light.Attenuation1 = base + 8;
    light.Attenuation2 = base + 9;
    light.Ambient = {base + 10, base + 11, base + 12, alpha};
    light.Diffuse = {base + 13, base + 14, base + 15, alpha};
    light.Specular = {base + 16, base + 17, base + 18, alpha};
    light.Range = base + 19;
    light.Falloff = base + 20;
    light.Theta = base + 21;
    light.Phi = base + 22;
    return light;
}

bool SameLight(const D3DLIGHT9& a, const D3DLIGHT9& b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

TEST_F(LightTest, PropertiesReachItsIndexWithUntouchedAlphasAndLeaveItOff)
{
    ASSERT_EQ(SetNumbered(D3DLIGHT_SPOT, 0), 0);
    EXPECT_TRUE(SameLight(standin::Light(5), NumberedLight(D3DLIGHT_SPOT, 0, 0)));
    EXPECT_FALSE(standin::LightEnabled(5));

    light->light.Ambient.a = light->light.Diffuse.a = light->light.Specular.a = 0.5f;
    ASSERT_EQ(SetNumbered(D3DLIGHT_POINT, 0), 0);
    EXPECT_TRUE(SameLight(standin::Light(5), NumberedLight(D3DLIGHT_POINT, 0, 0.5f)));
    EXPECT_THAT(standin::DeviceCallTexts(), ElementsAre(::testing::StartsWith("SetLight(5, "),
                                                        ::testing::StartsWith("SetLight(5, ")));
}

TEST_F(LightTest, OtherTypesKeepThePreviousTypeAndStillSendTheRest)
{
    ASSERT_EQ(SetNumbered(0, 0), 0);  // a new light has no valid type yet
    EXPECT_EQ(standin::Light(5).Type, 0);
    ASSERT_EQ(SetNumbered(D3DLIGHT_DIRECTIONAL, 0), 0);
    for (int type : {0, 4})
    {
        ASSERT_EQ(SetNumbered(type, 100), 0);
        EXPECT_TRUE(SameLight(standin::Light(5), NumberedLight(D3DLIGHT_DIRECTIONAL, 100, 0))) << type;
    }
    EXPECT_EQ(standin::CountCalls("SetLight"), 4);
}

TEST_F(LightTest, ResetSwitchesTheLightAsLastEnabledAndSendsNothingElse)
{
    ASSERT_EQ(SetNumbered(D3DLIGHT_POINT, 0), 0);
    standin::ClearCalls();
    ASSERT_EQ(light->OnResetDevice(), 0);  // never enabled: off
    ASSERT_EQ(light->Enable(true), 0);
    ASSERT_EQ(light->OnResetDevice(), 0);
    EXPECT_TRUE(standin::LightEnabled(5));
    ASSERT_EQ(light->Enable(false), 0);
    ASSERT_EQ(light->OnResetDevice(), 0);
    EXPECT_THAT(standin::DeviceCallTexts(),
                ElementsAre("LightEnable(5, 0)", "LightEnable(5, 1)", "LightEnable(5, 1)",
                            "LightEnable(5, 0)", "LightEnable(5, 0)"));
}

TEST_F(LightTest, FailuresAreReportedAtTheirLevelsAndKeepTheNewValues)
{
    standin::FailCall("SetLight", 1, D3DERR_INVALIDCALL);
    EXPECT_EQ(SetNumbered(D3DLIGHT_SPOT, 0), 1);
    EXPECT_TRUE(SameLight(light->light, NumberedLight(D3DLIGHT_SPOT, 0, 0)));
    standin::FailFrom("LightEnable", 1, D3DERR_INVALIDCALL);
    EXPECT_EQ(light->Enable(true), 1);
    EXPECT_TRUE(light->enabled);
    EXPECT_EQ(light->OnResetDevice(), 1);
    EXPECT_THAT(logger.lines,
                ElementsAre(MatchesRegex("2: ERROR : D3DERR_INVALIDCALL : [0-9]+ : extra/CLight\\.cpp"),
                            MatchesRegex("3: ERROR : D3DERR_INVALIDCALL : [0-9]+ : extra/CLight\\.cpp"),
                            MatchesRegex("3: ERROR : D3DERR_INVALIDCALL : [0-9]+ : extra/CLight\\.cpp")));
}

}  // namespace
