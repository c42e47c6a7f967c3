#include "CGraphicsD3D.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "CActor.h"
#include "CCamera.h"
#include "CFont.h"
#include "CLight.h"
#include "CTexture.h"
#include "ComRelease.h"
#include "DeletingDestructor.h"
#include "ErrorReport.h"
#include "WideText.h"

namespace {

// The projection's vertical field of view: pi / 4 in single precision.
const float kFieldOfViewY = 0.785398185f;
// The projection's near clipping distance.
const float kNearDistance = 1.0f;

}  // namespace

CGraphicsD3D::CGraphicsD3D()
    : camera(nullptr),
      logger(nullptr),
      d3d(nullptr),
      device(nullptr),
      caps(),
      adapterCount(0),
      // Direct3D's own defaults, so that a reset before the host has set
      // them re-applies what the device started with.
      lightingEnabled(true),
      fillMode(1),
      ambientColor(0),
      clearColor(0),
      drawPass(materials)
{
    D3DXMatrixIdentity(&world);
}

// Frees the registries' storage only; DestroyGraphicsSystem releases what they hold.
CGraphicsD3D::~CGraphicsD3D() = default;

void* CGraphicsD3D::DeletingDestructor(unsigned int flags)
{
    return RunDeletingDestructor(this, flags);
}

void CGraphicsD3D::Destroy()
{
    DeletingDestructor(1);
}

// --- Device creation ---------------------------------------------------------

int CGraphicsD3D::CreateGraphicsSystem(HWND window, ILogger* hostLogger, int, int,
                                       int colourDepth, int height, int width,
                                       int backBufferCount, bool windowed, bool vsync,
                                       int multisampleType, int multisampleQuality,
                                       float maxVisibleDepth)
{
    // Without a logger nothing could be reported; refuse before touching anything.
    if (hostLogger == nullptr)
        return 1;

    mode = VideoMode{width, height, backBufferCount, maxVisibleDepth};
    logger = hostLogger;
    logger->Log(kLevelInfo, "Creating the graphics system...");

    d3d = Direct3DCreate9(D3D_SDK_VERSION);
    if (d3d == nullptr)
    {
        ReportNoDirect3D(logger, __LINE__, __FILE__);
        return 1;
    }
    adapterCount = d3d->GetAdapterCount();
    if (D3D_FAILED(kLevelSevere, d3d->GetDeviceCaps(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, &caps)))
        return 1;
    mode.ChoosePresentation(d3d, window, colourDepth, windowed, vsync, multisampleType, multisampleQuality);
    if (D3D_FAILED(kLevelSevere, d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window,
                                                   D3DCREATE_HARDWARE_VERTEXPROCESSING, &mode.presentParams,
                                                   &device)))
        return 1;
    if (SetUpRenderState(StateOccasion::NewDevice) == 1)
        return 1;

    logger->Log(kLevelDone, "OK");
    logger->NewLine();
    logger->NewLine();
    mode.Log(logger, adapterCount, colourDepth, windowed, vsync);
    return 0;
}

// Every state the graphics system keeps on its device, set on a new device
// and again after Reset returned them all to Direct3D's defaults (blending
// too: without it the first frame after a reset would blend differently from
// the frame before). A new device takes depth test and culling as part of its
// creation, where a refusal is severe, and then the projection; the host's
// own states (lighting, fill mode, ambient colour) reach it through their
// setters. After a reset the projection and the host's remembered states come
// first, and a refused depth test or culling is an ordinary error.
int CGraphicsD3D::SetUpRenderState(StateOccasion occasion)
{
    const bool afterReset = occasion == StateOccasion::AfterReset;
    if (afterReset && (SetUpProjection() == 1 || SetLighting(lightingEnabled) == 1 ||
                       SetFillMode(fillMode) == 1 || SetAmbientLight(ambientColor) == 1))
        return 1;
    const int level = afterReset ? kLevelError : kLevelSevere;
    if (D3D_FAILED(level, device->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE)))
        return 1;
    if (D3D_FAILED(level, device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW)))
        return 1;
    if (!afterReset && SetUpProjection() == 1)
        return 1;
    ApplyBlendStates();
    return 0;
}

