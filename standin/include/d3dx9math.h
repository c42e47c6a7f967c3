#ifndef STANDIN_D3DX9MATH_H
#define STANDIN_D3DX9MATH_H

// D3DX vectors and matrices: row vectors, left-handed, single precision.

#include <d3dx9.h>

#define D3DX_PI ((FLOAT)3.141592654f)
#define D3DX_1BYPI ((FLOAT)0.318309886f)
#define D3DXToRadian(degree) ((degree) * (D3DX_PI / 180.0f))
#define D3DXToDegree(radian) ((radian) * (180.0f / D3DX_PI))

// A three-component vector with arithmetic.
typedef struct D3DXVECTOR3 : public D3DVECTOR
{
    // Leaves the components unset, as the SDK does.
    D3DXVECTOR3() {}
    D3DXVECTOR3(const FLOAT* pf) { x = pf[0]; y = pf[1]; z = pf[2]; }
    D3DXVECTOR3(const D3DVECTOR& v) { x = v.x; y = v.y; z = v.z; }
    D3DXVECTOR3(FLOAT fx, FLOAT fy, FLOAT fz) { x = fx; y = fy; z = fz; }

    operator FLOAT*() { return &x; }
    operator const FLOAT*() const { return &x; }

    D3DXVECTOR3& operator+=(const D3DXVECTOR3& v) { x += v.x; y += v.y; z += v.z; return *this; }
    D3DXVECTOR3& operator-=(const D3DXVECTOR3& v) { x -= v.x; y -= v.y; z -= v.z; return *this; }
    D3DXVECTOR3& operator*=(FLOAT f) { x *= f; y *= f; z *= f; return *this; }
    D3DXVECTOR3& operator/=(FLOAT f) { x /= f; y /= f; z /= f; return *this; }

    D3DXVECTOR3 operator+() const { return *this; }
    D3DXVECTOR3 operator-() const { return D3DXVECTOR3(-x, -y, -z); }

    D3DXVECTOR3 operator+(const D3DXVECTOR3& v) const { return D3DXVECTOR3(x + v.x, y + v.y, z + v.z); }
    D3DXVECTOR3 operator-(const D3DXVECTOR3& v) const { return D3DXVECTOR3(x - v.x, y - v.y, z - v.z); }
    D3DXVECTOR3 operator*(FLOAT f) const { return D3DXVECTOR3(x * f, y * f, z * f); }
    D3DXVECTOR3 operator/(FLOAT f) const { return D3DXVECTOR3(x / f, y / f, z / f); }

    friend D3DXVECTOR3 operator*(FLOAT f, const D3DXVECTOR3& v) { return D3DXVECTOR3(f * v.x, f * v.y, f * v.z); }

    BOOL operator==(const D3DXVECTOR3& v) const { return x == v.x && y == v.y && z == v.z; }
    BOOL operator!=(const D3DXVECTOR3& v) const { return x != v.x || y != v.y || z != v.z; }
} D3DXVECTOR3, *LPD3DXVECTOR3;

struct D3DXMATRIX;
extern "C" D3DXMATRIX* WINAPI D3DXMatrixMultiply(D3DXMATRIX* pOut, const D3DXMATRIX* pM1, const D3DXMATRIX* pM2);

// A 4 x 4 matrix with arithmetic; products go through D3DXMatrixMultiply.
typedef struct D3DXMATRIX : public D3DMATRIX
{
    // Leaves the elements unset, as the SDK does.
    D3DXMATRIX() {}
    D3DXMATRIX(const FLOAT* pf) { std::memcpy(m, pf, sizeof(m)); }
    D3DXMATRIX(const D3DMATRIX& mat) { std::memcpy(m, mat.m, sizeof(m)); }
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

    FLOAT& operator()(UINT row, UINT col) { return m[row][col]; }
    FLOAT operator()(UINT row, UINT col) const { return m[row][col]; }

    operator FLOAT*() { return &_11; }
    operator const FLOAT*() const { return &_11; }

    D3DXMATRIX& operator*=(const D3DXMATRIX& mat) { D3DXMatrixMultiply(this, this, &mat); return *this; }
    D3DXMATRIX& operator+=(const D3DXMATRIX& mat)
    {
        for (int i = 0; i < 4; ++i)
            for (int j = 0; j < 4; ++j)
                m[i][j] += mat.m[i][j];
        return *this;
    }
    D3DXMATRIX& operator-=(const D3DXMATRIX& mat)
    {
        for (int i = 0; i < 4; ++i)
            for (int j = 0; j < 4; ++j)
                m[i][j] -= mat.m[i][j];
        return *this;
    }
    D3DXMATRIX& operator*=(FLOAT f)
    {
        for (int i = 0; i < 4; ++i)
            for (int j = 0; j < 4; ++j)
                m[i][j] *= f;
        return *this;
    }
    D3DXMATRIX& operator/=(FLOAT f)
    {
        const FLOAT inverse = 1.0f / f;
        return *this *= inverse;
    }

    D3DXMATRIX operator+() const { return *this; }
    D3DXMATRIX operator-() const { D3DXMATRIX r(*this); return r *= -1.0f; }

    D3DXMATRIX operator*(const D3DXMATRIX& mat) const { D3DXMATRIX r; D3DXMatrixMultiply(&r, this, &mat); return r; }
    D3DXMATRIX operator+(const D3DXMATRIX& mat) const { D3DXMATRIX r(*this); return r += mat; }
    D3DXMATRIX operator-(const D3DXMATRIX& mat) const { D3DXMATRIX r(*this); return r -= mat; }
    D3DXMATRIX operator*(FLOAT f) const { D3DXMATRIX r(*this); return r *= f; }
    D3DXMATRIX operator/(FLOAT f) const { D3DXMATRIX r(*this); return r /= f; }

    friend D3DXMATRIX operator*(FLOAT f, const D3DXMATRIX& mat) { return mat * f; }

    // Bitwise comparison, as the SDK's.
    BOOL operator==(const D3DXMATRIX& mat) const { return std::memcmp(m, mat.m, sizeof(m)) == 0; }
    BOOL operator!=(const D3DXMATRIX& mat) const { return std::memcmp(m, mat.m, sizeof(m)) != 0; }
} D3DXMATRIX, *LPD3DXMATRIX;

// The identity matrix; computed in place, as the SDK's inline function.
inline D3DXMATRIX* D3DXMatrixIdentity(D3DXMATRIX* pOut)
{
    if (pOut == nullptr)
        return nullptr;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            pOut->m[i][j] = i == j ? 1.0f : 0.0f;
    return pOut;
}

// Whether a matrix is exactly the identity.
inline BOOL D3DXMatrixIsIdentity(const D3DXMATRIX* pM)
{
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            if (pM->m[i][j] != (i == j ? 1.0f : 0.0f))
                return FALSE;
    return TRUE;
}

extern "C" {
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
