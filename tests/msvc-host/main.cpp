// A test host built as an engine built with Microsoft's compiler is: its
// C++ ABI (one-slot virtual destructors, thiscall members on x86, cdecl
// variadic members), the system C runtime, the plug-in loaded at run time.
// It calls every operation a host may call on every interface and checks
// each result, so that a table that is one slot off shows at once. It exits
// with 0 when every check holds and 1 otherwise.
//
// Built twice: with the host's own declarations of the interfaces
// (Interfaces.h, from the slot tables) and, with HOST_USES_PROJECT_HEADERS,
// with the plug-in's own headers as a Microsoft compiler sees them.
#include "Win32.h"
#ifdef HOST_USES_PROJECT_HEADERS
#include "IGraphics.h"
#else
#include "Interfaces.h"
#endif

namespace {

// --- Output and checks -------------------------------------------------------

int checks = 0;
int failures = 0;

// _vsnprintf leaves a line that fills the buffer unterminated.
void FormatV(char* out, int size, const char* format, va_list args)
{
    out[size - 1] = '\0';
    _vsnprintf(out, static_cast<size_t>(size - 1), format, args);
}

bool Equal(const char* left, const char* right)
{
    return strcmp(left, right) == 0;
}

void Print(const char* text)
{
    DWORD written = 0;
    WriteFile(GetStdHandle(kStdOutputHandle), text, static_cast<DWORD>(strlen(text)), &written, nullptr);
}

void Printf(const char* format, ...)
{
    char line[512];
    va_list args;
    va_start(args, format);
    FormatV(line, sizeof line, format, args);
    va_end(args);
    Print(line);
}

// Counts a check; one that does not hold prints what was expected.
bool Check(bool holds, const char* format, ...)
{
    ++checks;
    if (!holds)
    {
        ++failures;
        char what[512];
        va_list args;
        va_start(args, format);
        FormatV(what, sizeof what, format, args);
        va_end(args);
        Printf("FAILED: %s\n", what);
    }
    return holds;
}

// An int result: the value a call returned against the one it must return.
void CheckResult(int actual, int expected, const char* call)
{
    Check(actual == expected, "%s returned %i, expected %i", call, actual, expected);
}

// --- The host's logger ---------------------------------------------------------

const int kMaxLines = 256;
const int kLineSize = 200;
char loggedLines[kMaxLines][kLineSize];
int loggedLevels[kMaxLines];

// Records every line the plug-in logs, with its level, and echoes it.
// Log is variadic: the plug-in must call it as a cdecl member with the
// values behind the format, doubles for %f.
class HostLogger : public ILogger
{
public:
    void Log(int level, const char* format, ...) override
    {
        char* line = loggedLines[lineCount % kMaxLines];
        va_list args;
        va_start(args, format);
        FormatV(line, kLineSize, format, args);
        va_end(args);
        loggedLevels[lineCount % kMaxLines] = level;
        ++lineCount;
        Printf("[%i] %s\n", level, line);
    }
    void NewLine() override
    {
        ++newLineCount;
        Print("\n");
    }

    int CountOf(int level, const char* text) const
    {
        int count = 0;
        for (int i = 0; i < lineCount && i < kMaxLines; ++i)
            if (loggedLevels[i] == level && Equal(loggedLines[i], text))
                ++count;
        return count;
    }
    int ErrorReports() const
    {
        int count = 0;
        for (int i = 0; i < lineCount && i < kMaxLines; ++i)
            if (loggedLines[i][0] == 'E' && loggedLines[i][1] == 'R' && loggedLines[i][2] == 'R')
                ++count;
        return count;
    }
    int NewLines() const { return newLineCount; }

private:
    int lineCount = 0;
    int newLineCount = 0;
};

// Checks that a line was logged exactly `times` times at `level`.
void CheckLogged(const HostLogger& logger, int level, const char* text, int times = 1)
{
    const int count = logger.CountOf(level, text);
    Check(count == times, "\"%s\" logged %i times at level %i, expected %i", text, count, level,
          times);
}

// --- Files ---------------------------------------------------------------------

const char kTextureFile[] = "msvc-host-texture.bmp";
const char kScreenshotFile[] = "msvc-host-screenshot.bmp";

unsigned int ReadWord(const unsigned char* at)
{
    return at[0] | at[1] << 8 | at[2] << 16 | static_cast<unsigned int>(at[3]) << 24;
}

// Room for a 32-bit picture of the host's 320x240 back buffer.
unsigned char screenshot[54 + 320 * 240 * 4 + 1024];

struct Picture
{
    int width = 0;
    int height = 0;
    int bytesPerPixel = 0;
    unsigned int stride = 0;
    const unsigned char* bottomRow = nullptr;

