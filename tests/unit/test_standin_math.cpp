// The D3DX matrix functions of the stand-in against values worked out by
// hand: row vectors, left-handed, single precision.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <standin/Recorder.h>

namespace {

using ::testing::ElementsAre;

void ExpectRow(const D3DXMATRIX& m, int row, float a, float b, float c, float d)
{
    SCOPED_TRACE(row);
    EXPECT_EQ(m(row, 0), a);
    EXPECT_EQ(m(row, 1), b);
    EXPECT_EQ(m(row, 2), c);
    EXPECT_EQ(m(row, 3), d);
}

class StandinMathTest : public ::testing::Test
{
protected:
    void SetUp() override { standin::Reset(); }
};

TEST_F(StandinMathTest, TranslationAndScalingBuildOnTheIdentity)
{
    D3DXMATRIX m(2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2);
    D3DXMatrixTranslation(&m, 1.5f, -2.0f, 3.0f);
    ExpectRow(m, 0, 1, 0, 0, 0);
    ExpectRow(m, 1, 0, 1, 0, 0);
    ExpectRow(m, 2, 0, 0, 1, 0);
    ExpectRow(m, 3, 1.5f, -2.0f, 3.0f, 1);

    D3DXMatrixScaling(&m, 2.0f, 3.0f, 4.0f);
    ExpectRow(m, 0, 2, 0, 0, 0);
    ExpectRow(m, 1, 0, 3, 0, 0);
    ExpectRow(m, 2, 0, 0, 4, 0);
    ExpectRow(m, 3, 0, 0, 0, 1);
}

TEST_F(StandinMathTest, MultiplyTakesTheLeftOperandFirstAndMayWriteOverAnOperand)
{
    D3DXMATRIX translation, scaling, identity, product;
    D3DXMatrixTranslation(&translation, 1.0f, 2.0f, 3.0f);
    D3DXMatrixScaling(&scaling, 2.0f, 2.0f, 2.0f);
    D3DXMatrixIdentity(&identity);

    // Translated, then scaled: the scale applies to the translation too.
    D3DXMatrixMultiply(&product, &translation, &scaling);
    ExpectRow(product, 3, 2.0f, 4.0f, 6.0f, 1.0f);
    D3DXMatrixMultiply(&product, &scaling, &translation);
    ExpectRow(product, 3, 1.0f, 2.0f, 3.0f, 1.0f);

    D3DXMatrixMultiply(&product, &translation, &identity);
    EXPECT_TRUE(product == translation);

    D3DXMatrixMultiply(&translation, &translation, &scaling);
    ExpectRow(translation, 0, 2, 0, 0, 0);
    ExpectRow(translation, 3, 2.0f, 4.0f, 6.0f, 1.0f);
}

TEST_F(StandinMathTest, YawOfNinetyDegreesTurnsXOntoMinusZ)
{
    // cosf(1.5707964f) is not zero but -4.3711388e-8.
    const float c = -4.37113883e-08f;
    D3DXMATRIX m;
    D3DXMatrixRotationYawPitchRoll(&m, 1.5707964f, 0.0f, 0.0f);
    ExpectRow(m, 0, c, 0, -1, 0);
    ExpectRow(m, 1, 0, 1, 0, 0);
    ExpectRow(m, 2, 1, 0, c, 0);
    ExpectRow(m, 3, 0, 0, 0, 1);
}

TEST_F(StandinMathTest, PitchAndRollOfNinetyDegrees)
{
    const float c = -4.37113883e-08f;
    D3DXMATRIX m;
    D3DXMatrixRotationYawPitchRoll(&m, 0.0f, 1.5707964f, 0.0f);
    ExpectRow(m, 1, 0, c, 1, 0);
    ExpectRow(m, 2, 0, -1, c, 0);
    D3DXMatrixRotationYawPitchRoll(&m, 0.0f, 0.0f, 1.5707964f);
    ExpectRow(m, 0, c, 1, 0, 0);
    ExpectRow(m, 1, -1, c, 0, 0);
}

TEST_F(StandinMathTest, LookAtLooksAlongPlusXWithALongUpVector)
{
    // From (3, 4, 5) towards +x: right is -z, up is +y, each normalized.
    const D3DXVECTOR3 eye(3.0f, 4.0f, 5.0f);
    const D3DXVECTOR3 at(4.0f, 4.0f, 5.0f);
    const D3DXVECTOR3 up(0.0f, 2.0f, 0.0f);
    D3DXMATRIX m;
    D3DXMatrixLookAtLH(&m, &eye, &at, &up);
    ExpectRow(m, 0, 0, 0, 1, 0);
    ExpectRow(m, 1, 0, 1, 0, 0);
    ExpectRow(m, 2, -1, 0, 0, 0);
    ExpectRow(m, 3, 5, -4, -3, 1);
}

TEST_F(StandinMathTest, LookAtFromBehindTheOriginIsTheUnitViewMovedOneUnit)
{
    const D3DXVECTOR3 eye(0.0f, 0.0f, -1.0f);
    const D3DXVECTOR3 at(0.0f, 0.0f, 0.0f);
    const D3DXVECTOR3 up(0.0f, 1.0f, 0.0f);
    D3DXMATRIX m;
    D3DXMatrixLookAtLH(&m, &eye, &at, &up);
    ExpectRow(m, 0, 1, 0, 0, 0);
    ExpectRow(m, 1, 0, 1, 0, 0);
    ExpectRow(m, 2, 0, 0, 1, 0);
    ExpectRow(m, 3, 0, 0, 1, 1);
}

TEST_F(StandinMathTest, PerspectiveOfAQuarterTurnAtFourToThree)
{
    D3DXMATRIX m;
    D3DXMatrixPerspectiveFovLH(&m, 0.78539819f, 1.3333334f, 1.0f, 1000.0f);
    // 1 / tan(pi / 8) and that over the aspect, to libm's last bit or so.
    EXPECT_FLOAT_EQ(m(0, 0), 1.81066012f);
    EXPECT_FLOAT_EQ(m(1, 1), 2.41421342f);
    EXPECT_EQ(m(0, 1), 0.0f);
    EXPECT_EQ(m(1, 0), 0.0f);
    ExpectRow(m, 2, 0, 0, 1000.0f / 999.0f, 1);
    ExpectRow(m, 3, 0, 0, -1000.0f / 999.0f, 0);
}

TEST_F(StandinMathTest, MatrixFunctionsAreRecordedWithTheirInputs)
{
    D3DXMATRIX m;
    D3DXMatrixRotationYawPitchRoll(&m, 1.5707964f, 0.0f, -0.5f);
    const D3DXVECTOR3 eye(0.0f, 0.0f, -1.0f), at(0.0f, 0.0f, 0.0f), up(0.0f, 1.0f, 0.0f);
    D3DXMatrixLookAtLH(&m, &eye, &at, &up);
    D3DXMatrixIdentity(&m);  // inline, as in the SDK: not a call into D3DX

    EXPECT_THAT(standin::CallTexts(), ElementsAre("D3DXMatrixRotationYawPitchRoll(1.5707964, 0, -0.5)",
                                                  "D3DXMatrixLookAtLH({0, 0, -1}, {0, 0, 0}, {0, 1, 0})"));
    EXPECT_THAT(standin::DeviceCallTexts(), ElementsAre());
}

}  // namespace
