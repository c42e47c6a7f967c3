// The sample host: what a game's host does with GraphicsDLL. It opens a
// window, loads the plug-in at run time, hands it a logger and the video
// settings from the command line, renders the demo scene for a number of
// frames, saves a screenshot of the last one and shuts everything down.
// Exit status: 0 when every step worked, 1 when one failed, 2 for a bad
// command line.

// <windows.h> first: it renames CreateFont, and IGraphics.h must see the
// same name so that the host and the plug-in agree on the interface.
#include <windows.h>

#include <cstdio>
#include <string>

#include "ConsoleLogger.h"
#include "DemoScene.h"
#include "HostOptions.h"
#include "HostWindow.h"
#include "IGraphics.h"
#include "PluginLibrary.h"

namespace {

// Seconds since the clock was made, from the performance counter.
class Stopwatch
{
public:
    Stopwatch()
    {
        QueryPerformanceFrequency(&frequency);
        QueryPerformanceCounter(&start);
    }
    double Seconds() const
    {
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        return static_cast<double>(now.QuadPart - start.QuadPart) / frequency.QuadPart;
    }

private:
    LARGE_INTEGER frequency;
    LARGE_INTEGER start;
};

// Frames per second over the last half second or so, for the on-screen
// text, and a progress line on the terminal about once a second.
class FrameCounter
{
public:
    explicit FrameCounter(int frames) : frames(frames) {}

    void FrameDone(int frame, ConsoleLogger& log)
    {
        double now = clock.Seconds();
        if (now - rateStart >= 0.5)
        {
            rate = (frame - rateFrame) / (now - rateStart);
            rateStart = now;
            rateFrame = frame;
        }
        if (now - lastProgress >= 1.0 || frame == frames)
        {
            log.Note("frame %d/%d, %.1f fps", frame, frames, frame / now);
            lastProgress = now;
        }
    }
    double Rate() const { return rate; }
    double Elapsed() const { return clock.Seconds(); }

private:
    int frames;
    Stopwatch clock;
    double rate = 0.0;
    double rateStart = 0.0;
    int rateFrame = 0;
    double lastProgress = 0.0;
};

bool FileWritten(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    return GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) &&
           (data.nFileSizeLow != 0 || data.nFileSizeHigh != 0);
}

// Renders the frames; false when a frame failed. While the window is
// minimised the host waits: a full-screen device is lost then, and the
// plug-in resets it in the first frame after the window comes back.
bool RenderFrames(IGraphics& graphics, HostWindow& window, DemoScene& scene,
                  const HostOptions& options, ConsoleLogger& log, int& framesDone)
{
    const int kMaxFailuresInARow = 30;
    FrameCounter counter(options.frames);
    int failures = 0;
    int failuresInARow = 0;
    for (int frame = 1; frame <= options.frames;)
    {
        if (!window.PumpMessages())
        {
            log.Note("the window was closed after %d frames", framesDone);
            break;
        }
        if (window.Minimised())
        {
            Sleep(50);
            continue;
        }
        if (!scene.Update(frame, counter.Rate()))
        {
            log.Note("the scene could not be updated for frame %d", frame);
            return false;
        }
        bool drawn = graphics.RenderFrame() == 0;
        if (!scene.AfterFrame(drawn))
            return false;
        if (!drawn)
        {
            ++failures;
            if (++failuresInARow == kMaxFailuresInARow)
            {
                log.Note("giving up after %d failed frames in a row", failuresInARow);
                break;
            }
            continue;
        }
        failuresInARow = 0;
        framesDone = frame;
        counter.FrameDone(frame, log);
        ++frame;
    }
    double seconds = counter.Elapsed();
    log.Note("%d frames in %.2f s (%.1f fps), %d failed", framesDone, seconds,
             seconds > 0 ? framesDone / seconds : 0.0, failures);
    return failures == 0;
}

bool RunScene(IGraphics& graphics, HostWindow& window, const HostOptions& options,
              ConsoleLogger& log, const std::string& assetsDirectory)
{
    if (CreateGraphicsSystem(graphics, window.Handle(), &log, options.video) != 0)
    {
        log.Note("the graphics system could not be created");
        return false;
    }
    log.Note("screen size %dx%d", graphics.GetScreenWidth(), graphics.GetScreenHeight());
    DemoScene scene(graphics, log, options);
    if (!scene.Build(assetsDirectory))
        return false;

    int framesDone = 0;
    bool framesOk = RenderFrames(graphics, window, scene, options, log, framesDone);
    if (framesDone == 0)
        return false;
    if (graphics.SaveScreenshot(options.screenshotPath.c_str()) != 0 ||
        !FileWritten(options.screenshotPath))
    {
        log.Note("the screenshot %s was not written", options.screenshotPath.c_str());
        return false;
    }
    log.Note("screenshot of frame %d: %s", framesDone, options.screenshotPath.c_str());
    return framesOk;
}

std::string WithSeparator(std::string directory)
{
    if (!directory.empty() && directory.back() != '\\' && directory.back() != '/')
        directory += '\\';
    return directory;
}

int Run(const HostOptions& options, ConsoleLogger& log)
{
    std::wstring here = ProgramDirectory();
    std::wstring pluginPath =
        options.pluginPath.empty() ? here + L"GraphicsDLL.dll" : Widen(options.pluginPath);
    std::string assets =
        WithSeparator(options.assetsPath.empty() ? Narrow(here) + "assets" : options.assetsPath);

    PluginLibrary plugin;
    if (!plugin.Load(pluginPath))
    {
        log.Note("%s", plugin.Error().c_str());
        return 1;
    }
    HostWindow window;
    if (!window.Create(L"GraphicsDLL sample host", options.video.width, options.video.height,
                       options.video.windowed))
    {
        log.Note("could not open a window");
        return 1;
    }
    IGraphics* graphics = plugin.NewGraphics();
    if (graphics == nullptr)
    {
        log.Note("GetPlugin gave no graphics system");
        return 1;
    }

    bool ok = RunScene(*graphics, window, options, log, assets);
    // Also after a failed start: shutdown releases whatever was created.
    graphics->DestroyGraphicsSystem();
    graphics->Destroy();
    if (log.errorReports > 0)
    {
        log.Note("the plug-in reported %d errors", log.errorReports);
        ok = false;
    }
    log.Note(ok ? "done" : "failed");
    return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    HostOptions options;
    std::string error = ParseOptions(argc, argv, options);
    if (!error.empty())
    {
        std::fprintf(stderr, "SampleHost: %s\n", error.c_str());
        return 2;
    }
    if (options.help)
    {
        std::printf("%s", OptionsUsage());
        return 0;
    }
    ConsoleLogger log;
    if (!options.logPath.empty() && !log.OpenFile(options.logPath))
    {
        std::fprintf(stderr, "SampleHost: cannot write the log file %s\n", options.logPath.c_str());
        return 2;
    }
    return Run(options, log);
}
