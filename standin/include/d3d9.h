#ifndef STANDIN_D3D9_H
#define STANDIN_D3D9_H

// Direct3D 9: the entry point, result codes and the interfaces that the
// plug-in uses, with the SDK's method names and parameter types. Only the
// methods the plug-in calls exist; the vtable layout is the stand-in's own.

#include <windows.h>
#include <d3d9types.h>
#include <d3d9caps.h>

#define D3D_SDK_VERSION 32
#define D3DADAPTER_DEFAULT 0

#define D3DCREATE_SOFTWARE_VERTEXPROCESSING 0x00000020
#define D3DCREATE_HARDWARE_VERTEXPROCESSING 0x00000040

// --- Result codes -------------------------------------------------------------------
#define _FACD3D 0x876
#define MAKE_D3DHRESULT(code) MAKE_HRESULT(1, _FACD3D, code)
#define MAKE_D3DSTATUS(code) MAKE_HRESULT(0, _FACD3D, code)

#define D3D_OK S_OK
#define D3DERR_WRONGTEXTUREFORMAT MAKE_D3DHRESULT(2072)
#define D3DERR_UNSUPPORTEDCOLOROPERATION MAKE_D3DHRESULT(2073)
#define D3DERR_UNSUPPORTEDCOLORARG MAKE_D3DHRESULT(2074)
#define D3DERR_UNSUPPORTEDALPHAOPERATION MAKE_D3DHRESULT(2075)
#define D3DERR_UNSUPPORTEDALPHAARG MAKE_D3DHRESULT(2076)
#define D3DERR_TOOMANYOPERATIONS MAKE_D3DHRESULT(2077)
#define D3DERR_CONFLICTINGTEXTUREFILTER MAKE_D3DHRESULT(2078)
#define D3DERR_UNSUPPORTEDFACTORVALUE MAKE_D3DHRESULT(2079)
#define D3DERR_CONFLICTINGRENDERSTATE MAKE_D3DHRESULT(2081)
#define D3DERR_UNSUPPORTEDTEXTUREFILTER MAKE_D3DHRESULT(2082)
#define D3DERR_CONFLICTINGTEXTUREPALETTE MAKE_D3DHRESULT(2086)
#define D3DERR_DRIVERINTERNALERROR MAKE_D3DHRESULT(2087)
#define D3DERR_NOTFOUND MAKE_D3DHRESULT(2150)
#define D3DERR_MOREDATA MAKE_D3DHRESULT(2151)
#define D3DERR_DEVICELOST MAKE_D3DHRESULT(2152)
#define D3DERR_DEVICENOTRESET MAKE_D3DHRESULT(2153)
#define D3DERR_NOTAVAILABLE MAKE_D3DHRESULT(2154)
#define D3DERR_OUTOFVIDEOMEMORY MAKE_D3DHRESULT(380)
#define D3DERR_INVALIDDEVICE MAKE_D3DHRESULT(2155)
#define D3DERR_INVALIDCALL MAKE_D3DHRESULT(2156)
#define D3DERR_DRIVERINVALIDCALL MAKE_D3DHRESULT(2157)
#define D3DERR_WASSTILLDRAWING MAKE_D3DHRESULT(540)
#define D3DOK_NOAUTOGEN MAKE_D3DSTATUS(2159)

struct IDirect3D9;
struct IDirect3DDevice9;
struct IDirect3DResource9;
struct IDirect3DBaseTexture9;
struct IDirect3DTexture9;
struct IDirect3DSurface9;
struct IDirect3DVertexBuffer9;
struct IDirect3DIndexBuffer9;

// A new Direct3D object holding one reference, or null.
extern "C" IDirect3D9* WINAPI Direct3DCreate9(UINT SDKVersion);

