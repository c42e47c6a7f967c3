// The D3DX matrix functions of the stand-in where the bit-for-bit comparison
// with Wine's (tools/matrix_bits.cpp) does not reach: a product written over
// one of its operands, and the identity, which is inline and not recorded.

#include <gtest/gtest.h>

#include <standin/Recorder.h>

#include <cstring>

namespace {

TEST(StandinMath, AProductMayBeWrittenOverEitherOperand)
{
    D3DXMATRIX left, right, product;
    D3DXMatrixRotationYawPitchRoll(&left, 0.5f, 0.25f, 0.125f);
    D3DXMatrixTranslation(&right, 1.0f, 2.0f, 3.0f);
    D3DXMatrixMultiply(&product, &left, &right);
    D3DXMATRIX overLeft = left, overRight = right;
    EXPECT_EQ(D3DXMatrixMultiply(&overLeft, &overLeft, &right), &overLeft);
    EXPECT_EQ(D3DXMatrixMultiply(&overRight, &left, &overRight), &overRight);
    EXPECT_EQ(std::memcmp(&overLeft, &product, sizeof product), 0);
    EXPECT_EQ(std::memcmp(&overRight, &product, sizeof product), 0);
}

TEST(StandinMath, TheIdentityIsInlineAndNotRecorded)
{
    standin::Reset();
    D3DXMATRIX m, identity(1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1);
    D3DXMatrixTranslation(&m, 1.5f, -2.0f, 3.0f);
    EXPECT_EQ(std::memcmp(D3DXMatrixIdentity(&m), &identity, sizeof m), 0);
    EXPECT_EQ(standin::CallTexts(), std::vector<std::string>({"D3DXMatrixTranslation(1.5, -2, 3)"}));
}

}  // namespace