// Blending as characters use it when they switch it on: the stage-0 alpha
// comes from the diffuse colour, blended by source alpha. Unchecked: a
// device that refuses them still draws, only without blending.
void CGraphicsD3D::ApplyBlendStates()
{
    device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
    device->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_DIFFUSE);
    device->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_TEXTURE);
    device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    device->SetRenderState(D3DRS_BLENDOP, D3DBLENDOP_ADD);
}

int CGraphicsD3D::SetUpProjection()
{
    D3DXMatrixIdentity(&world);
    if (D3D_FAILED(kLevelError, device->SetTransform(D3DTS_WORLD, &world)))
        return 1;

    if (camera == nullptr)
    {
        if (CreateCamera() == 1)
            return 1;
    }
    else if (camera->Apply() == 1)
    {
        return 1;
    }

    // Both sizes are exact in single precision, so this is the correctly
    // rounded aspect ratio.
    const float aspect = static_cast<float>(mode.width) / static_cast<float>(mode.height);
    D3DXMATRIX projection;
    D3DXMatrixPerspectiveFovLH(&projection, kFieldOfViewY, aspect, kNearDistance, mode.maxVisibleDepth);
    if (D3D_FAILED(kLevelError, device->SetTransform(D3DTS_PROJECTION, &projection)))
        return 1;
    return 0;
}

int CGraphicsD3D::CreateCamera()
{
    CCamera* newCamera = new (std::nothrow) CCamera(device);
    if (newCamera == nullptr)
        return 1;
    if (newCamera->Init(logger) == 1)
    {
        ReleaseAndDestroy(newCamera);
        return 1;
    }
    camera = newCamera;
    return 0;
}

// --- Frame operations and remembered states ------------------------------------

// Every operation that needs the device fails with 1 while there is none
// (before CreateGraphicsSystem, after it failed, after shutdown); setters
// still remember their value.

int CGraphicsD3D::Clear(std::uint32_t color)
{
    clearColor = color;
    if (device == nullptr)
        return 1;
    const DWORD everything = D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL;
    if (D3D_FAILED(kLevelError, device->Clear(0, nullptr, everything, clearColor, 1.0f, 0)))
        return 1;
    return 0;
}

int CGraphicsD3D::BeginScene()
{
    if (device == nullptr)
        return 1;
    if (D3D_FAILED(kLevelError, device->BeginScene()))
        return 1;
    return 0;
}

int CGraphicsD3D::EndScene()
{
    if (device == nullptr)
        return 1;
    if (D3D_FAILED(kLevelError, device->EndScene()))
        return 1;
    return 0;
}

int CGraphicsD3D::SetFillMode(int mode)
{
    fillMode = mode;
    if (device == nullptr)
        return 1;
    if (mode == 0)
    {
        if (D3D_FAILED(kLevelError, device->SetRenderState(D3DRS_FILLMODE, D3DFILL_WIREFRAME)))
            return 1;
    }
    else if (mode == 1)
    {
        if (D3D_FAILED(kLevelError, device->SetRenderState(D3DRS_FILLMODE, D3DFILL_SOLID)))
            return 1;
    }
    return 0;
}

int CGraphicsD3D::SetLighting(bool enable)
{
    lightingEnabled = enable;
    if (device == nullptr)
        return 1;
    if (D3D_FAILED(kLevelError, device->SetRenderState(D3DRS_LIGHTING, enable ? TRUE : FALSE)))
        return 1;
    if (D3D_FAILED(kLevelError, device->SetRenderState(D3DRS_SHADEMODE, D3DSHADE_GOURAUD)))
        return 1;
    return 0;
}

int CGraphicsD3D::SetAmbientLight(std::uint32_t color)
{
    ambientColor = color;
    if (device == nullptr)
        return 1;
    if (D3D_FAILED(kLevelError, device->SetRenderState(D3DRS_AMBIENT, ambientColor)))
        return 1;
    return 0;
}

void CGraphicsD3D::RequestSort()
{
    drawOrder.Request().Raise();
}

