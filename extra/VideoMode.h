#ifndef GRAPHICSDLL_VIDEOMODE_H
#define GRAPHICSDLL_VIDEOMODE_H

#include <cstdint>

#include "Direct3D.h"

class ILogger;

// The host's video settings and the presentation parameters the device is
// made with from them, which Reset takes again: the back-buffer format
// probed for the colour depth, and multisampling as far as the adapter has it.
struct VideoMode
{
    int width = 0;  // back-buffer size, in pixels
    int height = 0;
    int backBufferCount = 0;
    float maxVisibleDepth = 0.0f;  // the projection's far clipping distance
    D3DFORMAT probedFormat = D3DFMT_UNKNOWN;
    D3DPRESENT_PARAMETERS presentParams = {};

    // Probes the adapter and fills the presentation parameters for the
    // window. Nothing here is reported: a probe that fails only means another
    // format or no multisampling.
    void ChoosePresentation(IDirect3D9* d3d, HWND window, int colourDepth, bool windowed, bool vsync,
                            int multisampleType, int multisampleQuality);
    // The "[Video Settings]" block.
    void Log(ILogger* logger, std::uint32_t adapterCount, int colourDepth, bool windowed, bool vsync) const;
};

#endif
