#ifndef STANDIN_D3DX9MATH_H
#define STANDIN_D3DX9MATH_H

// D3DX vectors and matrices: row vectors, left-handed, single precision.

#include <d3dx9.h>

// A three-component vector.
typedef struct D3DXVECTOR3 : public D3DVECTOR
{
    // Leaves the components unset, as the SDK does.
    D3DXVECTOR3() {}
    D3DXVECTOR3(FLOAT fx, FLOAT fy, FLOAT fz) { x = fx; y = fy; z = fz; }
} D3DXVECTOR3;

// A 4 x 4 matrix.
typedef struct D3DXMATRIX : public D3DMATRIX
{
    // Leaves the elements unset, as the SDK does.
    D3DXMATRIX() {}
    D3DXMATRIX(FLOAT f11, FLOAT f12, FLOAT f13, FLOAT f14,
               FLOAT f21, FLOAT f22, FLOAT f23, FLOAT f24,
               FLOAT f31, FLOAT f32, FLOAT f33, FLOAT f34,
               FLOAT f41, FLOAT f42, FLOAT f43, FLOAT f44)
    {
        _11 = f11; _12 = f12; _13 = f13; _14 = f14;
        _21 = f21; _22 = f22; _23 = f23; _24 = f24;
        _31 = f31; _32 = f32; _33 = f33; _34 = f34;
        _41 = f41; _42 = f42; _43 = f43; _44 = f44;
    }
} D3DXMATRIX;

// The identity matrix; computed in place, as the SDK's inline function.
inline D3DXMATRIX* D3DXMatrixIdentity(D3DXMATRIX* pOut)
{
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            pOut->m[i][j] = i == j ? 1.0f : 0.0f;
    return pOut;
}

extern "C" {
// The product pM1 x pM2; pOut may be either of them.
D3DXMATRIX* WINAPI D3DXMatrixMultiply(D3DXMATRIX* pOut, const D3DXMATRIX* pM1, const D3DXMATRIX* pM2);
// The translation by (x, y, z).
D3DXMATRIX* WINAPI D3DXMatrixTranslation(D3DXMATRIX* pOut, FLOAT x, FLOAT y, FLOAT z);
// The scaling by (sx, sy, sz).
D3DXMATRIX* WINAPI D3DXMatrixScaling(D3DXMATRIX* pOut, FLOAT sx, FLOAT sy, FLOAT sz);
// Roll around z, then pitch around x, then yaw around y; radians.
D3DXMATRIX* WINAPI D3DXMatrixRotationYawPitchRoll(D3DXMATRIX* pOut, FLOAT Yaw, FLOAT Pitch, FLOAT Roll);
// The left-handed view from pEye towards pAt with pUp as up.
D3DXMATRIX* WINAPI D3DXMatrixLookAtLH(D3DXMATRIX* pOut, const D3DXVECTOR3* pEye, const D3DXVECTOR3* pAt,
                                      const D3DXVECTOR3* pUp);
// The left-handed perspective projection with a vertical field of view in radians.
D3DXMATRIX* WINAPI D3DXMatrixPerspectiveFovLH(D3DXMATRIX* pOut, FLOAT fovy, FLOAT Aspect, FLOAT zn, FLOAT zf);
}

#endif
