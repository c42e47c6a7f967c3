#include "CCamera.h"

#include <cmath>

#include "Angles.h"
#include "ErrorReport.h"

namespace {

// The view every camera starts with: from one unit in front of the origin,
// looking at it, with +y up.
const D3DXVECTOR3 kInitialEye(0.0f, 0.0f, -1.0f);
const D3DXVECTOR3 kInitialAt(0.0f, 0.0f, 0.0f);
const D3DXVECTOR3 kInitialUp(0.0f, 1.0f, 0.0f);

// Brings an angle into [0, 360): the result of subtracting 360 while it is
// 360 or more, then adding 360 while it is below 0. Below 2^27 every such
// step is exact, so the float remainder gives the same value; unlike the
// steps it also ends for huge or infinite angles.
float WrapDegrees(float degrees)
{
    float wrapped = std::fmod(degrees, 360.0f);
    if (wrapped < 0.0f)
        wrapped += 360.0f;  // may round up to exactly 360, as the steps would
    return wrapped;
}

// The angle from the vertical is corrected by one turn at most, so 720
// stays 360 and -400 becomes -40.
float WrapOnce(float degrees)
{
    if (degrees >= 360.0f)
        return degrees - 360.0f;
    if (degrees < 0.0f)
        return degrees + 360.0f;
    return degrees;
}

// Sine and cosine of a float angle, computed in double and rounded once:
// as good as correctly rounded, so both builds, on glibc and on the Windows
// C runtime, get the same floats.
float Sine(float radians)
{
    return static_cast<float>(std::sin(static_cast<double>(radians)));
}

float Cosine(float radians)
{
    return static_cast<float>(std::cos(static_cast<double>(radians)));
}

}  // namespace

// eye, at and up start as the initial view, so the frames before the first
// SetPosition show the same view that Init set.
CCamera::CCamera(IDirect3DDevice9* device)
    : device(device),
      view(1.0f, 0.0f, 0.0f, 0.0f,
           0.0f, 1.0f, 0.0f, 0.0f,
           0.0f, 0.0f, 1.0f, 0.0f,
           0.0f, 0.0f, 0.0f, 1.0f),
      logger(nullptr),
      position(kInitialEye),
      target(kInitialAt),
      angles(0.0f, 90.0f, 0.0f),
      eye(kInitialEye),
      at(kInitialAt),
      up(kInitialUp)
{
}

int CCamera::Init(ILogger* logger)
{
    this->logger = logger;
    D3DXMatrixLookAtLH(&view, &kInitialEye, &kInitialAt, &kInitialUp);
    if (device == nullptr)
        return 1;
    if (D3D_FAILED(kLevelSevere, device->SetTransform(D3DTS_VIEW, &view)))
        return 1;
    return 0;
}

int CCamera::Release()
{
    device = nullptr;
    return 0;
}

void CCamera::Destroy()
{
    delete this;
}

int CCamera::SetPosition(float x, float y, float z)
{
    position = D3DXVECTOR3(x, y, z);
    SetRotation(angles.x, angles.y, angles.z);  // carries the target along
    eye = position;
    return 0;
}

// Every value kept along the way is a float, so the numbers match the
// host's own float arithmetic to the last bit.
int CCamera::SetRotation(float first, float second, float third)
{
    angles = D3DXVECTOR3(WrapDegrees(first), WrapOnce(second), WrapDegrees(third));

    const float around = DegreesToRadians(angles.x);
    const float fromVertical = DegreesToRadians(angles.y);
    const float cosAround = Cosine(around);
    const float sinAround = Sine(around);
    const float cosFromVertical = Cosine(fromVertical);
    const float sinFromVertical = Sine(fromVertical);
    const float offsetX = cosAround * sinFromVertical;
    const float offsetZ = sinAround * sinFromVertical;
    target = D3DXVECTOR3(position.x + offsetX, position.y + cosFromVertical, position.z + offsetZ);
    at = target;

    // Vertical, of length |sin fromVertical|: down while the direction
    // leans away from +y (0 to 180 degrees), up from 180 to 360.
    const float upAngle = angles.y + 90.0f;
    up = D3DXVECTOR3(0.0f, Cosine(DegreesToRadians(upAngle)), 0.0f);
    return 0;
}

int CCamera::Apply()
{
    D3DXMatrixLookAtLH(&view, &eye, &at, &up);
    // Released (by the host, too): there is no device to give the view to.
    if (device == nullptr)
        return 1;
    if (D3D_FAILED(kLevelError, device->SetTransform(D3DTS_VIEW, &view)))
        return 1;
    return 0;
}
