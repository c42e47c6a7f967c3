#include "CGraphicsD3D.h"

#include <new>

#include "ErrorReport.h"

CGraphicsD3D::CGraphicsD3D()
    : camera(nullptr),
      d3d(nullptr),
      device(nullptr),
      adapterCount(0),
      cachedFVF(-1),
      cachedMaterial(nullptr),
      highestLayer(0),
      sortRequested(false)
{
}

// Frees the registries' storage only; DestroyGraphicsSystem releases what they hold.
CGraphicsD3D::~CGraphicsD3D() = default;

void CGraphicsD3D::Destroy()
{
    delete this;
}

int CGraphicsD3D::CreateGraphicsSystem(HWND, ILogger*, int, int, int, int, int, int, bool,
                                       bool, int, int, float)
{
    return 1;
}

int CGraphicsD3D::DestroyGraphicsSystem() { return 0; }
int CGraphicsD3D::RenderFrame() { return 1; }
int CGraphicsD3D::Clear(std::uint32_t) { return 1; }
int CGraphicsD3D::BeginScene() { return 1; }
int CGraphicsD3D::EndScene() { return 1; }
int CGraphicsD3D::SetFillMode(int) { return 1; }
ICharacter* CGraphicsD3D::CreateCharacter() { return nullptr; }
ITexture* CGraphicsD3D::CreateTexture(const char*, int) { return nullptr; }
MaterialDesc* CGraphicsD3D::CreateMaterial() { return nullptr; }
ILight* CGraphicsD3D::CreateLight() { return nullptr; }
int CGraphicsD3D::SetLighting(bool) { return 1; }
int CGraphicsD3D::DestroyCharacter(ICharacter*) { return 1; }
int CGraphicsD3D::DestroyMaterial(MaterialDesc*) { return 1; }
int CGraphicsD3D::DestroyTexture(ITexture*) { return 1; }
int CGraphicsD3D::DestroyLight(ILight*) { return 1; }
int CGraphicsD3D::SetAmbientLight(std::uint32_t) { return 1; }
int CGraphicsD3D::SaveScreenshot(const char*) { return 1; }
void CGraphicsD3D::RequestSort() {}
IFont* CGraphicsD3D::CreateFont(const char*, int, int, int) { return nullptr; }
int CGraphicsD3D::DestroyFont(IFont*) { return 1; }
int CGraphicsD3D::GetScreenHeight() { return 0; }
int CGraphicsD3D::GetScreenWidth() { return 0; }
ICamera* CGraphicsD3D::GetCamera() { return camera; }
int CGraphicsD3D::SetUpProjection() { return 1; }

extern "C" IGraphics* GetPlugin(IGraphics** out)
{
    IGraphics* graphics = new (std::nothrow) CGraphicsD3D();
    if (out != nullptr)
        *out = graphics;
    return graphics;
}
