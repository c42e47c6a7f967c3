#ifndef STANDIN_D3DX9TEX_H
#define STANDIN_D3DX9TEX_H

// D3DX texture creation and image files.

#include <d3dx9.h>


typedef enum _D3DXIMAGE_FILEFORMAT
{
    D3DXIFF_BMP = 0,
    D3DXIFF_JPG = 1,
    D3DXIFF_FORCE_DWORD = 0x7fffffff
} D3DXIMAGE_FILEFORMAT;

// What an image file holds; the plug-in never asks, so it is declared only.
typedef struct _D3DXIMAGE_INFO D3DXIMAGE_INFO;

// Loads a texture from an image file; colorkey's colour becomes transparent black.
extern "C" HRESULT WINAPI D3DXCreateTextureFromFileExW(IDirect3DDevice9* pDevice, LPCWSTR pSrcFile, UINT Width,
                                                       UINT Height, UINT MipLevels, DWORD Usage,
                                                       D3DFORMAT Format, D3DPOOL Pool, DWORD Filter,
                                                       DWORD MipFilter, D3DCOLOR ColorKey,
                                                       D3DXIMAGE_INFO* pSrcInfo, PALETTEENTRY* pPalette,
                                                       IDirect3DTexture9** ppTexture);

// Creates an empty texture.
extern "C" HRESULT WINAPI D3DXCreateTexture(IDirect3DDevice9* pDevice, UINT Width, UINT Height,
                                            UINT MipLevels, DWORD Usage, D3DFORMAT Format, D3DPOOL Pool,
                                            IDirect3DTexture9** ppTexture);

// Writes a surface (or a rectangle of it) to an image file.
extern "C" HRESULT WINAPI D3DXSaveSurfaceToFileW(LPCWSTR pDestFile, D3DXIMAGE_FILEFORMAT DestFormat,
                                                 IDirect3DSurface9* pSrcSurface,
                                                 const PALETTEENTRY* pSrcPalette, const RECT* pSrcRect);

#endif
