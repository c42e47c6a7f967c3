#ifndef HOST_HOSTOPTIONS_H
#define HOST_HOSTOPTIONS_H

#include <string>

// What the sample host is asked to do, from its command line.
struct HostOptions
{
    int frames = 240;
    int width = 800;
    int height = 600;
    int colourDepth = 32;
    int backBuffers = 1;
    bool windowed = true;
    bool vsync = false;
    int multisampleType = 0;  // a D3DMULTISAMPLE_TYPE value
    int multisampleQuality = 0;
    float farDistance = 1000.0f;  // far clipping distance, scene units
    std::string screenshotPath = "screenshot.bmp";
    std::string logPath;     // empty: the terminal only
    std::string pluginPath;  // empty: GraphicsDLL.dll beside the host
    std::string assetsPath;  // empty: the assets folder beside the host
    bool help = false;
};

// Reads "--name value" and "--flag" arguments into options. Returns an empty
// string on success, otherwise what was wrong with the command line.
std::string ParseOptions(int argc, const char* const* argv, HostOptions& options);

// The text that --help prints.
const char* OptionsUsage();

#endif
