#include "DemoScene.h"

#include <cmath>
#include <cstdio>
#include <vector>

#include "Meshes.h"

namespace {

const float kPi = 3.14159265f;
// The scene moves by frame count, not by clock, so that a given frame looks
// the same however fast the machine is.
const float kFramesPerSecond = 60.0f;

const int kPatternSize = 64;
const int kStageLayer = 0;
const int kCubeLayer = 1;   // after the stage, so its keyed window shows the stage
const int kGlassLayer = 2;  // translucent things last, over everything solid
const int kOverlayLayer = -10;

float Degrees(float radians)
{
    return radians * 180.0f / kPi;
}

// The camera takes a position and two angles: the first around the vertical
// axis, the second from the vertical. With the second angle between 180 and
// 360 degrees its up direction points up, so the view direction is given
// as the opposite of the horizontal heading.
void LookAt(ICamera& camera, Vector3 eye, Vector3 target)
{
    Vector3 d = {target.x - eye.x, target.y - eye.y, target.z - eye.z};
    float length = std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z);
    float first = Degrees(std::atan2(-d.z, -d.x));
    float second = 360.0f - Degrees(std::acos(d.y / length));
    camera.SetPosition(eye.x, eye.y, eye.z);
    camera.SetRotation(first < 0 ? first + 360.0f : first, second, 0.0f);
}

std::uint32_t PatternTexel(int x, int y, int generation)
{
    float dx = x - kPatternSize / 2 + 0.5f;
    float dy = y - kPatternSize / 2 + 0.5f;
    float rings = std::sin(std::sqrt(dx * dx + dy * dy) * 0.55f - generation * 0.9f);
    float waves = std::sin(x * 0.21f + generation) * std::cos(y * 0.17f);
    float t = 0.5f + 0.25f * rings + 0.25f * waves;
    auto channel = [](float value) {
        return static_cast<std::uint32_t>(std::fmin(255.0f, std::fmax(0.0f, value * 255.0f)));
    };
    std::uint32_t red = channel(0.55f + 0.45f * std::sin(6.0f * t + 0.5f));
    std::uint32_t green = channel(0.45f + 0.45f * std::sin(6.0f * t + 2.6f));
    std::uint32_t blue = channel(0.6f + 0.4f * std::sin(6.0f * t + 4.4f));
    bool grid = x % 16 == 0 || y % 16 == 0;
    return grid ? 0xFF203040u : 0xFF000000u | red << 16 | green << 8 | blue;
}

// Untextured meshes are drawn with the colour operation modulate(diffuse,
// current), and at stage 0 "current" is the diffuse colour itself: what
// shows is the colour squared. The host hands over the square root of the
// colour it wants to see; alpha is left as it is.
D3DCOLOR Untextured(D3DCOLOR wanted)
{
    D3DCOLOR result = wanted & 0xFF000000u;
    for (int shift = 0; shift < 24; shift += 8)
    {
        double channel = ((wanted >> shift) & 0xFF) / 255.0;
        result |= static_cast<D3DCOLOR>(std::lround(std::sqrt(channel) * 255.0)) << shift;
    }
    return result;
}

void SetColour(float (&colour)[3], Vector3 value)
{
    colour[0] = value.x;
    colour[1] = value.y;
    colour[2] = value.z;
}

}  // namespace

DemoScene::DemoScene(IGraphics& graphics, ConsoleLogger& log, const HostOptions& options)
    : graphics(graphics), log(log), options(options)
{}

bool DemoScene::Failed(const char* what)
{
    log.Note("could not create %s", what);
    return false;
}

MaterialDesc* DemoScene::NewMaterial(Vector3 ambient, Vector3 diffuse, Vector3 emissive)
{
    MaterialDesc* material = graphics.CreateMaterial();
    if (material == nullptr)
        return nullptr;
    SetColour(material->ambient, ambient);
    SetColour(material->diffuse, diffuse);
    SetColour(material->emissive, emissive);
    return material;
}

bool DemoScene::Build(const std::string& assetsDirectory)
{
    return graphics.Clear(0xFF0B1426) == 0 && graphics.SetFillMode(1) == 0 &&
           graphics.SetLighting(true) == 0 && graphics.SetAmbientLight(0xFF5A6478) == 0 &&
           BuildLights() && BuildStage() && BuildCube(assetsDirectory) && BuildCrystals() &&
           BuildBoard() && BuildOverlay() && BuildFonts();
}

bool DemoScene::BuildLights()
{
    ILight* sun = graphics.CreateLight();
    if (sun == nullptr ||
        sun->SetProperties(3, 0, 0, 0, 0.35f, -1.0f, 0.55f, 1, 0, 0, 0, 0, 0, 0.55f, 0.53f, 0.5f, 0,
                           0, 0, 0, 0, 0, 0) != 0 ||
        sun->Enable(true) != 0)
        return Failed("the directional light");
    for (ILight*& lamp : lamps)
    {
        lamp = graphics.CreateLight();
        if (lamp == nullptr || lamp->Enable(true) != 0)
            return Failed("a point light");
    }
    return PlaceLamps(0.0f);
}