// The Direct3D object: adapters, their capabilities, and device creation.
struct IDirect3D9 : public IUnknown
{
    // Number of adapters.
    virtual UINT STDMETHODCALLTYPE GetAdapterCount() = 0;
    // Capabilities of an adapter's device type.
    virtual HRESULT STDMETHODCALLTYPE GetDeviceCaps(UINT Adapter, D3DDEVTYPE DeviceType, D3DCAPS9* pCaps) = 0;
    // Whether a display and back-buffer format pair can be used.
    virtual HRESULT STDMETHODCALLTYPE CheckDeviceType(UINT Adapter, D3DDEVTYPE DevType,
                                                      D3DFORMAT AdapterFormat,
                                                      D3DFORMAT BackBufferFormat, BOOL bWindowed) = 0;
    // Whether a multisample type is available for a surface format.
    virtual HRESULT STDMETHODCALLTYPE CheckDeviceMultiSampleType(UINT Adapter, D3DDEVTYPE DeviceType,
                                                                 D3DFORMAT SurfaceFormat, BOOL Windowed,
                                                                 D3DMULTISAMPLE_TYPE MultiSampleType,
                                                                 DWORD* pQualityLevels) = 0;
    // Creates a device holding one reference.
    virtual HRESULT STDMETHODCALLTYPE CreateDevice(UINT Adapter, D3DDEVTYPE DeviceType, HWND hFocusWindow,
                                                   DWORD BehaviorFlags,
                                                   D3DPRESENT_PARAMETERS* pPresentationParameters,
                                                   IDirect3DDevice9** ppReturnedDeviceInterface) = 0;
};

// A rendering device.
struct IDirect3DDevice9 : public IUnknown
{
    // D3D_OK, D3DERR_DEVICELOST or D3DERR_DEVICENOTRESET.
    virtual HRESULT STDMETHODCALLTYPE TestCooperativeLevel() = 0;
    // Resets a lost device; every default-pool resource must be gone.
    virtual HRESULT STDMETHODCALLTYPE Reset(D3DPRESENT_PARAMETERS* pPresentationParameters) = 0;
    // Shows the next back buffer.
    virtual HRESULT STDMETHODCALLTYPE Present(const RECT* pSourceRect, const RECT* pDestRect,
                                              HWND hDestWindowOverride, const RGNDATA* pDirtyRegion) = 0;
    // A back buffer of a swap chain, with one reference added.
    virtual HRESULT STDMETHODCALLTYPE GetBackBuffer(UINT iSwapChain, UINT iBackBuffer, D3DBACKBUFFER_TYPE Type,
                                                    IDirect3DSurface9** ppBackBuffer) = 0;
    // Creates a vertex buffer.
    virtual HRESULT STDMETHODCALLTYPE CreateVertexBuffer(UINT Length, DWORD Usage, DWORD FVF, D3DPOOL Pool,
                                                         IDirect3DVertexBuffer9** ppVertexBuffer,
                                                         HANDLE* pSharedHandle) = 0;
    // Creates an index buffer.
    virtual HRESULT STDMETHODCALLTYPE CreateIndexBuffer(UINT Length, DWORD Usage, D3DFORMAT Format,
                                                        D3DPOOL Pool, IDirect3DIndexBuffer9** ppIndexBuffer,
                                                        HANDLE* pSharedHandle) = 0;
    // Starts drawing a scene.
    virtual HRESULT STDMETHODCALLTYPE BeginScene() = 0;
    // Ends the scene begun last.
    virtual HRESULT STDMETHODCALLTYPE EndScene() = 0;
    // Clears the render target, depth buffer and stencil buffer.
    virtual HRESULT STDMETHODCALLTYPE Clear(DWORD Count, const D3DRECT* pRects, DWORD Flags, D3DCOLOR Color,
                                            float Z, DWORD Stencil) = 0;
    // Sets a world, view, projection or texture transform.
    virtual HRESULT STDMETHODCALLTYPE SetTransform(D3DTRANSFORMSTATETYPE State, const D3DMATRIX* pMatrix) = 0;
    // Sets the material of the fixed-function lighting.
    virtual HRESULT STDMETHODCALLTYPE SetMaterial(const D3DMATERIAL9* pMaterial) = 0;
    // Sets the parameters of a light.
    virtual HRESULT STDMETHODCALLTYPE SetLight(DWORD Index, const D3DLIGHT9* pLight) = 0;
    // Switches a light on or off.
    virtual HRESULT STDMETHODCALLTYPE LightEnable(DWORD Index, BOOL Enable) = 0;
    // Sets a render state.
    virtual HRESULT STDMETHODCALLTYPE SetRenderState(D3DRENDERSTATETYPE State, DWORD Value) = 0;
    // Binds a texture to a stage; null unbinds.
    virtual HRESULT STDMETHODCALLTYPE SetTexture(DWORD Stage, IDirect3DBaseTexture9* pTexture) = 0;
    // Sets a texture-stage state.
    virtual HRESULT STDMETHODCALLTYPE SetTextureStageState(DWORD Stage, D3DTEXTURESTAGESTATETYPE Type,
                                                           DWORD Value) = 0;
    // Draws indexed primitives from the bound streams and indices.
    virtual HRESULT STDMETHODCALLTYPE DrawIndexedPrimitive(D3DPRIMITIVETYPE Type, INT BaseVertexIndex,
                                                           UINT MinVertexIndex, UINT NumVertices,
                                                           UINT startIndex, UINT primCount) = 0;
    // Sets the flexible vertex format of the vertices drawn next.
    virtual HRESULT STDMETHODCALLTYPE SetFVF(DWORD FVF) = 0;
    // Binds a vertex buffer to a stream.
    virtual HRESULT STDMETHODCALLTYPE SetStreamSource(UINT StreamNumber, IDirect3DVertexBuffer9* pStreamData,
                                                      UINT OffsetInBytes, UINT Stride) = 0;
    // Binds the index buffer.
    virtual HRESULT STDMETHODCALLTYPE SetIndices(IDirect3DIndexBuffer9* pIndexData) = 0;
};

