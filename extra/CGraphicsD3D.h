#ifndef GRAPHICSDLL_CGRAPHICSD3D_H
#define GRAPHICSDLL_CGRAPHICSD3D_H

#include <cstdint>

#include "Direct3D.h"
#include "DrawOrder.h"
#include "DrawPass.h"
#include "IGraphics.h"
#include "MaterialRecords.h"
#include "Registry.h"
#include "VideoMode.h"

class CActor;
class CFont;
class CLight;
class CTexture;

// The graphics system: brings the device up from the host's video mode and
// keeps the render states the host set on it, owns the Direct3D object, the
// device, the camera and the five registries of objects it made for the
// host, and conducts each frame: the draw order says what is drawn in which
// order, the draw pass draws it, and a lost device is reset first.
class CGraphicsD3D final : public IGraphics
{
public:
    CGraphicsD3D();
    ~CGraphicsD3D();

    // Runs the destructor and, with bit 0 of flags, frees the memory; the
    // slot that hosts built with Microsoft's compiler call for delete.
    void* DeletingDestructor(unsigned int flags) override;
    int CreateGraphicsSystem(HWND window, ILogger* logger, int, int,
                             int colourDepth, int height, int width,
                             int backBufferCount, bool windowed, bool vsync,
                             int multisampleType, int multisampleQuality,
                             float maxVisibleDepth) override;
    int DestroyGraphicsSystem() override;
    int RenderFrame() override;
    void Destroy() override;
    int Clear(std::uint32_t color) override;
    int BeginScene() override;
    int EndScene() override;
    int SetFillMode(int mode) override;
    ICharacter* CreateCharacter() override;
    ITexture* CreateTexture(const char* fileName, int stage) override;
    MaterialDesc* CreateMaterial() override;
    ILight* CreateLight() override;
    int SetLighting(bool enable) override;
    int DestroyCharacter(ICharacter* character) override;
    int DestroyMaterial(MaterialDesc* material) override;
    int DestroyTexture(ITexture* texture) override;
    int DestroyLight(ILight* light) override;
    int SetAmbientLight(std::uint32_t color) override;
    int SaveScreenshot(const char* fileName) override;
    void RequestSort() override;
    IFont* CreateFont(const char* faceName, int width, int height, int weight) override;
    int DestroyFont(IFont* font) override;
    int GetScreenHeight() override;
    int GetScreenWidth() override;
    ICamera* GetCamera() override;

private:
    // When the remembered states go on the device: right after it was
    // created, or right after Reset returned them all to their defaults.
    enum class StateOccasion { NewDevice, AfterReset };
    // Sets every state the graphics system keeps on its device.
    int SetUpRenderState(StateOccasion occasion);
    // Sets the world transform to identity, creates or re-applies the camera
    // and sets the perspective projection; run at creation and after a reset.
    int SetUpProjection();
    // Sets the stage-0 alpha and blend states that characters blend with.
    void ApplyBlendStates();
    // Makes the default camera and sets its initial view.
    int CreateCamera();
    // The device light index for a new light.
    DWORD LowestFreeLightIndex() const;
    // Everything between BeginScene and EndScene: layers, overlay, text.
    int DrawScene();
    // Drops and rebuilds device resources around Reset; sets states again.
    int ResetDevice();

    ICamera* camera;                      // the default camera, owned
    ILogger* logger;                      // the host's logger
    IDirect3D9* d3d;                      // one reference held
    IDirect3DDevice9* device;             // one reference held
    D3DCAPS9 caps;                        // the default adapter's capabilities
    VideoMode mode;                       // the host's settings; presentation reused by Reset
    std::uint32_t adapterCount;           // only logged
    Registry<CActor> characters;          // re-ordered in place by the draw order
    Registry<CTexture> textures;
    Registry<CLight> lights;
    MaterialRecords materials;            // with the record the frame applied last
    Registry<CFont> fonts;
    D3DXMATRIX world;                     // identity, set by the projection set-up
    bool lightingEnabled;                 // remembered for the reset sequence
    int fillMode;                         // remembered for the reset sequence
    std::uint32_t ambientColor;           // remembered for the reset sequence
    std::uint32_t clearColor;             // the colour every frame starts with
    DrawOrder drawOrder;                  // with the highest layer and the sort request
    DrawPass drawPass;                    // with the vertex format applied last
};

#endif
