#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <standin/Recorder.h>

#include "CCamera.h"
#include "DeviceTest.h"

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::MatchesRegex;

class CameraTest : public DeviceTest
{
protected:
    void SetUp() override
    {
        DeviceTest::SetUp();
        camera->device = device;
    }

    void TearDown() override
    {
        camera->Release();
        camera->Destroy();
        DeviceTest::TearDown();
    }

    CCamera* camera = new CCamera();
};

// Exact: the camera's numbers must match to the last bit.
void ExpectVector(const D3DXVECTOR3& actual, float x, float y, float z)
{
    EXPECT_EQ(actual.x, x);
    EXPECT_EQ(actual.y, y);
    EXPECT_EQ(actual.z, z);
}

TEST_F(CameraTest, ShowsTheInitialViewUntilMovedAndTurnsOnlyAtApply)
{
    ASSERT_EQ(camera->Init(&logger), 0);
    ASSERT_EQ(camera->Apply(), 0);
    // From (0, 0, -1) towards the origin: the world moves one unit away.
    const D3DXMATRIX initial(1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 1, 1);
    const D3DXMATRIX view(standin::Transform(D3DTS_VIEW));
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(view[i], initial[i], 1e-6f) << i;
    EXPECT_EQ(standin::CountCalls("SetTransform"), 2);

    camera->SetPosition(0, 0, 0);
    camera->SetRotation(0, 90, 0);
    EXPECT_EQ(standin::CountCalls("SetTransform"), 2);
    ASSERT_EQ(camera->Apply(), 0);
    // Looking along +x with the up direction pointing down.
    const D3DMATRIX turned = standin::Transform(D3DTS_VIEW);
    EXPECT_NEAR(turned._13, 1.0f, 1e-6f);
    EXPECT_NEAR(turned._22, -1.0f, 1e-6f);
    EXPECT_THAT(logger.lines, IsEmpty());
}

TEST_F(CameraTest, FailingViewIsReportedAtLevelThreeInInitAndTwoInApply)
{
    standin::FailFrom("SetTransform", 1, D3DERR_INVALIDCALL);
    EXPECT_EQ(camera->Init(&logger), 1);
    EXPECT_EQ(camera->Apply(), 1);
    EXPECT_THAT(logger.lines,
                ElementsAre(MatchesRegex("3: ERROR : D3DERR_INVALIDCALL : [0-9]+ : extra/CCamera\\.cpp"),
                            MatchesRegex("2: ERROR : D3DERR_INVALIDCALL : [0-9]+ : extra/CCamera\\.cpp")));
}

TEST_F(CameraTest, SecondAngleGivesTheTargetAndAVerticalUpOfLengthSinSecond)
{
    struct { float second; D3DXVECTOR3 at, up; } const directions[] = {
        {90, {1, -4.371139e-8f, 0}, {0, -1, 0}},  // along +x, up pointing down
        // 1.192488e-8 to seven digits; 1.1924881e-8 is the float nearest to
        // the cosine of 270 degrees in float radians.
        {270, {-1, 1.1924881e-8f, 0}, {0, 1, 0}},
        {0, {0, 1, 0}, {0, -4.371139e-8f, 0}},  // straight up, up almost zero
    };
    camera->SetPosition(0, 0, 0);
    for (const auto& direction : directions)
    {
        SCOPED_TRACE(direction.second);
        camera->SetRotation(0, direction.second, 0);
        ExpectVector(camera->at, direction.at.x, direction.at.y, direction.at.z);
        ExpectVector(camera->up, direction.up.x, direction.up.y, direction.up.z);
        ExpectVector(camera->eye, 0, 0, 0);
    }
}

TEST_F(CameraTest, FirstAndThirdAnglesWrapFullyTheSecondByOneTurnOnly)
{
    camera->SetRotation(720, 720, 720);
    ExpectVector(camera->angles, 0, 360, 0);
    camera->SetRotation(-30, -30, -30);
    ExpectVector(camera->angles, 330, 330, 330);
    camera->SetRotation(-400, -400, 1000);
    ExpectVector(camera->angles, 320, -40, 280);
    camera->SetRotation(-1e-6f, 0, 1e30f);  // -1e-6 + 360 rounds to 360 itself
    EXPECT_EQ(camera->angles.x, 360.0f);
    EXPECT_TRUE(camera->angles.z >= 0 && camera->angles.z < 360);
}

TEST_F(CameraTest, MovingKeepsTheDirectionAndTheThirdAngleTurnsNothing)
{
    camera->SetRotation(0, 90, 0);  // before any move: around the start (0, 0, -1)
    ExpectVector(camera->at, 1, -4.371139e-8f, -1);
    ExpectVector(camera->eye, 0, 0, -1);

    camera->SetPosition(0, 0, 0);
    camera->SetRotation(45, 60, 0);
    const D3DXVECTOR3 at = camera->at, up = camera->up;
    camera->SetRotation(45, 60, 30);
    ExpectVector(camera->at, at.x, at.y, at.z);
    ExpectVector(camera->up, up.x, up.y, up.z);
    camera->SetPosition(10, 0, 0);
    ExpectVector(camera->eye, 10, 0, 0);
    ExpectVector(camera->at, 10 + at.x, at.y, at.z);
}

}  // namespace
