// The quad scene drawn straight with Direct3D 9: the device calls that the
// plug-in makes for it, from plain arrays, with nothing in between.

#include <cstdio>
#include <cstring>
#include <vector>

#include "HostWindow.h"
#include "PluginLibrary.h"
#include "QuadScene.h"

namespace {

struct Quad
{
    IDirect3DVertexBuffer9* vertexBuffer = nullptr;
    IDirect3DIndexBuffer9* indexBuffer = nullptr;
    D3DXMATRIX rotation, translation, scaling;
};

class RawScene
{
public:
    ~RawScene()
    {
        for (Quad& quad : quads)
        {
            if (quad.vertexBuffer != nullptr)
                quad.vertexBuffer->Release();
            if (quad.indexBuffer != nullptr)
                quad.indexBuffer->Release();
        }
        if (font != nullptr)
            font->Release();
        if (device != nullptr)
            device->Release();
        if (d3d != nullptr)
            d3d->Release();
    }

    // The device as the plug-in creates it for 32-bit colour, windowed,
    // without vertical sync, and the states it sets.
    bool CreateDevice(HWND window)
    {
        d3d = Direct3DCreate9(D3D_SDK_VERSION);
        if (d3d == nullptr)
            return false;
        D3DPRESENT_PARAMETERS present = {};
        for (D3DFORMAT format : {D3DFMT_A2R10G10B10, D3DFMT_X8R8G8B8, D3DFMT_A8R8G8B8})
            if (SUCCEEDED(d3d->CheckDeviceType(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, format, format, FALSE)))
                present.BackBufferFormat = format;
        present.BackBufferCount = 1;
        present.BackBufferWidth = quads::kWidth;
        present.BackBufferHeight = quads::kHeight;
        present.SwapEffect = D3DSWAPEFFECT_DISCARD;
        present.hDeviceWindow = window;
        present.Windowed = TRUE;
        present.EnableAutoDepthStencil = TRUE;
        present.AutoDepthStencilFormat = D3DFMT_D24S8;
        present.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
        if (FAILED(d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window,
                                     D3DCREATE_HARDWARE_VERTEXPROCESSING, &present, &device)))
            return false;
        device->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
        device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
        D3DXMATRIX identity;
        D3DXMatrixIdentity(&identity);
        device->SetTransform(D3DTS_WORLD, &identity);
        D3DXMATRIX view;
        D3DXMatrixLookAtLH(&view, &eye, &at, &up);
        device->SetTransform(D3DTS_VIEW, &view);
        D3DXMATRIX projection;
        D3DXMatrixPerspectiveFovLH(&projection, 0.785398185f,
                                   static_cast<float>(quads::kWidth) / static_cast<float>(quads::kHeight), 1.0f,
                                   quads::kFarDistance);
        device->SetTransform(D3DTS_PROJECTION, &projection);
        device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
        device->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_DIFFUSE);
        device->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_TEXTURE);
        device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
        device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
        device->SetRenderState(D3DRS_BLENDOP, D3DBLENDOP_ADD);
        device->SetRenderState(D3DRS_LIGHTING, FALSE);
        device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL, quads::kClearColour, 1.0f, 0);
        return true;
    }

    bool AddQuads(int count)
    {
        for (int i = 0; i < count; ++i)
        {
            const quads::Placement place = quads::Place(i, count);
            quads::Vertex vertices[4];
            std::uint32_t indices[6];
            quads::MakeQuad(place.half, place.colour, vertices, indices);
            quads.emplace_back();
            Quad& quad = quads.back();
            void* locked = nullptr;
            if (FAILED(device->CreateVertexBuffer(sizeof vertices, D3DUSAGE_WRITEONLY, quads::Vertex::kFVF,
                                                  D3DPOOL_DEFAULT, &quad.vertexBuffer, nullptr)) ||
                FAILED(device->CreateIndexBuffer(sizeof indices, D3DUSAGE_WRITEONLY, D3DFMT_INDEX32,
                                                 D3DPOOL_DEFAULT, &quad.indexBuffer, nullptr)) ||
                FAILED(quad.vertexBuffer->Lock(0, sizeof vertices, &locked, D3DLOCK_DISCARD)))
                return false;
            std::memcpy(locked, vertices, sizeof vertices);
            quad.vertexBuffer->Unlock();
            if (FAILED(quad.indexBuffer->Lock(0, sizeof indices, &locked, D3DLOCK_DISCARD)))
                return false;
            std::memcpy(locked, indices, sizeof indices);
            quad.indexBuffer->Unlock();
            D3DXMatrixIdentity(&quad.rotation);
            D3DXMatrixIdentity(&quad.scaling);
            D3DXMatrixTranslation(&quad.translation, place.x, place.y, place.z);
        }
        text = quads::Text(count);
        return SUCCEEDED(D3DXCreateFontW(device, quads::kFontHeight, 0, quads::kFontWeight, 1, FALSE,
                                         DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                         DEFAULT_PITCH | FF_DONTCARE, quads::kFaceName, &font));
    }

    bool Frame()
    {
        device->TestCooperativeLevel();
        if (FAILED(device->Present(nullptr, nullptr, nullptr, nullptr)) ||
            FAILED(device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL,
                                 quads::kClearColour, 1.0f, 0)))
            return false;
        D3DXMATRIX view;
        D3DXMatrixLookAtLH(&view, &eye, &at, &up);
        if (FAILED(device->SetTransform(D3DTS_VIEW, &view)) || FAILED(device->BeginScene()))
            return false;
        for (const Quad& quad : quads)
        {
            if (lastFVF != quads::Vertex::kFVF)
            {
                lastFVF = quads::Vertex::kFVF;
                device->SetFVF(quads::Vertex::kFVF);
            }
            device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
            device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_DIFFUSE);
            device->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_CURRENT);
            device->SetStreamSource(0, quad.vertexBuffer, 0, sizeof(quads::Vertex));
            device->SetIndices(quad.indexBuffer);
            D3DXMATRIX world;
            D3DXMatrixMultiply(&world, &quad.rotation, &quad.translation);
            D3DXMatrixMultiply(&world, &world, &quad.scaling);
            device->SetTransform(D3DTS_WORLD, &world);
            device->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
            if (FAILED(device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 4, 0, 2)))
                return false;
        }
        device->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
        device->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
        RECT rect = quads::kTextRect;
        font->DrawTextW(nullptr, text.c_str(), -1, &rect, DT_LEFT | DT_TOP | DT_WORDBREAK, quads::kTextColour);
        return SUCCEEDED(device->EndScene());
    }

    bool SaveLastFrame(const std::string& fileName)
    {
        IDirect3DSurface9* backBuffer = nullptr;
        if (FAILED(device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &backBuffer)))
            return false;
        const HRESULT saved = D3DXSaveSurfaceToFileW(Widen(fileName).c_str(), D3DXIFF_BMP, backBuffer, nullptr, nullptr);
        backBuffer->Release();
        return SUCCEEDED(saved);
    }

private:
    IDirect3D9* d3d = nullptr;
    IDirect3DDevice9* device = nullptr;
    ID3DXFont* font = nullptr;
    std::vector<Quad> quads;
    std::wstring text;
    DWORD lastFVF = ~DWORD{0};
    // The plug-in's default camera.
    const D3DXVECTOR3 eye{0.0f, 0.0f, -1.0f};
    const D3DXVECTOR3 at{0.0f, 0.0f, 0.0f};
    const D3DXVECTOR3 up{0.0f, 1.0f, 0.0f};
};

}  // namespace

int main(int argc, char** argv)
{
    quads::Options options;
    if (!quads::ParseOptions(argc, argv, options))
        return 2;
    HostWindow window;
    if (!window.Create(L"Quads straight", quads::kWidth, quads::kHeight, true))
        return 1;
    RawScene scene;
    const bool ok = scene.CreateDevice(window.Handle()) && scene.AddQuads(options.count) &&
                    quads::TimeFrames([&] { return window.PumpMessages() && scene.Frame(); }) &&
                    scene.SaveLastFrame(options.screenshot);
    if (!ok)
        std::fprintf(stderr, "Direct3D refused the scene\n");
    return ok ? 0 : 1;
}