// Anything that lives in a memory pool of a device.
struct IDirect3DResource9 : public IUnknown
{
};

// A texture of any shape.
struct IDirect3DBaseTexture9 : public IDirect3DResource9
{
};

// A two-dimensional texture with mip levels.
struct IDirect3DTexture9 : public IDirect3DBaseTexture9
{
    // Maps a rectangle of a level (null: all of it) for the CPU.
    virtual HRESULT STDMETHODCALLTYPE LockRect(UINT Level, D3DLOCKED_RECT* pLockedRect, const RECT* pRect,
                                               DWORD Flags) = 0;
    // Ends the mapping of a level.
    virtual HRESULT STDMETHODCALLTYPE UnlockRect(UINT Level) = 0;
};

// A two-dimensional image: a back buffer.
struct IDirect3DSurface9 : public IDirect3DResource9
{
};

// Vertices for drawing.
struct IDirect3DVertexBuffer9 : public IDirect3DResource9
{
    // Maps a range of bytes (size 0: all of them) for the CPU.
    virtual HRESULT STDMETHODCALLTYPE Lock(UINT OffsetToLock, UINT SizeToLock, void** ppbData, DWORD Flags) = 0;
    // Ends the mapping.
    virtual HRESULT STDMETHODCALLTYPE Unlock() = 0;
};

// Indices for drawing.
struct IDirect3DIndexBuffer9 : public IDirect3DResource9
{
    // Maps a range of bytes (size 0: all of them) for the CPU.
    virtual HRESULT STDMETHODCALLTYPE Lock(UINT OffsetToLock, UINT SizeToLock, void** ppbData, DWORD Flags) = 0;
    // Ends the mapping.
    virtual HRESULT STDMETHODCALLTYPE Unlock() = 0;
};

#endif
