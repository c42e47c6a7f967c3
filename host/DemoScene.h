#ifndef HOST_DEMOSCENE_H
#define HOST_DEMOSCENE_H

#include <windows.h>

#include <cstdint>
#include <string>

#include "ConsoleLogger.h"
#include "HostOptions.h"
#include "IGraphics.h"
#include "Meshes.h"

// The demo: a turning, lit cube with a keyed-out window in its texture on a
// pedestal, a lit floor and columns, two translucent crystals on a higher
// layer, a board showing a pattern filled from memory, an overlay panel
// with text, and a camera swinging in front of it all. Everything goes
// through IGraphics; the graphics system owns every object made here.
class DemoScene
{
public:
    DemoScene(IGraphics& graphics, ConsoleLogger& log, const HostOptions& options);

    // Creates every object. On the first failure says which in the log and
    // returns false.
    bool Build(const std::string& assetsDirectory);
    // Places everything for this frame and queues its text; frames count
    // from 1. False when the graphics system refused a change.
    bool Update(int frame, double framesPerSecond);
    // Called after every RenderFrame: the graphics system brings back file
    // textures after a device reset, but the host must fill its blank texture
    // again. False when that fails.
    bool AfterFrame(bool frameSucceeded);

private:
    bool BuildLights();
    bool PlaceLamps(float seconds);
    bool BuildStage();
    bool BuildCube(const std::string& assetsDirectory);
    bool BuildCrystals();
    bool BuildBoard();
    bool BuildOverlay();
    bool BuildFonts();
    bool FillPattern();
    MaterialDesc* NewMaterial(Vector3 ambient, Vector3 diffuse, Vector3 emissive);
    bool Failed(const char* what);
    void PlaceCamera(float seconds);

    IGraphics& graphics;
    ConsoleLogger& log;
    const HostOptions& options;

    ICharacter* cube = nullptr;
    ICharacter* crystals[2] = {nullptr, nullptr};
    ILight* lamps[2] = {nullptr, nullptr};
    ITexture* patternTexture = nullptr;
    IFont* titleFont = nullptr;
    IFont* smallFont = nullptr;
    int patternFills = 0;
    bool patternLost = false;
};

#endif
