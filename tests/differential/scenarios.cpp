// The same host scenarios for both builds: on Linux against the recording
// stand-in, on Windows with GraphicsDLL.dll on Wine's Direct3D 9. Prints a
// transcript of every call's result and every log line; compare_transcripts.py
// compares the two, so the stand-in is checked against the real device.
#include <windows.h>  // first: it renames CreateFont for IGraphics.h
#include <d3d9.h>

#include <cstdarg>
#include <cstdint>
#include <cstdio>

#include "IGraphics.h"
#include "VideoSettings.h"

#ifdef _WIN32
#include "HostWindow.h"
#include "PluginLibrary.h"
#else
#include <standin/Recorder.h>
#endif

namespace {

// Every log line, as it comes, in the transcript.
class TranscriptLogger : public ILogger
{
public:
    void Log(int level, const char* format, ...) override
    {
        char line[1024];
        va_list args;
        va_start(args, format);
        std::vsnprintf(line, sizeof line, format, args);
        va_end(args);
        std::printf("  log %d: %s\n", level, line);
    }
    void NewLine() override { std::printf("  log NewLine\n"); }
};

int Result(const char* call, int result)
{
    std::printf("%s = %d\n", call, result);
    return result;
}

void Made(const char* call, const void* object)
{
    std::printf("%s = %s\n", call, object != nullptr ? "object" : "null");
}

VideoSettings Video(int colourDepth, int width, int height, int backBufferCount, bool windowed, bool vsync,
                    int multisampleType, int multisampleQuality)
{
    VideoSettings video;
    video.colourDepth = colourDepth;
    video.width = width;
    video.height = height;
    video.backBufferCount = backBufferCount;
    video.windowed = windowed;
    video.vsync = vsync;
    video.multisampleType = multisampleType;
    video.multisampleQuality = multisampleQuality;
    video.maxVisibleDepth = 100.0f;
    return video;
}

// Where the plug-in comes from and what it draws into: the only part that
// differs between the builds.
#ifdef _WIN32
class Platform
{
public:
    bool Open(const VideoSettings& video)
    {
        if (!library.Load(ProgramDirectory() + L"GraphicsDLL.dll"))
        {
            std::printf("%s\n", library.Error().c_str());
            return false;
        }
        return window.Create(L"Differential scenario", video.width, video.height, video.windowed);
    }
    IGraphics* NewGraphics() { return library.NewGraphics(); }
    HWND Window() const { return window.Handle(); }
    void BetweenFrames() { window.PumpMessages(); }
    void ExpectMissingFile() {}

private:
    PluginLibrary library;
    HostWindow window;
};
#else
class Platform
{
public:
    bool Open(const VideoSettings&) { return true; }
    IGraphics* NewGraphics() { return GetPlugin(nullptr); }
    HWND Window() const { return nullptr; }
    void BetweenFrames() {}
    // What the stand-in cannot know by itself: a texture file that does not
    // exist fails as Wine's D3DX fails it.
    void ExpectMissingFile() { standin::FailNext("D3DXCreateTextureFromFileExW", D3DXERR_INVALIDDATA); }
};
#endif

// --- Geometry -------------------------------------------------------------------

struct LitVertex
{
    float x, y, z, nx, ny, nz;
};
struct ScreenVertex
{
    float x, y, z, rhw;
    std::uint32_t colour;
    float u, v;
};
const std::uint32_t kQuadIndices[] = {0, 1, 2, 0, 2, 3};

ICharacter* MakeLitQuad(IGraphics& graphics, int layer)
{
    static const LitVertex vertices[] = {
        {-1, -1, 0, 0, 0, -1}, {-1, 1, 0, 0, 0, -1}, {1, 1, 0, 0, 0, -1}, {1, -1, 0, 0, 0, -1}};
    ICharacter* quad = graphics.CreateCharacter();
    Made("CreateCharacter", quad);
    if (quad != nullptr)
        Result("Character.Create (lit)", quad->Create(4, layer, D3DFVF_XYZ | D3DFVF_NORMAL, sizeof vertices,
                                                     sizeof(LitVertex), 6, vertices, kQuadIndices));
    return quad;
}

ICharacter* MakeScreenRect(IGraphics& graphics, float left, float top, float right, float bottom,
                           std::uint32_t colour, int layer)
{
    const ScreenVertex vertices[] = {{left, bottom, 0.5f, 1, colour, 0, 1}, {left, top, 0.5f, 1, colour, 0, 0},
                                     {right, top, 0.5f, 1, colour, 1, 0}, {right, bottom, 0.5f, 1, colour, 1, 1}};
    ICharacter* rect = graphics.CreateCharacter();
    Made("CreateCharacter", rect);
    if (rect != nullptr)
        Result("Character.Create (screen)",
               rect->Create(4, layer, D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1, sizeof vertices,
                            sizeof(ScreenVertex), 6, vertices, kQuadIndices));
    return rect;
}

// --- Scenarios ------------------------------------------------------------------

// A graphics system made with the video settings, the scenario's body when
// it came up, and shutdown.
void Run(const char* name, const VideoSettings& video, void (*body)(IGraphics& graphics, Platform& platform))
{
    std::printf("== %s\n", name);
    Platform platform;
    if (!platform.Open(video))
        return;
    TranscriptLogger logger;
    IGraphics* graphics = platform.NewGraphics();
    Made("GetPlugin", graphics);
    if (graphics == nullptr)
        return;
    const int created = CreateGraphicsSystem(*graphics, platform.Window(), &logger, video);
    if (Result("CreateGraphicsSystem", created) == 0)
        body(*graphics, platform);
    Result("DestroyGraphicsSystem", graphics->DestroyGraphicsSystem());
    graphics->Destroy();
}

// Two frames of one rectangle and a screenshot.
void CreateAndDraw(IGraphics& graphics, Platform&)
{
    Result("Clear", graphics.Clear(0xFF102030));
    MakeScreenRect(graphics, 10, 10, 60, 40, 0xFFFF0000, 0);
    Result("RenderFrame", graphics.RenderFrame());
    Result("RenderFrame", graphics.RenderFrame());
    Result("SaveScreenshot", graphics.SaveScreenshot("e2e-output/differential-small.bmp"));
}

// Every kind of object through several frames, a texture that cannot load,
// a screenshot, objects destroyed one by one.
void EveryKindOfObject(IGraphics& graphics, Platform& platform)
{
    Result("Clear", graphics.Clear(0xFF203040));
    Result("SetLighting", graphics.SetLighting(true));
    Result("SetAmbientLight", graphics.SetAmbientLight(0xFF404040));
    Result("SetFillMode", graphics.SetFillMode(3));

    MaterialDesc* material = graphics.CreateMaterial();
    Made("CreateMaterial", material);
    material->diffuse[0] = material->diffuse[1] = 0.8f;
    material->ambient[2] = 0.5f;

    ILight* light = graphics.CreateLight();
    Made("CreateLight", light);
    Result("Light.SetProperties", light->SetProperties(3, 0, 0, 0, 0, 0, 1, 1, 0, 0, 0.1f, 0.1f, 0.1f, 1, 1, 1,
                                                       0, 0, 0, 100, 1, 0, 0));
    Result("Light.Enable", light->Enable(true));

    ITexture* fromFile = graphics.CreateTexture("assets/panel.bmp", 0);
    Made("CreateTexture (file)", fromFile);
    platform.ExpectMissingFile();
    Made("CreateTexture (missing file)", graphics.CreateTexture("assets/no-such-picture.bmp", 0));
    ITexture* filled = graphics.CreateTexture(nullptr, 0);
    Made("CreateTexture (memory)", filled);
    const std::uint32_t pixels[16] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF};
    Result("Texture.AddData", filled->AddData(pixels, 4, 4));

