#ifndef BENCH_SCENE_H
#define BENCH_SCENE_H

// A scene of characters driven through the plug-in's public interface
// (GetPlugin, IGraphics, ICharacter) on the stand-in device, the way a host
// drives it: what the frame benchmarks measure.

#include <cstdint>
#include <random>
#include <vector>

#include "IGraphics.h"
#include "ILogger.h"

namespace bench {

// A vertex format characters are made with, and its stride in bytes.
struct VertexFormat
{
    std::uint32_t fvf;
    std::uint32_t stride;
};

// The formats a scene draws with: it uses the first few.
extern const VertexFormat kVertexFormats[6];
const int kMaterialRecords = 50;

// One character of the scene: an untextured quad (two triangles) with its
// format, layer, record and place.
struct Quad
{
    int format;  // index into kVertexFormats
    int layer;
    int record;  // index into the scene's records
    std::uint32_t vertexCount;  // its own, so that a recorded draw says which quad it is
    float x, y, yaw;
};

class QuietLogger final : public ILogger
{
public:
    void Log(int, const char*, ...) override {}
    void NewLine() override {}
};

// N quads in random creation order over the first `formats` vertex formats
// and the 50 material records, on layers 0 to `layers` - 1; sorted and drawn
// once. The device does not check a draw's vertex count against its buffer,
// so each quad draws with a count of its own and the recorded calls show the
// order of drawing. One scene at a time: it resets the stand-in device, and
// leaves recording off but for the frames that read the calls.
class Scene
{
public:
    Scene(int count, int formats, int layers);
    ~Scene();
    Scene(const Scene&) = delete;
    Scene& operator=(const Scene&) = delete;

    // A new quad as the scene's are made, with a format, layer and record
    // drawn from `random`, placed at `index` of the grid.
    Quad RandomQuad(std::mt19937& random, int index) const;
    // Creates the character of a quad as a host does: CreateCharacter,
    // Create, SetMaterial, SetPosition, SetRotation.
    ICharacter* Add(const Quad& quad);

    // The quads in the order the graphics system draws them, read from the
    // draws of one recorded frame.
    std::vector<Quad> DrawOrder();
    // How many characters one frame draws.
    int RecordedDraws();

    QuietLogger logger;
    IGraphics* graphics;
    std::vector<MaterialDesc*> records;
    std::vector<Quad> quads;  // in creation order

private:
    int formats;
    int layers;
};

}  // namespace bench

#endif