    // 0xRRGGBB at x, y from the top left.
    unsigned int At(int x, int y) const
    {
        const unsigned char* p = bottomRow + stride * static_cast<unsigned int>(height - 1 - y) +
                                 static_cast<unsigned int>(x * bytesPerPixel);
        return static_cast<unsigned int>(p[2]) << 16 | p[1] << 8 | p[0];
    }
};

bool ReadScreenshot(Picture& picture)
{
    HANDLE file = CreateFileA(kScreenshotFile, kGenericRead, 0, nullptr, kOpenExisting, 0, nullptr);
    if (file == MSVC_HOST_INVALID_HANDLE)
        return false;
    DWORD size = 0;
    bool read = ReadFile(file, screenshot, sizeof screenshot, &size, nullptr) != 0;
    CloseHandle(file);
    if (!read || size < 54 || screenshot[0] != 'B' || screenshot[1] != 'M')
        return false;
    picture.width = static_cast<int>(ReadWord(screenshot + 18));
    picture.height = static_cast<int>(ReadWord(screenshot + 22));
    picture.bytesPerPixel = (screenshot[28] | screenshot[29] << 8) / 8;
    if (picture.width != 320 || picture.height != 240 ||
        (picture.bytesPerPixel != 3 && picture.bytesPerPixel != 4))
        return false;
    picture.stride = (static_cast<unsigned int>(picture.width * picture.bytesPerPixel) + 3) & ~3u;
    unsigned int offset = ReadWord(screenshot + 10);
    if (offset + picture.stride * static_cast<unsigned int>(picture.height) > size)
        return false;
    picture.bottomRow = screenshot + offset;
    return true;
}

// --- The checks, interface by interface -----------------------------------------

const unsigned int kClearColour = 0xFF204080;
const int kWidth = 320;
const int kHeight = 240;
const unsigned int kFvfPositionColour = 0x002 | 0x040;  // XYZ | DIFFUSE
const unsigned int kFvfPositionColourTexture = kFvfPositionColour | 0x100;  // | TEX1

struct ColouredVertex
{
    float x, y, z;
    unsigned int colour;
};

struct TexturedVertex
{
    float x, y, z;
    unsigned int colour;
    float u, v;
};

// One white triangle over the picture's centre, clockwise as the camera sees it.
const ColouredVertex kTriangle[] = {
    {-1, -1, 0, 0xFFFFFFFF}, {0, 1, 0, 0xFFFFFFFF}, {1, -1, 0, 0xFFFFFFFF}};
const TexturedVertex kTexturedTriangle[] = {
    {-1, -1, 0, 0xFFFFFFFF, 0, 1}, {0, 1, 0, 0xFFFFFFFF, 0.5f, 0}, {1, -1, 0, 0xFFFFFFFF, 1, 1}};
const unsigned int kIndices[] = {0, 1, 2};

void CheckCreateGraphicsSystem(IGraphics* graphics, HWND window, HostLogger& logger)
{
    CheckResult(graphics->CreateGraphicsSystem(window, &logger, 0, 0, 32, kHeight, kWidth, 1,
                                               true, false, 0, 0, 1000.0f),
                0, "CreateGraphicsSystem");
    CheckLogged(logger, 2, "Creating the graphics system...");
    CheckLogged(logger, 3, "OK");
    CheckLogged(logger, 1, "[Video Settings]");
    // Integers, a string and a double behind the format: the variadic call.
    CheckLogged(logger, 2, "Using dimensions: 320x240x32");
    CheckLogged(logger, 2, "Fullscreen mode: false");
    CheckLogged(logger, 2, "Max Visible Depth: 1000.000000");
    Check(logger.NewLines() >= 2, "NewLine after the graphics system came up");
    CheckResult(graphics->GetScreenHeight(), kHeight, "GetScreenHeight");
    CheckResult(graphics->GetScreenWidth(), kWidth, "GetScreenWidth");
}

void CheckGlobalStates(IGraphics* graphics)
{
    CheckResult(graphics->Clear(kClearColour), 0, "Clear");
    CheckResult(graphics->SetFillMode(1), 0, "SetFillMode");
    CheckResult(graphics->SetLighting(false), 0, "SetLighting");
    CheckResult(graphics->SetAmbientLight(0xFF202020), 0, "SetAmbientLight");
    graphics->RequestSort();
}

MaterialDesc* CheckMaterials(IGraphics* graphics)
{
    MaterialDesc* material = graphics->CreateMaterial();
    if (!Check(material != nullptr, "CreateMaterial gives a record"))
        return nullptr;
    const float* values = &material->ambient[0];
    bool zero = true;
    for (int i = 0; i < 13; ++i)
        zero = zero && values[i] == 0.0f;
    Check(zero, "CreateMaterial's record is zero-filled");
    material->diffuse[0] = material->diffuse[1] = material->diffuse[2] = 1.0f;

    MaterialDesc* spare = graphics->CreateMaterial();
    Check(spare != nullptr && spare != material, "CreateMaterial gives a new record each time");
    CheckResult(graphics->DestroyMaterial(spare), 0, "DestroyMaterial");
    CheckResult(graphics->DestroyMaterial(spare), 1, "DestroyMaterial of a destroyed record");
    return material;
}

ITexture* CheckTextures(IGraphics* graphics, HostLogger& logger)
{
    // A bitmap for the file texture, written by the plug-in itself.
    CheckResult(graphics->SaveScreenshot(kTextureFile), 0, "SaveScreenshot, for a texture file");
    ITexture* file = graphics->CreateTexture(kTextureFile, 1);
    if (Check(file != nullptr, "CreateTexture from a file"))
    {
        CheckLogged(logger, 2, "Loading texture msvc-host-texture.bmp");
        Check(graphics->CreateTexture(kTextureFile, 1) == file, "CreateTexture shares by name and stage");
        Check(file->GetFileName() != nullptr && Equal(file->GetFileName(), kTextureFile),
              "ITexture::GetFileName");
        CheckResult(file->GetStage(), 1, "ITexture::GetStage");
        CheckResult(file->Bind(), 0, "ITexture::Bind");
        CheckResult(file->Unbind(), 0, "ITexture::Unbind");
        CheckResult(file->Unload(), 0, "ITexture::Unload");
        CheckResult(file->Reload(), 0, "ITexture::Reload");
    }

    ITexture* blank = graphics->CreateTexture(nullptr, 0);
    if (!Check(blank != nullptr, "CreateTexture without a file"))
        return nullptr;
    Check(blank->GetFileName() == nullptr, "a blank texture has no file name");
    CheckResult(blank->GetStage(), 0, "ITexture::GetStage of the blank texture");
    CheckResult(blank->Create(&logger, nullptr, 0), 0, "ITexture::Create");
    CheckLogged(logger, 2, "Creating blank texture...OK", 2);
    static const unsigned int pixels[16] = {
        0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF, 0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF,
        0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF, 0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF};
    CheckResult(blank->AddData(pixels, 4, 4), 0, "ITexture::AddData");
    CheckLogged(logger, 2, "Adding data to texture : Width=4 Height=4");
    return blank;
}

ICharacter* CheckCharacters(IGraphics* graphics, HostLogger& logger, MaterialDesc* material,
                            ITexture* texture)
{
    ICharacter* triangle = graphics->CreateCharacter();
    if (!Check(triangle != nullptr, "CreateCharacter"))
        return nullptr;
    CheckResult(triangle->Init(&logger), 0, "ICharacter::Init");
    CheckResult(triangle->Create(3, 0, kFvfPositionColour, sizeof kTriangle, sizeof kTriangle[0], 3,
                                 kTriangle, kIndices),
                0, "ICharacter::Create");
    CheckResult(static_cast<int>(triangle->GetFVF()), static_cast<int>(kFvfPositionColour),
                "ICharacter::GetFVF");
    CheckResult(triangle->GetLayer(), 0, "ICharacter::GetLayer");
    CheckResult(triangle->SetMaterial(material), 0, "ICharacter::SetMaterial");
    Check(triangle->GetMaterial() == material, "ICharacter::GetMaterial");
    CheckResult(triangle->SetTextures(nullptr, 0), 0, "ICharacter::SetTextures");
    CheckResult(triangle->SetPosition(0, 0, 0), 0, "ICharacter::SetPosition");
    CheckResult(triangle->SetRotation(0, 0, 0), 0, "ICharacter::SetRotation");
    CheckResult(triangle->SetScale(1, 1, 1), 0, "ICharacter::SetScale");
    CheckResult(triangle->SetAlphaBlend(false), 0, "ICharacter::SetAlphaBlend");
    CheckResult(triangle->SetTextureAlpha(false), 0, "ICharacter::SetTextureAlpha");

    // A textured character on another layer, drawn by hand inside a scene,
    // taken through a device loss and reset, then destroyed.
    ICharacter* spare = graphics->CreateCharacter();
    if (!Check(spare != nullptr, "CreateCharacter, second"))
        return triangle;
    CheckResult(spare->Create(3, 5, kFvfPositionColourTexture, sizeof kTexturedTriangle,
                              sizeof kTexturedTriangle[0], 3, kTexturedTriangle, kIndices),
                0, "ICharacter::Create, textured");
    CheckResult(spare->GetLayer(), 5, "ICharacter::GetLayer, layer 5");
    CheckResult(spare->SetTextures(texture, 1), 0, "ICharacter::SetTextures, one texture");
    CheckResult(spare->SetMaterial(material), 0, "ICharacter::SetMaterial, textured");
    CheckResult(graphics->BeginScene(), 0, "BeginScene");
    CheckResult(spare->ApplyFVF(), 0, "ICharacter::ApplyFVF");
    CheckResult(spare->ApplyBuffers(), 0, "ICharacter::ApplyBuffers");
    CheckResult(spare->ApplyTextures(), 0, "ICharacter::ApplyTextures");
    CheckResult(spare->Render(), 0, "ICharacter::Render");
    CheckResult(graphics->EndScene(), 0, "EndScene");
    CheckResult(spare->OnLostDevice(), 0, "ICharacter::OnLostDevice");
    CheckResult(spare->OnResetDevice(), 0, "ICharacter::OnResetDevice");
    CheckLogged(logger, 2, "Resetting an actor...");
    CheckLogged(logger, 3, "OK", 2);  // the graphics system's and the reset's
    CheckResult(spare->Release(), 0, "ICharacter::Release");
    CheckResult(graphics->DestroyCharacter(spare), 0, "DestroyCharacter");
    CheckResult(graphics->DestroyCharacter(spare), 1, "DestroyCharacter of a destroyed character");
    return triangle;
}

void CheckLights(IGraphics* graphics, HostLogger& logger)
{
    ILight* light = graphics->CreateLight();
    if (!Check(light != nullptr, "CreateLight"))
        return;
    CheckResult(light->Init(&logger, 0), 0, "ILight::Init");
    CheckResult(light->SetProperties(3, 0, 0, 0, 0, 0, 1, 1, 0, 0, 0.2f, 0.2f, 0.2f, 1, 1, 1, 0, 0, 0,
                                     100, 1, 0.5f, 1),
                0, "ILight::SetProperties");
    CheckResult(light->Enable(true), 0, "ILight::Enable");
    CheckResult(light->OnResetDevice(), 0, "ILight::OnResetDevice");

    ILight* spare = graphics->CreateLight();
    if (!Check(spare != nullptr && spare != light, "CreateLight, second"))
        return;
    spare->Release();
    CheckResult(graphics->DestroyLight(spare), 0, "DestroyLight");
    CheckResult(graphics->DestroyLight(spare), 1, "DestroyLight of a destroyed light");
}

IFont* CheckFonts(IGraphics* graphics, HostLogger& logger)
{
    IFont* font = graphics->CreateFont("Tahoma", 7, 16, 400);
    if (!Check(font != nullptr, "CreateFont"))
        return nullptr;
    CheckLogged(logger, 2, "Creating Font: Tahoma");
    Check(graphics->CreateFont("Tahoma", 7, 16, 400) == font, "CreateFont shares by face and size");
    Check(font->GetFaceName() != nullptr && Equal(font->GetFaceName(), "Tahoma"), "IFont::GetFaceName");
    CheckResult(font->GetHeight(), 16, "IFont::GetHeight");
    CheckResult(font->GetWidth(), 7, "IFont::GetWidth");
    CheckResult(font->GetWeight(), 400, "IFont::GetWeight");
    CheckResult(font->OnLostDevice(), 0, "IFont::OnLostDevice");
    CheckResult(font->OnResetDevice(), 0, "IFont::OnResetDevice");
    CheckResult(font->AddText("msvc host", 0xFFFFFF00, 4, 200, 200, 236), 0, "IFont::AddText");

    IFont* spare = graphics->CreateFont("Tahoma", 0, 12, 700);
    if (!Check(spare != nullptr && spare != font, "CreateFont, second"))
        return font;
    CheckResult(spare->Release(), 0, "IFont::Release");
    CheckResult(spare->Create(&logger, 12, 0, 700, "Tahoma"), 0, "IFont::Create");
    CheckLogged(logger, 2, "Weight: 700", 2);
    CheckResult(graphics->BeginScene(), 0, "BeginScene, for a font");
    CheckResult(spare->Render(), 0, "IFont::Render");
    CheckResult(graphics->EndScene(), 0, "EndScene, for a font");
    CheckResult(graphics->DestroyFont(spare), 0, "DestroyFont");
    CheckResult(graphics->DestroyFont(spare), 1, "DestroyFont of a destroyed font");
    return font;
}

ICamera* CheckCamera(IGraphics* graphics, HostLogger& logger)
{
    ICamera* camera = graphics->GetCamera();
    if (!Check(camera != nullptr, "GetCamera"))
        return nullptr;
    CheckResult(camera->Init(&logger), 0, "ICamera::Init");
    CheckResult(camera->SetPosition(0, 0, -4), 0, "ICamera::SetPosition");
    CheckResult(camera->SetRotation(270, 270, 0), 0, "ICamera::SetRotation");  // along +z, upright
    CheckResult(camera->Apply(), 0, "ICamera::Apply");
    return camera;
}

void PumpMessages()
{
    alignas(8) unsigned char message[64];
    while (PeekMessageA(message, nullptr, 0, 0, kPeekRemove))
        DispatchMessageA(message);
}

void CheckFramesAndPicture(IGraphics* graphics)
{
    for (int frame = 0; frame < 3; ++frame)
    {
        PumpMessages();
        CheckResult(graphics->RenderFrame(), 0, "RenderFrame");
    }
    DeleteFileA(kScreenshotFile);
    CheckResult(graphics->SaveScreenshot(kScreenshotFile), 0, "SaveScreenshot");
    Picture picture;
    if (!Check(ReadScreenshot(picture), "the screenshot is a 320x240 Windows bitmap"))
        return;
    unsigned int corner = picture.At(4, 4);
    unsigned int centre = picture.At(kWidth / 2, kHeight / 2);
    if (!Check(corner == (kClearColour & 0xFFFFFF), "the corner shows the clear colour"))
        Printf("  corner pixel: %x\n", corner);
    if (!Check(centre == 0xFFFFFF, "the centre shows the white triangle"))
        Printf("  centre pixel: %x\n", centre);
}

// The full life of one graphics system, freed with Destroy().
void CheckOneGraphicsSystem(GetPluginFunction getPlugin, HWND window)
{
    HostLogger logger;
    IGraphics* graphics = nullptr;
    IGraphics* returned = getPlugin(&graphics);
    if (!Check(graphics != nullptr, "GetPlugin gives a graphics system"))
        return;
    Check(returned == graphics, "GetPlugin returns what it stores");

    CheckCreateGraphicsSystem(graphics, window, logger);
    CheckGlobalStates(graphics);
    MaterialDesc* material = CheckMaterials(graphics);
    ITexture* blank = CheckTextures(graphics, logger);
    CheckCharacters(graphics, logger, material, blank);
    CheckLights(graphics, logger);
    CheckFonts(graphics, logger);
    ICamera* camera = CheckCamera(graphics, logger);
    CheckFramesAndPicture(graphics);

    CheckResult(graphics->DestroyTexture(blank), 0, "DestroyTexture");
    CheckResult(graphics->DestroyTexture(blank), 1, "DestroyTexture of a destroyed texture");
    if (camera != nullptr)
        CheckResult(camera->Release(), 0, "ICamera::Release");  // last use of the camera
    CheckResult(graphics->DestroyGraphicsSystem(), 0, "DestroyGraphicsSystem");
    CheckLogged(logger, 2, "Destroying the graphics system...OK");
    CheckResult(graphics->GetScreenWidth(), kWidth, "GetScreenWidth after DestroyGraphicsSystem");
    CheckResult(logger.ErrorReports(), 0, "error reports logged");
    graphics->Destroy();
}

// Slot 0 as Microsoft's compiler calls it for delete: the deleting
// destructor with bit 0 set, once after a full life and once on a fresh
// object.
void CheckDelete(GetPluginFunction getPlugin, HWND window)
{
    HostLogger logger;
    IGraphics* graphics = nullptr;
    getPlugin(&graphics);
    if (!Check(graphics != nullptr, "GetPlugin, for delete"))
        return;
    CheckResult(graphics->CreateGraphicsSystem(window, &logger, 0, 0, 32, kHeight, kWidth, 1, true,
                                               false, 0, 0, 500.0f),
                0, "CreateGraphicsSystem, for delete");
    CheckLogged(logger, 2, "Max Visible Depth: 500.000000");
    CheckResult(graphics->DestroyGraphicsSystem(), 0, "DestroyGraphicsSystem, for delete");
    delete graphics;

    IGraphics* fresh = nullptr;
    getPlugin(&fresh);
    if (Check(fresh != nullptr, "GetPlugin, fresh object for delete"))
        delete fresh;
}

int Run()
{
    const char* architecture = sizeof(void*) == 8 ? "x64" : "x86";
#ifdef HOST_USES_PROJECT_HEADERS
    Printf("msvc host (%s, the plug-in's headers)\n", architecture);
#else
    Printf("msvc host (%s, the host's own interface declarations)\n", architecture);
#endif
    HMODULE plugin = LoadLibraryA("GraphicsDLL.dll");
    if (!Check(plugin != nullptr, "GraphicsDLL.dll loads"))
        return 1;
    auto getPlugin = reinterpret_cast<GetPluginFunction>(GetProcAddress(plugin, "GetPlugin"));
    if (!Check(getPlugin != nullptr, "GetPlugin is exported under its plain name"))
        return 1;
    HWND window = CreateWindowExA(0, "STATIC", "msvc host", kOverlappedWindow | kWindowVisible, 0, 0,
                                  kWidth, kHeight, nullptr, nullptr, nullptr, nullptr);
    if (!Check(window != nullptr, "a window for the device"))
        return 1;

    CheckOneGraphicsSystem(getPlugin, window);
    CheckDelete(getPlugin, window);

    DestroyWindow(window);
    FreeLibrary(plugin);
    Printf("msvc host (%s): %i checks, %i failed\n", architecture, checks, failures);
    return failures == 0 ? 0 : 1;
}

}  // namespace

// The entry point, in place of a C runtime's.
extern "C" void HostEntry()
{
    ExitProcess(static_cast<unsigned int>(Run()));
}
