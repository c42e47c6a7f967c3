#ifndef GRAPHICSDLL_VIDEOSETTINGS_H
#define GRAPHICSDLL_VIDEOSETTINGS_H

#include "IGraphics.h"

// The host's video settings, the nine values CreateGraphicsSystem takes after
// the window and the logger, with the defaults of a plain 800 x 600 window.
struct VideoSettings
{
    int colourDepth = 32;             // 16 or 32 bits per pixel
    int height = 600;                 // back-buffer height, pixels
    int width = 800;                  // back-buffer width, pixels
    int backBufferCount = 1;
    bool windowed = true;
    bool vsync = true;                // present on the vertical retrace
    int multisampleType = 0;          // a D3DMULTISAMPLE_TYPE value
    int multisampleQuality = 0;
    float maxVisibleDepth = 1000.0f;  // far clipping distance, scene units
};

// Brings the graphics system up with these settings: CreateGraphicsSystem
// with its arguments in their order (height before width).
inline int CreateGraphicsSystem(IGraphics& graphics, HWND window, ILogger* logger,
                                const VideoSettings& settings)
{
    return graphics.CreateGraphicsSystem(window, logger, 0, 0, settings.colourDepth,
                                         settings.height, settings.width,
                                         settings.backBufferCount, settings.windowed,
                                         settings.vsync, settings.multisampleType,
                                         settings.multisampleQuality, settings.maxVisibleDepth);
}

#endif
