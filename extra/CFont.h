#ifndef GRAPHICSDLL_CFONT_H
#define GRAPHICSDLL_CFONT_H

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "Direct3D.h"
#include "IFont.h"

// A D3DX font with a queue of text entries that lives from frame to frame:
// entries and their buffers are reused, so steady-state frames allocate nothing.
class CFont final : public IFont
{
public:
    explicit CFont(IDirect3DDevice9* device);

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

private:
    IDirect3DDevice9* device;           // the graphics system's, not owned
    ILogger* logger;                    // not owned
    ID3DXFont* font;                    // one reference held; null while none
    wchar_t* faceNameW;                 // owned, 256 characters: the name D3DX gets
    char* faceName;                     // owned, 256 characters: the name as given
    int height;
    int width;
    int weight;
    // One queued text. Entries and their buffers outlive the frame: a later
    // AddText at the same place reuses the buffer when the text fits.
    struct Entry
    {
        RECT rect;
        D3DCOLOR color;
        std::unique_ptr<wchar_t[]> text;  // terminated
        std::size_t capacity;             // the buffer's size in characters
    };
    std::vector<Entry> entries;         // drawn in this order
    int nextEntry;                      // where the next AddText writes

    void FreeNames();
};

#endif
