// What Wine's Direct3D 9 refuses where the recording stand-in has to refuse
// it too: presentation parameters it cannot serve, nested scenes, and draws
// without buffers bound (the parameters it writes back show in the
// differential scenarios, which compare the plug-in's log on both builds).
// Each check prints what the device did; the program exits 1 when any of
// them is not what the stand-in does (standin/src/Device.cpp).
#include <windows.h>
#include <d3d9.h>

#include <cstdio>

#include "HostWindow.h"

namespace {

constexpr int kClientWidth = 200;
constexpr int kClientHeight = 150;

int failures = 0;

void Check(const char* what, long long actual, long long expected)
{
    const bool same = actual == expected;
    std::printf("%s %s: %lld", same ? "ok  " : "FAIL", what, actual);
    if (!same)
        std::printf(" (the stand-in gives %lld)", expected);
    std::printf("\n");
    if (!same)
        ++failures;
}

D3DPRESENT_PARAMETERS Windowed(HWND window)
{
    D3DPRESENT_PARAMETERS parameters{};
    parameters.SwapEffect = D3DSWAPEFFECT_DISCARD;
    parameters.hDeviceWindow = window;
    parameters.Windowed = TRUE;
    parameters.EnableAutoDepthStencil = TRUE;
    parameters.AutoDepthStencilFormat = D3DFMT_D24S8;
    parameters.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
    return parameters;
}

// Creates a device from p, which the device may write back into, checks the
// result and releases the device; whether one was made.
bool CreateDevice(IDirect3D9& d3d, HWND window, const char* what, D3DPRESENT_PARAMETERS& p, HRESULT expected)
{
    IDirect3DDevice9* device = nullptr;
    Check(what, d3d.CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window,
                                 D3DCREATE_HARDWARE_VERTEXPROCESSING, &p, &device), expected);
    if (device == nullptr)
        return false;
    device->Release();
    return true;
}

// More back buffers than Direct3D 9 allows, and a depth format the adapter lacks.
void ProbeRefusedParameters(IDirect3D9& d3d, HWND window)
{
    D3DPRESENT_PARAMETERS p = Windowed(window);
    p.BackBufferCount = D3DPRESENT_BACK_BUFFERS_MAX + 1;
    const bool made = CreateDevice(d3d, window, "CreateDevice with 4 back buffers", p, D3DERR_INVALIDCALL);
    Check("  leaves the device null", !made, 1);
    Check("  BackBufferCount written back", p.BackBufferCount, D3DPRESENT_BACK_BUFFERS_MAX + 1);

    p = Windowed(window);
    p.BackBufferCount = D3DPRESENT_BACK_BUFFERS_MAX;
    CreateDevice(d3d, window, "CreateDevice with 3 back buffers", p, D3D_OK);

    p = Windowed(window);
    p.AutoDepthStencilFormat = D3DFMT_D15S1;
    CreateDevice(d3d, window, "CreateDevice with a D15S1 depth buffer", p, D3DERR_INVALIDCALL);
}

// Scenes do not nest; Present does not wait for the scene's end.
void ProbeScenes(IDirect3DDevice9& device)
{
    Check("EndScene without a scene", device.EndScene(), D3DERR_INVALIDCALL);
    Check("BeginScene", device.BeginScene(), D3D_OK);
    Check("BeginScene inside a scene", device.BeginScene(), D3DERR_INVALIDCALL);
    Check("Present inside a scene", device.Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
    Check("EndScene", device.EndScene(), D3D_OK);
    Check("Present", device.Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
}

HRESULT Draw(IDirect3DDevice9& device)
{
    return device.DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 3, 0, 1);
}

void ProbeDrawing(IDirect3D9& d3d, HWND window)
{
    D3DPRESENT_PARAMETERS p = Windowed(window);
    IDirect3DDevice9* device = nullptr;
    if (FAILED(d3d.CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window, D3DCREATE_HARDWARE_VERTEXPROCESSING,
                                &p, &device)))
    {
        Check("CreateDevice for drawing", 0, 1);
        return;
    }
    ProbeScenes(*device);
    IDirect3DVertexBuffer9* vertices = nullptr;
    IDirect3DIndexBuffer9* indices = nullptr;
    device->CreateVertexBuffer(3 * 16, D3DUSAGE_WRITEONLY, D3DFVF_XYZRHW, D3DPOOL_DEFAULT, &vertices, nullptr);
    device->CreateIndexBuffer(3 * 2, D3DUSAGE_WRITEONLY, D3DFMT_INDEX16, D3DPOOL_DEFAULT, &indices, nullptr);
    device->SetFVF(D3DFVF_XYZRHW);

    device->BeginScene();
    Check("draw in a scene, nothing bound", Draw(*device), D3DERR_INVALIDCALL);
    device->SetStreamSource(0, vertices, 0, 16);
    Check("draw in a scene, no indices bound", Draw(*device), D3DERR_INVALIDCALL);
    device->SetIndices(indices);
    Check("draw in a scene, both bound", Draw(*device), D3D_OK);
    device->SetStreamSource(0, nullptr, 0, 0);
    Check("draw in a scene, no stream source bound", Draw(*device), D3D_OK);
    device->SetStreamSource(0, vertices, 0, 16);
    device->EndScene();

    Check("draw outside a scene, both bound", Draw(*device), D3D_OK);

    device->SetStreamSource(0, nullptr, 0, 0);
    device->SetIndices(nullptr);
    vertices->Release();
    indices->Release();
    device->Release();
}

}  // namespace

int main()
{
    HostWindow window;
    if (!window.Create(L"Direct3D 9 probe", kClientWidth, kClientHeight, true))
    {
        std::printf("FAIL the probe's window could not be made\n");
        return 1;
    }
    IDirect3D9* d3d = Direct3DCreate9(D3D_SDK_VERSION);
    if (d3d == nullptr)
    {
        std::printf("FAIL Direct3DCreate9\n");
        return 1;
    }
    ProbeRefusedParameters(*d3d, window.Handle());
    ProbeDrawing(*d3d, window.Handle());
    d3d->Release();
    std::printf("device probe: %d differences from the stand-in\n", failures);
    return failures == 0 ? 0 : 1;
}
