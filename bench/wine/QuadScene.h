#ifndef BENCH_QUADSCENE_H
#define BENCH_QUADSCENE_H

// The scene both frame-rate programs draw: N untextured quads of one vertex
// format in a grid before the default camera, lighting off, and one line of
// text; and how a run is timed and reported. Both programs make the same
// Direct3D 9 calls, one through the plug-in, one straight.

#include <windows.h>
#include <d3d9.h>
#include <d3dx9.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace quads {

const int kWidth = 800;
const int kHeight = 600;
const float kFarDistance = 1000.0f;
const D3DCOLOR kClearColour = 0xFF203040;
const D3DCOLOR kTextColour = 0xFFFFFFFF;
const RECT kTextRect = {8, 8, 400, 40};
const wchar_t kFaceName[] = L"Tahoma";
const int kFontHeight = 16;
const int kFontWeight = 400;
// Frames drawn before the clock starts, and how long it then runs.
const int kWarmUpFrames = 5;
const double kTimedSeconds = 1.0;

struct Vertex
{
    static constexpr DWORD kFVF = D3DFVF_XYZ | D3DFVF_DIFFUSE;
    float x, y, z;
    D3DCOLOR colour;
};

// A quad of the given half size around the origin, clockwise from the
// camera (the side Direct3D's default culling keeps).
inline void MakeQuad(float half, D3DCOLOR colour, Vertex (&vertices)[4], std::uint32_t (&indices)[6])
{
    const Vertex corners[4] = {{-half, half, 0, colour}, {half, half, 0, colour},
                               {-half, -half, 0, colour}, {half, -half, 0, colour}};
    const std::uint32_t order[6] = {0, 1, 2, 2, 1, 3};
    for (int i = 0; i < 4; ++i)
        vertices[i] = corners[i];
    for (int i = 0; i < 6; ++i)
        indices[i] = order[i];
}

// Where quad i of n stands: a grid filling the view at depth 10.
struct Placement
{
    float x, y, z, half;
    D3DCOLOR colour;
};

inline Placement Place(int i, int n)
{
    const int columns = static_cast<int>(std::ceil(std::sqrt(n * 4.0 / 3.0)));
    const int rows = (n + columns - 1) / columns;
    const float width = 11.0f, height = 8.5f;
    const float cell = std::fmin(width / columns, height / rows);
    const int column = i % columns, row = i / columns;
    const std::uint32_t r = static_cast<std::uint32_t>(64 + (column * 191) / columns);
    const std::uint32_t g = static_cast<std::uint32_t>(64 + (row * 191) / rows);
    const std::uint32_t b = static_cast<std::uint32_t>(255 - (i * 7) % 128);
    return {(column - (columns - 1) / 2.0f) * cell, ((rows - 1) / 2.0f - row) * cell, 10.0f, cell * 0.4f,
            0xFF000000u | r << 16 | g << 8 | b};
}

inline std::wstring Text(int n)
{
    return std::to_wstring(n) + L" quads";
}

// Command line: quad count, then the file for the last frame.
struct Options
{
    int count = 0;
    std::string screenshot;
};

inline bool ParseOptions(int argc, char** argv, Options& options)
{
    if (argc != 3 || std::atoi(argv[1]) <= 0)
    {
        std::fprintf(stderr, "usage: %s QUADS SCREENSHOT.bmp\n", argv[0]);
        return false;
    }
    options.count = std::atoi(argv[1]);
    options.screenshot = argv[2];
    return true;
}

// Runs frame() through the warm-up, then for the timed span; prints the rate.
template <typename Frame>
bool TimeFrames(Frame frame)
{
    for (int i = 0; i < kWarmUpFrames; ++i)
        if (!frame())
            return false;
    LARGE_INTEGER frequency, start, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    int frames = 0;
    double elapsed = 0.0;
    do
    {
        if (!frame())
            return false;
        ++frames;
        QueryPerformanceCounter(&now);
        elapsed = static_cast<double>(now.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
    } while (elapsed < kTimedSeconds);
    std::printf("fps %.3f frames %d seconds %.3f\n", frames / elapsed, frames, elapsed);
    return true;
}

}  // namespace quads

#endif