// Two coloured point lights circling the pedestal, low over the floor.
bool DemoScene::PlaceLamps(float seconds)
{
    const Vector3 colours[2] = {{1.0f, 0.55f, 0.2f}, {0.25f, 0.55f, 1.0f}};
    for (int i = 0; i < 2; ++i)
    {
        float angle = -seconds * 0.7f + i * kPi + 0.6f;
        const Vector3& c = colours[i];
        if (lamps[i]->SetProperties(1, 3.4f * std::cos(angle), 1.3f, 3.4f * std::sin(angle), 0, 0,
                                    0, 0.25f, 0.1f, 0.02f, 0, 0, 0, c.x, c.y, c.z, 0, 0, 0, 10.0f,
                                    0, 0, 0) != 0)
            return false;
    }
    return true;
}

bool DemoScene::BuildStage()
{
    MaterialDesc* slate = NewMaterial({0.4f, 0.46f, 0.55f}, {0.42f, 0.48f, 0.55f}, {0, 0, 0});
    MaterialDesc* stone = NewMaterial({1.4f, 1.2f, 1.0f}, {0.85f, 0.72f, 0.55f}, {0, 0, 0});
    if (slate == nullptr || stone == nullptr)
        return Failed("the stage materials");

    // The sky: a screen-sized gradient as deep as the depth buffer allows, so
    // that everything else is drawn in front of it.
    float width = static_cast<float>(options.video.width);
    float height = static_cast<float>(options.video.height);
    const float kFarthest = 0.99999f;
    if (CreateMesh(graphics,
                   MakeScreenRect(0, 0, width, height, kFarthest, Untextured(0xFF0A1224),
                                  Untextured(0xFF36557E)),
                   kStageLayer) == nullptr)
        return Failed("the sky");

    ICharacter* floor = CreateMesh(graphics, MakeFloor(9.0f, 36), kStageLayer);
    if (floor == nullptr || floor->SetMaterial(slate) != 0)
        return Failed("the floor");

    ICharacter* pedestal = CreateMesh(graphics, MakeColumn(8, 0.9f, 0.9f), kStageLayer);
    if (pedestal == nullptr || pedestal->SetMaterial(stone) != 0)
        return Failed("the pedestal");

    const Vector3 columnPlaces[4] = {
        {-4.5f, 0, 3.5f}, {4.5f, 0, 3.5f}, {-6.5f, 0, -1}, {6.5f, 0, -1}};
    for (const Vector3& place : columnPlaces)
    {
        ICharacter* column = CreateMesh(graphics, MakeColumn(6, 0.45f, 3.2f), kStageLayer);
        if (column == nullptr || column->SetMaterial(stone) != 0)
            return Failed("a column");
        column->SetPosition(place.x, place.y, place.z);
    }
    return true;
}

bool DemoScene::BuildCube(const std::string& assetsDirectory)
{
    // Texels of exactly 0xDE00DE are keyed out when the file is loaded; with
    // texture alpha on, the stage behind shows through the cube's windows.
    std::string path = assetsDirectory + "panel.bmp";
    ITexture* panel = graphics.CreateTexture(path.c_str(), 0);
    if (panel == nullptr)
        return Failed(("the texture " + path).c_str());
    MaterialDesc* white = NewMaterial({1, 1, 1}, {1, 1, 1}, {0.08f, 0.08f, 0.1f});
    cube = CreateMesh(graphics, MakeCube(0.75f, 0xFFFFFFFF), kCubeLayer);
    if (white == nullptr || cube == nullptr || cube->SetMaterial(white) != 0)
        return Failed("the cube");
    cube->SetTextures(panel, 1);
    cube->SetTextureAlpha(true);
    return true;
}

bool DemoScene::BuildCrystals()
{
    MaterialDesc* glass = NewMaterial({0.6f, 0.8f, 1.0f}, {1, 1, 1}, {0.12f, 0.18f, 0.25f});
    if (glass == nullptr)
        return Failed("the glass material");
    const D3DCOLOR colours[2] = {Untextured(0x9060D0FF), Untextured(0x90FF70C0)};
    for (int i = 0; i < 2; ++i)
    {
        crystals[i] = CreateMesh(graphics, MakeCrystal(0.45f, 0.8f, colours[i]), kGlassLayer);
        if (crystals[i] == nullptr || crystals[i]->SetMaterial(glass) != 0)
            return Failed("a crystal");
        crystals[i]->SetAlphaBlend(true);
    }
    return true;
}

