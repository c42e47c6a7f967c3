#ifndef GRAPHICSDLL_ICAMERA_H
#define GRAPHICSDLL_ICAMERA_H

class ILogger;

// The graphics system's camera. The host moves and turns it between frames;
// the graphics system applies it at the start of every frame.
class ICamera
{
public:
    // Stores the logger and sets the fixed initial view; 0 or 1.
    virtual int Init(ILogger* logger) = 0;
    // Forgets the device; always 0.
    virtual int Release() = 0;
    // Deletes the camera; call Release first.
    virtual void Destroy() = 0;
    // Moves the camera, keeping its viewing direction; always 0.
    virtual int SetPosition(float x, float y, float z) = 0;
    // Turns the camera: first angle around the vertical, second from the
    // vertical, third kept only; degrees; always 0.
    virtual int SetRotation(float first, float second, float third) = 0;
    // Sets the view transform on the device; 0 or 1.
    virtual int Apply() = 0;

protected:
    // Cameras are deleted with Destroy, never through this interface.
    ~ICamera() = default;
};

#endif