int CGraphicsD3D::GetScreenHeight()
{
    return mode.height;
}

int CGraphicsD3D::GetScreenWidth()
{
    return mode.width;
}

ICamera* CGraphicsD3D::GetCamera()
{
    return camera;
}

// --- Factories and registries ---------------------------------------------------

ICharacter* CGraphicsD3D::CreateCharacter()
{
    if (device == nullptr)
        return nullptr;
    CActor* character = characters.Adopt(new (std::nothrow) CActor(device, drawOrder.Request(), &materials),
                                         [this](CActor& made) { return made.Init(logger); });
    if (character == nullptr)
        return nullptr;
    RequestSort();
    return character;
}

ITexture* CGraphicsD3D::CreateTexture(const char* fileName, int stage)
{
    if (device == nullptr)
        return nullptr;
    // File textures are shared by exact name and stage; blank ones never.
    if (fileName != nullptr)
        for (CTexture* texture : textures)
        {
            const char* name = texture->GetFileName();
            if (name != nullptr && std::strcmp(name, fileName) == 0 && texture->GetStage() == stage)
                return texture;
        }
    return textures.Adopt(new (std::nothrow) CTexture(device), [&](CTexture& made) {
        return made.Create(logger, fileName, stage);
    });
}

MaterialDesc* CGraphicsD3D::CreateMaterial()
{
    return materials.Create();
}

ILight* CGraphicsD3D::CreateLight()
{
    if (device == nullptr || lights.size() >= caps.MaxActiveLights)
        return nullptr;
    return lights.Adopt(new (std::nothrow) CLight(device), [this](CLight& made) {
        return made.Init(logger, LowestFreeLightIndex());
    });
}

// Without destroys this is the creation order 0, 1, 2, ...; after one it
// refills the gap, so that no two lights share a device light.
DWORD CGraphicsD3D::LowestFreeLightIndex() const
{
    DWORD index = 0;
    while (std::any_of(lights.begin(), lights.end(), [index](const CLight* light) {
        return light->Index() == index;
    }))
        ++index;
    return index;
}

IFont* CGraphicsD3D::CreateFont(const char* faceName, int width, int height, int weight)
{
    if (device == nullptr || faceName == nullptr)
        return nullptr;
    // A font the host has released has no name left and matches nothing.
    for (CFont* font : fonts)
    {
        const char* name = font->GetFaceName();
        if (name != nullptr && std::strcmp(name, faceName) == 0 && font->GetWidth() == width &&
            font->GetHeight() == height && font->GetWeight() == weight)
            return font;
    }
    return fonts.Adopt(new (std::nothrow) CFont(device), [&](CFont& made) {
        return made.Create(logger, height, width, weight, faceName);
    });
}

// The character lets go of its record first, which frees a record the host
// has destroyed already.
int CGraphicsD3D::DestroyCharacter(ICharacter* character)
{
    return characters.Destroy(character, [this](CActor* found) {
        materials.LetGo(found->GetMaterial());
        drawOrder.Forget();
    });
}

// File textures are shared, so characters other than the destroying host's
// may still hold this one: they let go of it first.
int CGraphicsD3D::DestroyTexture(ITexture* texture)
{
    return textures.Destroy(texture, [this](CTexture* found) {
        for (CActor* character : characters)
            character->DetachTexture(found);
    });
}

int CGraphicsD3D::DestroyLight(ILight* light)
{
    return lights.Destroy(light);
}

int CGraphicsD3D::DestroyFont(IFont* font)
{
    return fonts.Destroy(font);
}

// Characters that hold the record keep it, and the values they copied from
// it: nothing is sorted or applied again because of the destroy.
int CGraphicsD3D::DestroyMaterial(MaterialDesc* material)
{
    return materials.Destroy(material) ? 0 : 1;
}

// --- The frame ------------------------------------------------------------------

