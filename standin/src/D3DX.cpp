// The D3DX texture, font and image-file functions of the recording device.
// Nothing touches the file system: loads always find an image, saves write
// nothing; both remember the file name.

#include <d3dx9.h>

#include "ArgText.h"
#include "Device.h"
#include "State.h"

namespace standin {

namespace {

// The size that a texture loaded from a file gets when the caller leaves it to the file.
constexpr UINT kFileImageSize = 64;
constexpr UINT kMaxTextureSize = 8192;

// The device behind a D3DX function's device argument, or null when it is
// not a stand-in device; a released device stops the process.
Device* DeviceOf(IDirect3DDevice9* device, Op op)
{
    Device* found = As<Device>(device);
    if (found != nullptr)
        RequireAlive(*found, op);
    return found;
}

// A side given as 0 or D3DX_DEFAULT takes `fallback`.
UINT SideOr(UINT side, UINT fallback)
{
    return side == 0 || side == D3DX_DEFAULT ? fallback : side;
}

// The pitch that LockRect reports for a new texture: the configured one, or
// tightly packed rows of the 32-bit pixels that the plug-in's textures have.
INT PitchFor(UINT width)
{
    const INT configured = TheRecorder().adapter.lockPitch;
    return configured != 0 ? configured : static_cast<INT>(width * 4);
}

void RememberFileName(const Invocation& call, const wchar_t* fileName)
{
    if (call.Recording() && fileName != nullptr)
        TheRecorder().fileNames.push_back(Narrow(fileName));
}

}  // namespace

}  // namespace standin

using namespace standin;

extern "C" HRESULT WINAPI D3DXCreateTextureFromFileExW(IDirect3DDevice9* pDevice, LPCWSTR pSrcFile, UINT Width,
                                                       UINT Height, UINT MipLevels, DWORD Usage,
                                                       D3DFORMAT Format, D3DPOOL Pool, DWORD Filter,
                                                       DWORD MipFilter, D3DCOLOR ColorKey,
                                                       D3DXIMAGE_INFO* pSrcInfo, PALETTEENTRY* pPalette,
                                                       IDirect3DTexture9** ppTexture)
{
    Invocation call(Op::D3DXCreateTextureFromFileExW);
    RememberFileName(call, pSrcFile);
    const HRESULT result = [&]() -> HRESULT {
        if (ppTexture != nullptr)
            *ppTexture = nullptr;
        Device* device = DeviceOf(pDevice, Op::D3DXCreateTextureFromFileExW);
        if (call.Refused())
            return call.ScriptedFailure();
        if (device == nullptr || pSrcFile == nullptr || ppTexture == nullptr)
            return D3DERR_INVALIDCALL;
        const UINT width = SideOr(Width, kFileImageSize);
        const UINT height = SideOr(Height, kFileImageSize);
        *ppTexture = MakeObject<Texture>(height, Usage, Pool, PitchFor(width));
        return D3D_OK;
    }();
    if (call.Recording())
        call.Args().Object(pDevice).String(pSrcFile).UInt(Width).UInt(Height).UInt(MipLevels).UInt(Usage)
            .Int(Format).Int(Pool).UInt(Filter).UInt(MipFilter).Hex(ColorKey).Optional(pSrcInfo)
            .Optional(pPalette).Object(ppTexture == nullptr ? nullptr : *ppTexture);
    return call.Finish(result);
}

extern "C" HRESULT WINAPI D3DXCreateTexture(IDirect3DDevice9* pDevice, UINT Width, UINT Height, UINT MipLevels,
                                            DWORD Usage, D3DFORMAT Format, D3DPOOL Pool,
                                            IDirect3DTexture9** ppTexture)
{
    Invocation call(Op::D3DXCreateTexture);
    const HRESULT result = [&]() -> HRESULT {
        if (ppTexture != nullptr)
            *ppTexture = nullptr;
        Device* device = DeviceOf(pDevice, Op::D3DXCreateTexture);
        if (call.Refused())
            return call.ScriptedFailure();
        // D3DX makes a default side 256 and a zero side 1.
        const UINT width = Width == D3DX_DEFAULT ? 256 : (Width == 0 ? 1 : Width);
        const UINT height = Height == D3DX_DEFAULT ? 256 : (Height == 0 ? 1 : Height);
        if (device == nullptr || ppTexture == nullptr || width > kMaxTextureSize || height > kMaxTextureSize)
            return D3DERR_INVALIDCALL;
        *ppTexture = MakeObject<Texture>(height, Usage, Pool, PitchFor(width));
        return D3D_OK;
    }();
    if (call.Recording())
        call.Args().Object(pDevice).UInt(Width).UInt(Height).UInt(MipLevels).UInt(Usage).Int(Format).Int(Pool)
            .Object(ppTexture == nullptr ? nullptr : *ppTexture);
    return call.Finish(result);
}

extern "C" HRESULT WINAPI D3DXCreateFontW(IDirect3DDevice9* pDevice, INT Height, UINT Width, UINT Weight,
                                          UINT MipLevels, BOOL Italic, DWORD CharSet, DWORD OutputPrecision,
                                          DWORD Quality, DWORD PitchAndFamily, LPCWSTR pFaceName,
                                          ID3DXFont** ppFont)
{
    Invocation call(Op::D3DXCreateFontW);
    const HRESULT result = [&]() -> HRESULT {
        if (ppFont != nullptr)
            *ppFont = nullptr;
        Device* device = DeviceOf(pDevice, Op::D3DXCreateFontW);
        if (call.Refused())
            return call.ScriptedFailure();
        if (device == nullptr || pFaceName == nullptr || ppFont == nullptr)
            return D3DERR_INVALIDCALL;
        *ppFont = MakeObject<Font>(Height);
        return D3D_OK;
    }();
    if (call.Recording())
        call.Args().Object(pDevice).Int(Height).UInt(Width).UInt(Weight).UInt(MipLevels).Int(Italic)
            .UInt(CharSet).UInt(OutputPrecision).UInt(Quality).UInt(PitchAndFamily).String(pFaceName)
            .Object(ppFont == nullptr ? nullptr : *ppFont);
    return call.Finish(result);
}

extern "C" HRESULT WINAPI D3DXSaveSurfaceToFileW(LPCWSTR pDestFile, D3DXIMAGE_FILEFORMAT DestFormat,
                                                 IDirect3DSurface9* pSrcSurface, const PALETTEENTRY* pSrcPalette,
                                                 const RECT* pSrcRect)
{
    Invocation call(Op::D3DXSaveSurfaceToFileW);
    RememberFileName(call, pDestFile);
    if (call.Recording())
        call.Args().String(pDestFile).Int(DestFormat).Object(pSrcSurface).Optional(pSrcPalette).Rect(pSrcRect);
    Surface* surface = As<Surface>(pSrcSurface);
    if (surface != nullptr)
        RequireAlive(*surface, Op::D3DXSaveSurfaceToFileW);
    if (call.Refused())
        return call.Finish(call.ScriptedFailure());
    if (pDestFile == nullptr || surface == nullptr)
        return call.Finish(D3DERR_INVALIDCALL);
    return call.Finish(D3D_OK);
}
