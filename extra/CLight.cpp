#include "CLight.h"

#include "ErrorReport.h"

namespace {

bool IsLightType(int type)
{
    return type == D3DLIGHT_POINT || type == D3DLIGHT_SPOT || type == D3DLIGHT_DIRECTIONAL;
}

// Writes red, green and blue only: the host gives no alpha, and the one the
// light already has stays.
void SetColour(D3DCOLORVALUE& colour, float red, float green, float blue)
{
    colour.r = red;
    colour.g = green;
    colour.b = blue;
}

}  // namespace

// The light starts all zeros and off, so that a reset before the first
// Enable switches it off, and colour alphas that SetProperties never writes
// are 0.
CLight::CLight(IDirect3DDevice9* device) : device(device), light(), lightIndex(0xFFFFFFFF), logger(nullptr), enabled(false) {}

int CLight::Init(ILogger* logger, std::uint32_t lightIndex)
{
    this->logger = logger;
    this->lightIndex = lightIndex;
    return 0;
}

int CLight::SetProperties(int type,
                          float positionX, float positionY, float positionZ,
                          float directionX, float directionY, float directionZ,
                          float attenuation0, float attenuation1, float attenuation2,
                          float ambientRed, float ambientGreen, float ambientBlue,
                          float diffuseRed, float diffuseGreen, float diffuseBlue,
                          float specularRed, float specularGreen, float specularBlue,
                          float range, float falloff, float theta, float phi)
{
    // An unknown type keeps the last valid one rather than handing the
    // device a light it cannot use.
    if (IsLightType(type))
        light.Type = static_cast<D3DLIGHTTYPE>(type);
    light.Position = D3DVECTOR{positionX, positionY, positionZ};
    light.Direction = D3DVECTOR{directionX, directionY, directionZ};
    light.Attenuation0 = attenuation0;
    light.Attenuation1 = attenuation1;
    light.Attenuation2 = attenuation2;
    SetColour(light.Ambient, ambientRed, ambientGreen, ambientBlue);
    SetColour(light.Diffuse, diffuseRed, diffuseGreen, diffuseBlue);
    SetColour(light.Specular, specularRed, specularGreen, specularBlue);
    light.Range = range;
    light.Falloff = falloff;
    light.Theta = theta;
    light.Phi = phi;

    // A released light keeps its values but has no device to send them to.
    if (device == nullptr)
        return 1;
    if (D3D_FAILED(kLevelError, device->SetLight(lightIndex, &light)))
        return 1;
    return 0;
}

void CLight::Release()
{
    device = nullptr;
    logger = nullptr;
}

void CLight::Destroy()
{
    delete this;
}

// Only the on/off state is given again after a device reset; the parameters
// reach the device again with the next SetProperties.
int CLight::OnResetDevice()
{
    // A light released by the host has given up its device slot; it has
    // nothing to restore and must not hold up the reset of everything else.
    if (device == nullptr)
        return 0;
    return Enable(enabled);
}

int CLight::Enable(bool enable)
{
    enabled = enable;
    if (device == nullptr)
        return 1;
    if (D3D_FAILED(kLevelSevere, device->LightEnable(lightIndex, enable ? TRUE : FALSE)))
        return 1;
    return 0;
}