    ICharacter* lit = MakeLitQuad(graphics, 0);
    Result("Character.SetMaterial", lit->SetMaterial(material));
    Result("Character.SetTextures", lit->SetTextures(fromFile, 1));
    ICharacter* blended = MakeScreenRect(graphics, 20, 20, 120, 80, 0x80FFFF00, 1);
    Result("Character.SetAlphaBlend", blended->SetAlphaBlend(true));
    ICharacter* overlay = MakeScreenRect(graphics, 200, 150, 300, 220, 0xFFFFFFFF, -10);
    Result("Character.SetTextures", overlay->SetTextures(filled, 1));
    Result("Character.SetTextureAlpha", overlay->SetTextureAlpha(true));
    MakeScreenRect(graphics, 0, 0, 10, 10, 0xFF00FF00, 7);  // a layer above the highest drawn

    IFont* font = graphics.CreateFont("Tahoma", 0, 16, 400);
    Made("CreateFont", font);
    Made("CreateFont (no face)", graphics.CreateFont(nullptr, 0, 16, 400));

    ICamera* camera = graphics.GetCamera();
    Result("Camera.SetPosition", camera->SetPosition(0, 0, -5));
    for (int frame = 0; frame < 3; ++frame)
    {
        Result("Font.AddText", font->AddText("Score: 10", 0xFFFFFFFF, 5, 5, 200, 30));
        Result("Character.SetRotation", lit->SetRotation(0, 30.0f * frame, 0));
        Result("Character.SetPosition", lit->SetPosition(0.5f * frame, 0, 0));
        Result("RenderFrame", graphics.RenderFrame());
        platform.BetweenFrames();
    }
    Result("SaveScreenshot", graphics.SaveScreenshot("e2e-output/differential.bmp"));
    Result("SaveScreenshot (no name)", graphics.SaveScreenshot(nullptr));

