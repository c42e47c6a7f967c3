#ifndef GRAPHICSDLL_IFONT_H
#define GRAPHICSDLL_IFONT_H

#include <cstdint>

class ILogger;

// A font that queues text during a frame and draws it at the frame's end.
class IFont
{
public:
    // Creates the D3DX font; height comes before width; 0 or 1.
    virtual int Create(ILogger* logger, int height, int width, int weight,
                       const char* faceName) = 0;
    // Gives back the D3DX font, the names and every text entry; always 0.
    virtual int Release() = 0;
    // Deletes the font; call Release first.
    virtual void Destroy() = 0;
    // Draws every entry the font holds and rewinds for the next frame; always 0.
    virtual int Render() = 0;
    // Queues one text in the rectangle (screen pixels) with an 0xAARRGGBB
    // colour; always 0.
    virtual int AddText(const char* text, std::uint32_t color,
                        int left, int top, int right, int bottom) = 0;
    // Forwards the device loss to the D3DX font; 0 or 1.
    virtual int OnLostDevice() = 0;
    // Forwards the device reset to the D3DX font; 0 or 1.
    virtual int OnResetDevice() = 0;
    // The face name given to Create.
    virtual const char* GetFaceName() = 0;
    // The character height given to Create.
    virtual int GetHeight() = 0;
    // The character width given to Create.
    virtual int GetWidth() = 0;
    // The weight given to Create.
    virtual int GetWeight() = 0;

protected:
    // Fonts are deleted with Destroy, never through this interface.
    ~IFont() = default;
};

#endif
