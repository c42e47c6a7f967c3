// The D3DX matrix functions, computed in single precision in the order of
// the reference D3DX, so that results match it bit for bit. Built with
// -ffp-contract=off: every product and sum is rounded on its own.

#include <cmath>

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
    const float sr = sinf(Roll);
    const float cr = cosf(Roll);
    const float sp = sinf(Pitch);
    const float cp = cosf(Pitch);
    const float sy = sinf(Yaw);
    const float cy = cosf(Yaw);
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
    pOut->m[0][0] = 1.0f / (Aspect * tanf(fovy / 2.0f));
    pOut->m[1][1] = 1.0f / tanf(fovy / 2.0f);
    pOut->m[2][2] = zf / (zf - zn);
    pOut->m[2][3] = 1.0f;
    pOut->m[3][2] = (zf * zn) / (zn - zf);
    pOut->m[3][3] = 0.0f;
    return pOut;
}