bool DemoScene::BuildBoard()
{
    patternTexture = graphics.CreateTexture(nullptr, 0);
    MaterialDesc* glowing = NewMaterial({0, 0, 0}, {0, 0, 0}, {1, 1, 1});
    ICharacter* board = CreateMesh(graphics, MakeBoard(2.4f, 1.5f), kStageLayer);
    if (patternTexture == nullptr || glowing == nullptr || board == nullptr ||
        board->SetMaterial(glowing) != 0)
        return Failed("the pattern board");
    board->SetTextures(patternTexture, 1);
    board->SetPosition(0, 3.0f, 5.5f);
    return FillPattern();
}

bool DemoScene::FillPattern()
{
    std::vector<std::uint32_t> pixels(kPatternSize * kPatternSize);
    for (int y = 0; y < kPatternSize; ++y)
        for (int x = 0; x < kPatternSize; ++x)
            pixels[y * kPatternSize + x] = PatternTexel(x, y, patternFills);
    ++patternFills;
    if (patternTexture->AddData(pixels.data(), kPatternSize, kPatternSize) != 0)
        return Failed("the pattern");
    return true;
}

bool DemoScene::BuildOverlay()
{
    float width = static_cast<float>(options.video.width);
    float height = static_cast<float>(options.video.height);
    const struct
    {
        Mesh<ScreenVertex> mesh;
        const char* name;
    } panels[] = {
        {MakeScreenRect(0, 0, width, 58, 0, Untextured(0xD0101A2E), Untextured(0x90101A2E)),
         "the title bar"},
        {MakeScreenRect(0, 58, width, 61, 0, Untextured(0xFF40C8FF), Untextured(0xFF2080C0)),
         "the title bar's edge"},
        {MakeScreenRect(12, height - 46, 470, height - 12, 0, Untextured(0xA0101A2E),
                        Untextured(0xC0101A2E)),
         "the info panel"},
    };
    for (const auto& panel : panels)
    {
        ICharacter* character = CreateMesh(graphics, panel.mesh, kOverlayLayer);
        if (character == nullptr)
            return Failed(panel.name);
        character->SetAlphaBlend(true);
    }
    return true;
}

bool DemoScene::BuildFonts()
{
    titleFont = graphics.CreateFont("Tahoma", 0, 30, 700);
    // Wine's D3DX drops the full stop of 16-pixel Tahoma; 18 pixels show it.
    smallFont = graphics.CreateFont("Tahoma", 0, 18, 400);
    if (titleFont == nullptr || smallFont == nullptr)
        return Failed("the fonts");
    return true;
}

void DemoScene::PlaceCamera(float seconds)
{
    ICamera* camera = graphics.GetCamera();
    if (camera == nullptr)
        return;
    float heading = -kPi / 2 + 0.6f * std::sin(seconds * 0.45f);
    Vector3 eye = {10.5f * std::cos(heading), 4.6f, 10.5f * std::sin(heading)};
    LookAt(*camera, eye, {0, 1.6f, 0.5f});
}

bool DemoScene::Update(int frame, double framesPerSecond)
{
    float seconds = frame / kFramesPerSecond;
    PlaceCamera(seconds);

    cube->SetRotation(18.0f * std::sin(seconds * 0.8f), 107.0f + frame * 1.2f, 0);
    cube->SetPosition(0, 2.35f + 0.12f * std::sin(seconds * 1.7f), 0);

    for (int i = 0; i < 2; ++i)
    {
        float angle = seconds * 0.9f + i * kPi;
        // The scale multiplies the translation too, so the position is given
        // in scaled units.
        const Vector3 scale = {1.0f, 1.3f, 1.0f};
        Vector3 place = {2.5f * std::cos(angle), 2.3f + 0.35f * std::sin(seconds * 2 + i),
                         2.5f * std::sin(angle)};
        crystals[i]->SetRotation(0, seconds * 70.0f * (i ? -1 : 1), 0);
        crystals[i]->SetPosition(place.x / scale.x, place.y / scale.y, place.z / scale.z);
        crystals[i]->SetScale(scale.x, scale.y, scale.z);
    }

    titleFont->AddText("GraphicsDLL", 0xFFFFD98A, 20, 12, 260, 52);
    smallFont->AddText("Direct3D 9 plug-in  -  sample host", 0xFFB8D8F0, 212, 22,
                       options.video.width - 10, 48);
    char info[160];
    std::snprintf(info, sizeof info, "Frame %d / %d     %.1f fps     %dx%dx%d %s", frame,
                  options.frames, framesPerSecond, options.video.width, options.video.height,
                  options.video.colourDepth, options.video.windowed ? "windowed" : "full-screen");
    smallFont->AddText(info, 0xFFE8F0FF, 24, options.video.height - 38, 466, options.video.height - 14);
    return PlaceLamps(seconds);
}

bool DemoScene::AfterFrame(bool frameSucceeded)
{
    if (!frameSucceeded)
    {
        patternLost = true;
        return true;
    }
    if (!patternLost)
        return true;
    patternLost = false;
    log.Note("the device was reset: filling the pattern again");
    return FillPattern();
}