int CGraphicsD3D::RenderFrame()
{
    if (device == nullptr || camera == nullptr)
        return 1;
    // A lost device that can be reset is rebuilt first; one that cannot yet
    // fails at Present below, once per frame, until it can.
    if (device->TestCooperativeLevel() == D3DERR_DEVICENOTRESET && ResetDevice() == 1)
        return 1;
    if (D3D_FAILED(kLevelError, device->Present(nullptr, nullptr, nullptr, nullptr)))
        return 1;
    if (Clear(clearColor) == 1 || camera->Apply() == 1 || BeginScene() == 1)
        return 1;
    if (DrawScene() == 1)
    {
        // Close the scene anyway, so that the next frame can present.
        EndScene();
        return 1;
    }
    return EndScene();
}

int CGraphicsD3D::DrawScene()
{
    if (!drawOrder.Update(characters.Objects()))
        return 1;
    if (drawPass.Draw(drawOrder.Layered()) == 1 || drawPass.DrawOverlay(device, drawOrder.Overlay()) == 1)
        return 1;
    for (CFont* font : fonts)
        if (font->Render() == 1)
            return 1;
    return 0;
}

// --- Device loss and reset ---------------------------------------------------------

// Drops every default-pool resource, resets the device, rebuilds the
// resources and sets every remembered state again. Stops at the first
// failure; a failed Reset runs the whole sequence again at the next frame.
int CGraphicsD3D::ResetDevice()
{
    if (characters.CallOnEach(&CActor::OnLostDevice) == 1 || textures.CallOnEach(&CTexture::Unload) == 1 ||
        fonts.CallOnEach(&CFont::OnLostDevice) == 1)
        return 1;

    if (D3D_FAILED(kLevelError, device->Reset(&mode.presentParams)))
        return 1;

    if (characters.CallOnEach(&CActor::OnResetDevice) == 1 || textures.CallOnEach(&CTexture::Reload) == 1 ||
        lights.CallOnEach(&CLight::OnResetDevice) == 1 || fonts.CallOnEach(&CFont::OnResetDevice) == 1)
        return 1;
    drawPass.Forget();
    return SetUpRenderState(StateOccasion::AfterReset);
}

// --- Shutdown ------------------------------------------------------------------------

int CGraphicsD3D::DestroyGraphicsSystem()
{
    if (logger != nullptr)
        logger->Log(kLevelInfo, "Destroying the graphics system...OK");

    // Every object goes before the device it was made with, the device
    // before the Direct3D object that made it.
    drawOrder.Forget();
    characters.DestroyAll();
    textures.DestroyAll();
    lights.DestroyAll();
    materials.FreeAll();
    fonts.DestroyAll();
    if (camera != nullptr)
    {
        ReleaseAndDestroy(camera);
        camera = nullptr;
    }
    ReleaseCom(device);
    ReleaseCom(d3d);

    // A later CreateGraphicsSystem starts with a new device that has none of
    // the old one's state.
    drawPass.Forget();
    return 0;
}

// --- Screenshots ---------------------------------------------------------------------

// Between two frames the back buffer holds the finished last frame: that is
// the picture. Written as a Windows bitmap under exactly the given name.
int CGraphicsD3D::SaveScreenshot(const char* fileName)
{
    if (device == nullptr || fileName == nullptr)
        return 1;
    // Unlike a texture's, the name is measured converted: a name the locale
    // cannot convert, or too long for the buffer, is refused.
    wchar_t wideName[kFileNameCapacity];
    if (!ToWide(wideName, kFileNameCapacity, fileName))
        return 1;

    IDirect3DSurface9* backBuffer = nullptr;
    if (D3D_FAILED(kLevelError, device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &backBuffer)))
    {
        ReleaseCom(backBuffer);
        return 1;
    }
    // Once the frame is in hand the caller gets 0: a file that cannot be
    // written is the file system's business, not the device's.
    D3DXSaveSurfaceToFileW(wideName, D3DXIFF_BMP, backBuffer, nullptr, nullptr);
    ReleaseCom(backBuffer);
    return 0;
}

extern "C" IGraphics* GetPlugin(IGraphics** out)
{
    IGraphics* graphics = new (std::nothrow) CGraphicsD3D();
    if (out != nullptr)
        *out = graphics;
    return graphics;
}
