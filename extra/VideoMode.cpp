#include "VideoMode.h"

#include "ILogger.h"
#include "LogLevel.h"

namespace {

// Back-buffer formats probed for a colour depth, in probing order; the last
// one the adapter accepts wins.
const D3DFORMAT kFormats16[] = {D3DFMT_X1R5G5B5, D3DFMT_A1R5G5B5, D3DFMT_R5G6B5};
const D3DFORMAT kFormats32[] = {D3DFMT_A2R10G10B10, D3DFMT_X8R8G8B8, D3DFMT_A8R8G8B8};

// The last of the colour depth's back-buffer formats that the adapter
// accepts, D3DFMT_UNKNOWN when none does or the depth has no formats. Every
// probe is made, full-screen style whatever the window mode.
D3DFORMAT ProbeBackBufferFormat(IDirect3D9* d3d, int colourDepth)
{
    const D3DFORMAT* formats = colourDepth == 16 ? kFormats16
                             : colourDepth == 32 ? kFormats32
                                                 : nullptr;
    D3DFORMAT chosen = D3DFMT_UNKNOWN;
    if (formats == nullptr)
        return chosen;
    for (int i = 0; i < 3; ++i)
        if (SUCCEEDED(d3d->CheckDeviceType(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, formats[i],
                                           formats[i], FALSE)))
            chosen = formats[i];
    return chosen;
}

}  // namespace

void VideoMode::ChoosePresentation(IDirect3D9* d3d, HWND window, int colourDepth, bool windowed, bool vsync,
                                   int multisampleType, int multisampleQuality)
{
    presentParams = D3DPRESENT_PARAMETERS();
    probedFormat = ProbeBackBufferFormat(d3d, colourDepth);
    presentParams.BackBufferFormat = probedFormat;
    presentParams.BackBufferCount = backBufferCount;
    presentParams.MultiSampleType = static_cast<D3DMULTISAMPLE_TYPE>(multisampleType);
    presentParams.MultiSampleQuality = multisampleQuality;
    // An unsupported multisample request quietly falls back to none.
    if (FAILED(d3d->CheckDeviceMultiSampleType(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL,
                                               presentParams.BackBufferFormat, windowed,
                                               presentParams.MultiSampleType, nullptr)))
    {
        presentParams.MultiSampleType = D3DMULTISAMPLE_NONE;
        presentParams.MultiSampleQuality = 0;
    }
    presentParams.BackBufferWidth = width;
    presentParams.BackBufferHeight = height;
    presentParams.SwapEffect = D3DSWAPEFFECT_DISCARD;
    presentParams.hDeviceWindow = window;
    presentParams.Windowed = windowed;
    presentParams.EnableAutoDepthStencil = TRUE;
    presentParams.AutoDepthStencilFormat = colourDepth == 32 ? D3DFMT_D24S8 : D3DFMT_D15S1;
    presentParams.PresentationInterval =
        vsync ? D3DPRESENT_INTERVAL_DEFAULT : D3DPRESENT_INTERVAL_IMMEDIATE;
}

// The block shows the format the probe chose: a windowed device writes the
// desktop's format back over D3DFMT_UNKNOWN.
void VideoMode::Log(ILogger* logger, std::uint32_t adapterCount, int colourDepth, bool windowed, bool vsync) const
{
    logger->Log(kLevelHeading, "[Video Settings]");
    logger->Log(kLevelInfo, "Number of video adapters: %u", adapterCount);
    logger->Log(kLevelInfo, "Using dimensions: %ix%ix%i", width, height, colourDepth);
    logger->Log(kLevelInfo, "Number of back buffers: %i", backBufferCount);
    logger->Log(kLevelInfo, "Back buffer format: %i", static_cast<int>(probedFormat));
    logger->Log(kLevelInfo, "Fullscreen mode: %s", windowed ? "false" : "true");
    logger->Log(kLevelInfo, "VSync mode: %s", vsync ? "on" : "off");
    logger->Log(kLevelInfo, "Multisample Type: %i", static_cast<int>(presentParams.MultiSampleType));
    logger->Log(kLevelInfo, "Multisample Quality: %i", static_cast<int>(presentParams.MultiSampleQuality));
    logger->Log(kLevelInfo, "Max Visible Depth: %f", static_cast<double>(maxVisibleDepth));
}
