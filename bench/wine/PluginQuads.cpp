// The quad scene drawn through GraphicsDLL.dll, as a host draws it.

#include <cstdio>
#include <vector>

#include "HostWindow.h"
#include "ICharacter.h"
#include "IFont.h"
#include "ILogger.h"
#include "PluginLibrary.h"
#include "QuadScene.h"
#include "VideoSettings.h"

namespace {

class QuietLogger final : public ILogger
{
public:
    void Log(int, const char*, ...) override {}
    void NewLine() override {}
};

bool Run(const quads::Options& options, HostWindow& window, IGraphics& graphics)
{
    QuietLogger logger;
    VideoSettings video;
    video.width = quads::kWidth;
    video.height = quads::kHeight;
    video.vsync = false;
    video.maxVisibleDepth = quads::kFarDistance;
    if (CreateGraphicsSystem(graphics, window.Handle(), &logger, video) != 0)
        return false;
    graphics.SetLighting(false);
    graphics.Clear(quads::kClearColour);
    for (int i = 0; i < options.count; ++i)
    {
        const quads::Placement place = quads::Place(i, options.count);
        quads::Vertex vertices[4];
        std::uint32_t indices[6];
        quads::MakeQuad(place.half, place.colour, vertices, indices);
        ICharacter* character = graphics.CreateCharacter();
        if (character == nullptr ||
            character->Create(4, 0, quads::Vertex::kFVF, sizeof vertices, sizeof(quads::Vertex), 6, vertices,
                              indices) != 0)
            return false;
        character->SetPosition(place.x, place.y, place.z);
    }
    IFont* font = graphics.CreateFont("Tahoma", 0, quads::kFontHeight, quads::kFontWeight);
    if (font == nullptr)
        return false;
    const std::string text = std::to_string(options.count) + " quads";

    const bool drawn = quads::TimeFrames([&] {
        font->AddText(text.c_str(), quads::kTextColour, quads::kTextRect.left, quads::kTextRect.top,
                      quads::kTextRect.right, quads::kTextRect.bottom);
        return window.PumpMessages() && graphics.RenderFrame() == 0;
    });
    return drawn && graphics.SaveScreenshot(options.screenshot.c_str()) == 0;
}

}  // namespace

int main(int argc, char** argv)
{
    quads::Options options;
    if (!quads::ParseOptions(argc, argv, options))
        return 2;
    HostWindow window;
    PluginLibrary plugin;
    if (!window.Create(L"Quads through the plug-in", quads::kWidth, quads::kHeight, true) ||
        !plugin.Load(ProgramDirectory() + L"GraphicsDLL.dll"))
        return 1;
    IGraphics* graphics = plugin.NewGraphics();
    if (graphics == nullptr)
        return 1;
    const bool ok = Run(options, window, *graphics);
    graphics->DestroyGraphicsSystem();
    graphics->Destroy();
    if (!ok)
        std::fprintf(stderr, "the plug-in refused the scene\n");
    return ok ? 0 : 1;
}
