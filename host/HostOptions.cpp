#include "HostOptions.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {

bool ReadInt(const char* text, int low, int high, int& out)
{
    char* end = nullptr;
    errno = 0;
    long value = std::strtol(text, &end, 10);
    if (errno != 0 || end == text || *end != '\0' || value < low || value > high)
        return false;
    out = static_cast<int>(value);
    return true;
}

bool ReadFloat(const char* text, float above, float& out)
{
    char* end = nullptr;
    errno = 0;
    float value = std::strtof(text, &end);
    if (errno != 0 || end == text || *end != '\0' || !(value > above))
        return false;
    out = value;
    return true;
}

bool ReadText(const char* text, std::string& out)
{
    out = text;
    return true;
}

// Both numbers are validated here so that a typo fails before a window opens.
bool ReadSize(const char* text, int& width, int& height)
{
    const char* x = std::strchr(text, 'x');
    if (x == nullptr)
        return false;
    std::string widthText(text, x);
    return ReadInt(widthText.c_str(), 1, 16384, width) && ReadInt(x + 1, 1, 16384, height);
}

}  // namespace

const char* OptionsUsage()
{
    return "Usage: SampleHost [options]\n"
           "  --frames N          frames to render (default 240)\n"
           "  --size WxH          back-buffer size, or --width W and --height H (default 800x600)\n"
           "  --depth 16|32       colour depth in bits (default 32); 16 comes with a D15S1\n"
           "                      depth buffer, which Wine's Direct3D does not offer\n"
           "  --back-buffers N    back-buffer count (default 1)\n"
           "  --fullscreen        full-screen instead of a window\n"
           "  --vsync             present on the vertical retrace\n"
           "  --multisample N     multisample type, 0 to 16 (default 0)\n"
           "  --multisample-quality N\n"
           "  --far DISTANCE      far clipping distance (default 1000)\n"
           "  --screenshot PATH   picture of the last frame (default screenshot.bmp)\n"
           "  --log PATH          also write the log to this file\n"
           "  --plugin PATH       the plug-in (default GraphicsDLL.dll beside the host)\n"
           "  --assets DIR        the demo's images (default assets beside the host)\n"
           "  --help\n";
}

std::string ParseOptions(int argc, const char* const* argv, HostOptions& options)
{
    for (int i = 1; i < argc; ++i)
    {
        std::string name = argv[i];
        if (name == "--help")
        {
            options.help = true;
            continue;
        }
        if (name == "--fullscreen")
        {
            options.video.windowed = false;
            continue;
        }
        if (name == "--windowed")
        {
            options.video.windowed = true;
            continue;
        }
        if (name == "--vsync")
        {
            options.video.vsync = true;
            continue;
        }
        if (name == "--no-vsync")
        {
            options.video.vsync = false;
            continue;
        }

        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        bool ok = value != nullptr;
        if (name == "--frames")
            ok = ok && ReadInt(value, 1, 100000000, options.frames);
        else if (name == "--size")
            ok = ok && ReadSize(value, options.video.width, options.video.height);
        else if (name == "--width")
            ok = ok && ReadInt(value, 1, 16384, options.video.width);
        else if (name == "--height")
            ok = ok && ReadInt(value, 1, 16384, options.video.height);
        else if (name == "--depth")
            ok = ok && ReadInt(value, 16, 32, options.video.colourDepth) &&
                 (options.video.colourDepth == 16 || options.video.colourDepth == 32);
        else if (name == "--back-buffers")
            ok = ok && ReadInt(value, 1, 3, options.video.backBufferCount);
        else if (name == "--multisample")
            ok = ok && ReadInt(value, 0, 16, options.video.multisampleType);
        else if (name == "--multisample-quality")
            ok = ok && ReadInt(value, 0, 255, options.video.multisampleQuality);
        // The near plane is at 1.
        else if (name == "--far")
            ok = ok && ReadFloat(value, 1.0f, options.video.maxVisibleDepth);
        else if (name == "--screenshot")
            ok = ok && ReadText(value, options.screenshotPath);
        else if (name == "--log")
            ok = ok && ReadText(value, options.logPath);
        else if (name == "--plugin")
            ok = ok && ReadText(value, options.pluginPath);
        else if (name == "--assets")
            ok = ok && ReadText(value, options.assetsPath);
        else
            return "unknown option " + name + " (see --help)";
        if (value == nullptr)
            return name + " needs a value (see --help)";
        if (!ok)
            return "bad value for " + name + ": " + value;
        ++i;
    }
    return std::string();
}
