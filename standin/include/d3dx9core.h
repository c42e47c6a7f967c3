#ifndef STANDIN_D3DX9CORE_H
#define STANDIN_D3DX9CORE_H

// D3DX fonts.

#include <d3dx9.h>

struct ID3DXSprite;

// A font that draws text with a device.
struct ID3DXFont : public IUnknown
{
    // Draws text in a rectangle; returns the height of the text drawn.
    virtual INT STDMETHODCALLTYPE DrawTextW(ID3DXSprite* pSprite, const WCHAR* pString, INT Count,
                                            RECT* pRect, DWORD Format, D3DCOLOR Color) = 0;
    // Gives up the font's device resources before the device is reset.
    virtual HRESULT STDMETHODCALLTYPE OnLostDevice() = 0;
    // Rebuilds the font's device resources after the device was reset.
    virtual HRESULT STDMETHODCALLTYPE OnResetDevice() = 0;
};
typedef ID3DXFont* LPD3DXFONT;
typedef ID3DXSprite* LPD3DXSPRITE;

// Creates a font holding one reference.
extern "C" HRESULT WINAPI D3DXCreateFontW(IDirect3DDevice9* pDevice, INT Height, UINT Width, UINT Weight,
                                          UINT MipLevels, BOOL Italic, DWORD CharSet,
                                          DWORD OutputPrecision, DWORD Quality, DWORD PitchAndFamily,
                                          LPCWSTR pFaceName, ID3DXFont** ppFont);

#endif
