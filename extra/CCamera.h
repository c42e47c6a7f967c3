#ifndef GRAPHICSDLL_CCAMERA_H
#define GRAPHICSDLL_CCAMERA_H

#include "Direct3D.h"
#include "ICamera.h"

// The camera: looks from its position towards a point one unit away in the
// direction of its first two angles, in degrees.
class CCamera final : public ICamera
{
public:
    explicit CCamera(IDirect3DDevice9* device);

    int Init(ILogger* logger) override;
    int Release() override;
    void Destroy() override;
    int SetPosition(float x, float y, float z) override;
    int SetRotation(float first, float second, float third) override;
    int Apply() override;

private:
    IDirect3DDevice9* device;  // the graphics system's, not owned
    D3DXMATRIX view;           // last view computed by Init or Apply
    ILogger* logger;           // not owned
    D3DXVECTOR3 position;      // where the camera stands
    D3DXVECTOR3 target;        // the point looked at
    D3DXVECTOR3 angles;        // wrapped angles in degrees: around, from vertical, kept
    D3DXVECTOR3 eye;           // eye point that Apply uses
    D3DXVECTOR3 at;            // point looked at that Apply uses
    D3DXVECTOR3 up;            // up direction that Apply uses
};

#endif
