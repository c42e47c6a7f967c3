#ifndef GRAPHICSDLL_CLIGHT_H
#define GRAPHICSDLL_CLIGHT_H

#include "Direct3D.h"
#include "ILight.h"

// A fixed-function light on one device light index.
class CLight final : public ILight
{
public:
    explicit CLight(IDirect3DDevice9* device);

    int Init(ILogger* logger, std::uint32_t lightIndex) override;
    int SetProperties(int type,
                      float positionX, float positionY, float positionZ,
                      float directionX, float directionY, float directionZ,
                      float attenuation0, float attenuation1, float attenuation2,
                      float ambientRed, float ambientGreen, float ambientBlue,
                      float diffuseRed, float diffuseGreen, float diffuseBlue,
                      float specularRed, float specularGreen, float specularBlue,
                      float range, float falloff, float theta, float phi) override;
    void Release() override;
    void Destroy() override;
    int OnResetDevice() override;
    int Enable(bool enable) override;

    // The device light this one sets.
    DWORD Index() const { return lightIndex; }

private:
    IDirect3DDevice9* device;  // the graphics system's, not owned
    D3DLIGHT9 light;           // parameters as last set
    DWORD lightIndex;          // the device light index; all bits set until Init
    ILogger* logger;           // not owned
    bool enabled;              // the state last given to Enable
};

#endif
