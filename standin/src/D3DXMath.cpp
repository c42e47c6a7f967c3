// The D3DX matrix functions, computed in single precision in the order of
// the reference D3DX, so that results match it bit for bit. Built with
// -ffp-contract=off: every product and sum is rounded on its own.

#include <cmath>
#include <cstdint>
#include <cstring>

#include <d3dx9math.h>

#include "MathRecording.h"

using standin::MathArguments;
using standin::RecordMathCall;

namespace {

D3DXVECTOR3 Subtract(const D3DXVECTOR3& a, const D3DXVECTOR3& b)
{
    return D3DXVECTOR3(a.x - b.x, a.y - b.y, a.z - b.z);
}

D3DXVECTOR3 Cross(const D3DXVECTOR3& a, const D3DXVECTOR3& b)
{
    return D3DXVECTOR3(a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x);
}

float Dot(const D3DXVECTOR3& a, const D3DXVECTOR3& b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

// Wine's sinf and cosf come out as the sine and cosine computed in double
// precision and rounded once; glibc's single-precision ones are now and then
// an ulp away from that, so the stand-in rounds the double result itself.
float Sine(float angle)
{
    return static_cast<float>(std::sin(static_cast<double>(angle)));
}

float Cosine(float angle)
{
    return static_cast<float>(std::cos(static_cast<double>(angle)));
}

// Wine's tanf, which is not always the correctly rounded tangent: the
// algorithm of the musl C library that Wine's C runtime carries (MIT
// licence). The angle is brought within pi/4 of zero and the tangent, or
// minus its reciprocal, comes from an odd polynomial evaluated in double.
float TangentNearZero(double x, bool reciprocal)
{
    static const double kT[] = {
        0x15554d3418c99f.0p-54, 0x1112fd38999f72.0p-55, 0x1b54c91d865afe.0p-57,
        0x191df3908c33ce.0p-58, 0x185dadfcecf44e.0p-61, 0x1362b9bf971bcd.0p-59,
    };
    const double z = x * x;
    double r = kT[4] + z * kT[5];
    const double t = kT[2] + z * kT[3];
    const double w = z * z;
    const double s = z * x;
    const double u = kT[0] + z * kT[1];
    r = (x + s * u) + (s * w) * (t + w * r);
    return static_cast<float>(reciprocal ? -1.0 / r : r);
}

float Tangent(float angle)
{
    const double kHalfPi = 1.57079632679489661923;
    std::uint32_t bits;
    std::memcpy(&bits, &angle, sizeof bits);
    const bool negative = (bits >> 31) != 0;
    bits &= 0x7fffffffu;
    const double x = angle;
    if (bits < 0x39800000u)  // below 2^-12 the tangent rounds to the angle
        return angle;
    if (bits <= 0x3f490fdau)  // within pi/4
        return TangentNearZero(x, false);
    if (bits <= 0x4016cbe3u)  // within 3pi/4
        return TangentNearZero(negative ? x + kHalfPi : x - kHalfPi, true);
    // No projection has a field of view of more than 3pi/2; rounded from double.
    return static_cast<float>(std::tan(x));
}

// The vector divided by its length; the zero vector stays zero.
D3DXVECTOR3 Normalize(const D3DXVECTOR3& v)
{
    const float length = sqrtf(v.x * v.x + v.y * v.y + v.z * v.z);
    if (length == 0.0f)
        return D3DXVECTOR3(0.0f, 0.0f, 0.0f);
    return D3DXVECTOR3(v.x / length, v.y / length, v.z / length);
}

}  // namespace

extern "C" D3DXMATRIX* WINAPI D3DXMatrixTranslation(D3DXMATRIX* pOut, FLOAT x, FLOAT y, FLOAT z)
{
    const float arguments[] = {x, y, z};
    RecordMathCall("D3DXMatrixTranslation", MathArguments::Scalars, arguments, 3);
    D3DXMatrixIdentity(pOut);
    pOut->m[3][0] = x;
    pOut->m[3][1] = y;
    pOut->m[3][2] = z;
    return pOut;
}

extern "C" D3DXMATRIX* WINAPI D3DXMatrixScaling(D3DXMATRIX* pOut, FLOAT sx, FLOAT sy, FLOAT sz)
{
    const float arguments[] = {sx, sy, sz};
    RecordMathCall("D3DXMatrixScaling", MathArguments::Scalars, arguments, 3);
    D3DXMatrixIdentity(pOut);
    pOut->m[0][0] = sx;
    pOut->m[1][1] = sy;
    pOut->m[2][2] = sz;
    return pOut;
}

extern "C" D3DXMATRIX* WINAPI D3DXMatrixRotationYawPitchRoll(D3DXMATRIX* pOut, FLOAT Yaw, FLOAT Pitch, FLOAT Roll)
{
    const float arguments[] = {Yaw, Pitch, Roll};
    RecordMathCall("D3DXMatrixRotationYawPitchRoll", MathArguments::Scalars, arguments, 3);
    const float sr = Sine(Roll);
    const float cr = Cosine(Roll);
    const float sp = Sine(Pitch);
    const float cp = Cosine(Pitch);
    const float sy = Sine(Yaw);
    const float cy = Cosine(Yaw);
    pOut->m[0][0] = sr * sp * sy + cr * cy;
    pOut->m[0][1] = sr * cp;
    pOut->m[0][2] = sr * sp * cy - cr * sy;
    pOut->m[0][3] = 0.0f;
    pOut->m[1][0] = cr * sp * sy - sr * cy;
    pOut->m[1][1] = cr * cp;
    pOut->m[1][2] = cr * sp * cy + sr * sy;
    pOut->m[1][3] = 0.0f;
    pOut->m[2][0] = cp * sy;
    pOut->m[2][1] = -sp;
    pOut->m[2][2] = cp * cy;
    pOut->m[2][3] = 0.0f;
    pOut->m[3][0] = 0.0f;
    pOut->m[3][1] = 0.0f;
    pOut->m[3][2] = 0.0f;
    pOut->m[3][3] = 1.0f;
    return pOut;
}

extern "C" D3DXMATRIX* WINAPI D3DXMatrixMultiply(D3DXMATRIX* pOut, const D3DXMATRIX* pM1, const D3DXMATRIX* pM2)
{
    float arguments[32];
    for (int i = 0; i < 16; ++i)
    {
        arguments[i] = pM1->m[i / 4][i % 4];
        arguments[16 + i] = pM2->m[i / 4][i % 4];
    }
    RecordMathCall("D3DXMatrixMultiply", MathArguments::Matrices, arguments, 32);
    // Into a temporary first: pOut may be one of the inputs.
    D3DXMATRIX product;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            product.m[i][j] = pM1->m[i][0] * pM2->m[0][j] + pM1->m[i][1] * pM2->m[1][j] +
                              pM1->m[i][2] * pM2->m[2][j] + pM1->m[i][3] * pM2->m[3][j];
    *pOut = product;
    return pOut;
}

extern "C" D3DXMATRIX* WINAPI D3DXMatrixLookAtLH(D3DXMATRIX* pOut, const D3DXVECTOR3* pEye, const D3DXVECTOR3* pAt,
                                                 const D3DXVECTOR3* pUp)
{
    const float arguments[] = {pEye->x, pEye->y, pEye->z, pAt->x, pAt->y, pAt->z, pUp->x, pUp->y, pUp->z};
    RecordMathCall("D3DXMatrixLookAtLH", MathArguments::Vectors, arguments, 9);
    const D3DXVECTOR3 vec = Normalize(Subtract(*pAt, *pEye));
    const D3DXVECTOR3 right = Cross(*pUp, vec);
    const D3DXVECTOR3 up = Cross(vec, right);
    const D3DXVECTOR3 rightn = Normalize(right);
    const D3DXVECTOR3 upn = Normalize(up);
    pOut->m[0][0] = rightn.x;
    pOut->m[1][0] = rightn.y;
    pOut->m[2][0] = rightn.z;
    pOut->m[3][0] = -Dot(rightn, *pEye);
    pOut->m[0][1] = upn.x;
    pOut->m[1][1] = upn.y;
    pOut->m[2][1] = upn.z;
    pOut->m[3][1] = -Dot(upn, *pEye);
    pOut->m[0][2] = vec.x;
    pOut->m[1][2] = vec.y;
    pOut->m[2][2] = vec.z;
    pOut->m[3][2] = -Dot(vec, *pEye);
    pOut->m[0][3] = 0.0f;
    pOut->m[1][3] = 0.0f;
    pOut->m[2][3] = 0.0f;
    pOut->m[3][3] = 1.0f;
    return pOut;
}

extern "C" D3DXMATRIX* WINAPI D3DXMatrixPerspectiveFovLH(D3DXMATRIX* pOut, FLOAT fovy, FLOAT Aspect, FLOAT zn,
                                                         FLOAT zf)
{
    const float arguments[] = {fovy, Aspect, zn, zf};
    RecordMathCall("D3DXMatrixPerspectiveFovLH", MathArguments::Scalars, arguments, 4);
    D3DXMatrixIdentity(pOut);
    pOut->m[0][0] = 1.0f / (Aspect * Tangent(fovy / 2.0f));
    pOut->m[1][1] = 1.0f / Tangent(fovy / 2.0f);
    pOut->m[2][2] = zf / (zf - zn);
    pOut->m[2][3] = 1.0f;
    pOut->m[3][2] = (zf * zn) / (zn - zf);
    pOut->m[3][3] = 0.0f;
    return pOut;
}
