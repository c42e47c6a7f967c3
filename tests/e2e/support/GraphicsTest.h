#ifndef E2E_GRAPHICSTEST_H
#define E2E_GRAPHICSTEST_H

// <windows.h> before the plug-in's headers, as in every host.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "Bitmap.h"
#include "HostWindow.h"
#include "IGraphics.h"
#include "Meshes.h"
#include "RecordingLogger.h"
#include "VideoSettings.h"

// The video settings a test brings its graphics system up with unless it
// says otherwise: a small window, no vsync, a near far plane.
VideoSettings SmallWindow();

// A graphics system from GraphicsDLL.dll in a real window on Wine's
// Direct3D 9, with a logger that records every line, shut down after the
// test.
class GraphicsTest : public ::testing::Test
{
protected:
    void TearDown() override;

    // Opens the window, calls CreateGraphicsSystem and sets the states a
    // picture test begins from: the clear colour, solid fill, lighting off.
    void StartPlain(std::uint32_t clearColour, const VideoSettings& settings = SmallWindow());
    // One RenderFrame that must succeed, then the frame as SaveScreenshot
    // writes it, read back; no pixels when that failed. Files stay in
    // e2e-output beside the tests.
    Bitmap Capture();

    // A file in the output folder named after the running test.
    std::string OutputPath(const std::string& suffix) const;
    // The log lines written since the mark was taken.
    std::size_t Mark() const { return log.lines.size(); }
    std::vector<std::string> LinesSince(std::size_t mark) const;
    // Every log line, for failure messages.
    std::string LogText() const;

    RecordingLogger log;
    HostWindow window;
    IGraphics* graphics = nullptr;
    VideoSettings settings;

private:
    int captures = 0;
};

// A pre-transformed rectangle in pixels, drawn with its vertex colour.
ICharacter* AddRect(IGraphics& graphics, float left, float top, float right, float bottom,
                    float depth, D3DCOLOR colour, int layer);
// A pre-transformed rectangle showing the whole texture.
ICharacter* AddPicture(IGraphics& graphics, ITexture* texture, float left, float top, float right,
                       float bottom, float depth, int layer);

// 0xRRGGBB of a D3DCOLOR, for comparing with screenshot pixels.
inline std::uint32_t Rgb(D3DCOLOR colour)
{
    return colour & 0xFFFFFFu;
}

// Each channel of the pixel within tolerance of the expected colour.
::testing::AssertionResult PixelIs(const Bitmap& bitmap, int x, int y, std::uint32_t expected,
                                   int tolerance = 0);
// How many pixels of the region [left, right) x [top, bottom) differ from
// colour; -1 for a picture that could not be read (Capture says why).
int CountOther(const Bitmap& bitmap, int left, int top, int right, int bottom,
               std::uint32_t colour);

#endif
