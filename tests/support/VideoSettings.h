#ifndef TESTS_VIDEOSETTINGS_H
#define TESTS_VIDEOSETTINGS_H

#include "IGraphics.h"

// The host's video settings, as CreateGraphicsSystem takes them.
struct VideoSettings
{
    int colourDepth = 32;
    int height = 600;
    int width = 800;
    int backBufferCount = 1;
    bool windowed = true;
    bool vsync = true;
    int multisampleType = 0;
    int multisampleQuality = 0;
    float maxVisibleDepth = 1000.0f;
};

// CreateGraphicsSystem with these settings, in its argument order.
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
