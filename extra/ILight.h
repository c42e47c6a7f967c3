#ifndef GRAPHICSDLL_ILIGHT_H
#define GRAPHICSDLL_ILIGHT_H

#include <cstdint>

class ILogger;

// One fixed-function light, bound to one device light index for its life.
class ILight
{
public:
    // Stores the logger and the device light index; always 0.
    virtual int Init(ILogger* logger, std::uint32_t lightIndex) = 0;
    // Sets the light's parameters on the device; type 1 point, 2 spot,
    // 3 directional (other types keep the previous one); 0 or 1.
    virtual int SetProperties(int type,
                              float positionX, float positionY, float positionZ,
                              float directionX, float directionY, float directionZ,
                              float attenuation0, float attenuation1, float attenuation2,
                              float ambientRed, float ambientGreen, float ambientBlue,
                              float diffuseRed, float diffuseGreen, float diffuseBlue,
                              float specularRed, float specularGreen, float specularBlue,
                              float range, float falloff, float theta, float phi) = 0;
    // Forgets the device and the logger.
    virtual void Release() = 0;
    // Deletes the light; call Release first.
    virtual void Destroy() = 0;
    // Switches the light on or off again as last set, after a device reset; 0 or 1.
    virtual int OnResetDevice() = 0;
    // Switches the light on or off; 0 or 1.
    virtual int Enable(bool enable) = 0;

protected:
    // Lights are deleted with Destroy, never through this interface.
    ~ILight() = default;
};

#endif
