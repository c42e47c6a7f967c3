#ifndef HOST_HOSTOPTIONS_H
#define HOST_HOSTOPTIONS_H

#include <string>

#include "VideoSettings.h"

// What the sample host is asked to do, from its command line.
struct HostOptions
{
    // A demo measures its frame rate: no vsync unless asked for.
    HostOptions() { video.vsync = false; }

    int frames = 240;
    VideoSettings video;
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
