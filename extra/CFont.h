#ifndef GRAPHICSDLL_CFONT_H
#define GRAPHICSDLL_CFONT_H

#include <cstdint>
#include <vector>

#include "Direct3D.h"
#include "IFont.h"

// A D3DX font with a queue of text entries that lives from frame to frame:
// entries and their buffers are reused, so steady-state frames allocate nothing.
class CFont final : public IFont
{
public:
    CFont();

    int Create(ILogger* logger, int height, int width, int weight,
               const char* faceName) override;
    int Release() override;
    void Destroy() override;
    int Render() override;
    int AddText(const char* text, std::uint32_t color,
                int left, int top, int right, int bottom) override;
    int OnLostDevice() override;
    int OnResetDevice() override;
    const char* GetFaceName() override;
    int GetHeight() override;
    int GetWidth() override;
    int GetWeight() override;

    IDirect3DDevice9* device;           // the graphics system's, not owned
    ILogger* logger;                    // not owned
    ID3DXFont* font;                    // one reference held; null while none
    wchar_t* faceNameW;                 // owned, 256 characters: the name D3DX gets
    char* faceName;                     // owned, 256 characters: the name as given
    int height;
    int width;
    int weight;
    std::vector<RECT> rects;            // entry i's rectangle
    std::vector<wchar_t*> texts;        // entry i's text, owned
    std::vector<D3DCOLOR> colors;       // entry i's colour
    std::vector<int> capacities;        // entry i's buffer size in characters
    int nextEntry;                      // where the next AddText writes

private:
    void ReleaseFont();
    void FreeNames();
};

#endif
