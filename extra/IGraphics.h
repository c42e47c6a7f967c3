#ifndef GRAPHICSDLL_IGRAPHICS_H
#define GRAPHICSDLL_IGRAPHICS_H

#include <cstdint>

#include "ICamera.h"
#include "ICharacter.h"
#include "IFont.h"
#include "ILight.h"
#include "ILogger.h"
#include "ITexture.h"
#include "MaterialDesc.h"

// The same incomplete type that <windows.h> declares for window handles, so
// that hosts need no Windows header to include this one.
struct HWND__;
typedef struct HWND__* HWND;

// The graphics system: a host gets one from GetPlugin and drives all drawing
// through it. Operations that can fail return 0 on success and 1 on failure;
// factories return null on failure. The order of the operations is the
// contract with the host: new operations go at the end.
class IGraphics
{
public:
    // Slot 0 is laid out as Microsoft's C++ ABI lays out a virtual destructor:
    // one slot, the deleting destructor, which takes flags (bit 0: free the
    // memory too) and returns the object. Other compilers would give a
    // destructor two slots, so for them the slot is an ordinary operation and
    // one header gives one table under every compiler. It frees the
    // registries' storage only: call DestroyGraphicsSystem first. Destroy()
    // is the way to free the object under any compiler.
#ifdef _MSC_VER
    virtual ~IGraphics() {}
#else
    virtual void* DeletingDestructor(unsigned int flags) = 0;
#endif
    // Brings up the device from the host's video settings and logs them;
    // width comes after height; the two unnamed values are not used.
    virtual int CreateGraphicsSystem(HWND window, ILogger* logger, int, int,
                                     int colourDepth, int height, int width,
                                     int backBufferCount, bool windowed, bool vsync,
                                     int multisampleType, int multisampleQuality,
                                     float maxVisibleDepth) = 0;
    // Destroys every object, the camera, the device and Direct3D; always 0.
    virtual int DestroyGraphicsSystem() = 0;
    // Presents the previous frame and draws this one.
    virtual int RenderFrame() = 0;
    // Deletes the graphics system object.
    virtual void Destroy() = 0;
    // Chooses the colour every frame is cleared to, and clears now.
    virtual int Clear(std::uint32_t color) = 0;
    // Begins a scene on the device.
    virtual int BeginScene() = 0;
    // Ends the scene on the device.
    virtual int EndScene() = 0;
    // 0 wireframe, 1 solid; other modes are kept but change nothing.
    virtual int SetFillMode(int mode) = 0;
    // A new character without geometry.
    virtual ICharacter* CreateCharacter() = 0;
    // A texture from an image file, shared by name and stage; with a null
    // name, a new blank texture to fill with AddData.
    virtual ITexture* CreateTexture(const char* fileName, int stage) = 0;
    // A zero-filled material record.
    virtual MaterialDesc* CreateMaterial() = 0;
    // A new light, or null when the device's active light limit is reached.
    virtual ILight* CreateLight() = 0;
    // Switches lighting on or off, with Gouraud shading.
    virtual int SetLighting(bool enable) = 0;
    // Destroys a character; 1 when it is not registered.
    virtual int DestroyCharacter(ICharacter* character) = 0;
    // Frees a material record; 1 when it is not registered.
    virtual int DestroyMaterial(MaterialDesc* material) = 0;
    // Destroys a texture for every holder; 1 when it is not registered.
    virtual int DestroyTexture(ITexture* texture) = 0;
    // Destroys a light; 1 when it is not registered.
    virtual int DestroyLight(ILight* light) = 0;
    // Sets the ambient light colour (0xAARRGGBB).
    virtual int SetAmbientLight(std::uint32_t color) = 0;
    // Writes the last drawn frame as a Windows bitmap under exactly this name.
    virtual int SaveScreenshot(const char* fileName) = 0;
    // Makes the next frame re-order the characters.
    virtual void RequestSort() = 0;
    // A font, shared by face name, width, height and weight.
    virtual IFont* CreateFont(const char* faceName, int width, int height, int weight) = 0;
    // Destroys a font for every holder; 1 when it is not registered.
    virtual int DestroyFont(IFont* font) = 0;
    // The back-buffer height given to CreateGraphicsSystem.
    virtual int GetScreenHeight() = 0;
    // The back-buffer width given to CreateGraphicsSystem.
    virtual int GetScreenWidth() = 0;
    // The graphics system's camera, null before CreateGraphicsSystem.
    virtual ICamera* GetCamera() = 0;

#ifndef _MSC_VER
protected:
    // Without Microsoft's ABI there is no virtual destructor to delete
    // through: the object is freed with Destroy().
    ~IGraphics() = default;
#endif
};

// The plug-in's one export: makes a new graphics system, stores it in *out
// and also returns it (null when it could not be made).
extern "C" IGraphics* GetPlugin(IGraphics** out);

// The type of GetPlugin, for hosts that look it up at run time.
typedef IGraphics* (*GetPluginFunction)(IGraphics** out);

#endif