    Result("DestroyCharacter", graphics.DestroyCharacter(blended));
    Result("DestroyCharacter (again)", graphics.DestroyCharacter(blended));
    Result("Character.SetTextures (none)", overlay->SetTextures(nullptr, 0));  // before its texture goes
    Result("DestroyTexture", graphics.DestroyTexture(filled));
    Result("DestroyLight", graphics.DestroyLight(light));
    Result("DestroyMaterial", graphics.DestroyMaterial(material));
    Result("DestroyFont", graphics.DestroyFont(font));
    Result("RenderFrame", graphics.RenderFrame());
}

#ifndef _WIN32
// The stand-in as the adapter that Wine shows inside Xvfb: one adapter whose
// full-screen modes are X8R8G8B8 alone, 4 samples but not 2, and no D15S1
// depth buffer (tests/differential/device_probe.cpp checks the last).
void LikeWinesAdapter()
{
    standin::AdapterConfig adapter;
    adapter.deviceFormats = {D3DFMT_X8R8G8B8};
    adapter.multisampleTypes = {D3DMULTISAMPLE_NONE, D3DMULTISAMPLE_4_SAMPLES};
    adapter.depthStencilFormats = {D3DFMT_D16, D3DFMT_D24X8, D3DFMT_D24S8};
    standin::Reset(adapter);
}
#endif

}  // namespace

int main()
{
    // Unbuffered, so that a crash still leaves the transcript up to it.
    std::setvbuf(stdout, nullptr, _IONBF, 0);
#ifndef _WIN32
    LikeWinesAdapter();
#endif
    Run("every kind of object", Video(32, 320, 240, 1, true, false, 0, 0), EveryKindOfObject);
    Run("two back buffers, vsync, 4 samples", Video(32, 256, 192, 2, true, true, 4, 0), CreateAndDraw);
    Run("an unsupported multisample type", Video(32, 256, 192, 1, true, false, 2, 1), CreateAndDraw);
    Run("no back-buffer count", Video(32, 256, 192, 0, true, false, 0, 0), CreateAndDraw);
    Run("full screen, the size of the screen", Video(32, 1024, 768, 1, false, true, 0, 0), CreateAndDraw);
    Run("16-bit colour", Video(16, 256, 192, 1, true, false, 0, 0), CreateAndDraw);
    Run("24-bit colour", Video(24, 256, 192, 1, true, false, 0, 0), CreateAndDraw);
    std::printf("== end\n");
    return 0;
}
