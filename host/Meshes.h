#ifndef HOST_MESHES_H
#define HOST_MESHES_H

#include <windows.h>
#include <d3d9.h>

#include <cstdint>
#include <vector>

#include "IGraphics.h"

struct Vector3
{
    float x, y, z;
};

// The vertex layouts the host draws with, each with its flexible vertex
// format. Every layout can be made from the same description of a corner
// (position, normal, texture coordinates, colour); it keeps what it has.
struct LitVertex
{
    static constexpr std::uint32_t kFVF = D3DFVF_XYZ | D3DFVF_NORMAL;
    float x, y, z, nx, ny, nz;
    static LitVertex Make(Vector3 p, Vector3 n, float, float, D3DCOLOR)
    {
        return {p.x, p.y, p.z, n.x, n.y, n.z};
    }
};

struct ColouredVertex
{
    static constexpr std::uint32_t kFVF = D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_DIFFUSE;
    float x, y, z, nx, ny, nz;
    D3DCOLOR colour;
    static ColouredVertex Make(Vector3 p, Vector3 n, float, float, D3DCOLOR c)
    {
        return {p.x, p.y, p.z, n.x, n.y, n.z, c};
    }
};

struct TexturedVertex
{
    static constexpr std::uint32_t kFVF = D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_DIFFUSE | D3DFVF_TEX1;
    float x, y, z, nx, ny, nz;
    D3DCOLOR colour;
    float u, v;
    static TexturedVertex Make(Vector3 p, Vector3 n, float u, float v, D3DCOLOR c)
    {
        return {p.x, p.y, p.z, n.x, n.y, n.z, c, u, v};
    }
};

// No normal: under lighting only the material's emissive and ambient light
// reach it, which suits a surface that shows its texture at full brightness.
struct UnlitTexturedVertex
{
    static constexpr std::uint32_t kFVF = D3DFVF_XYZ | D3DFVF_DIFFUSE | D3DFVF_TEX1;
    float x, y, z;
    D3DCOLOR colour;
    float u, v;
    static UnlitTexturedVertex Make(Vector3 p, Vector3, float u, float v, D3DCOLOR c)
    {
        return {p.x, p.y, p.z, c, u, v};
    }
};

// Pre-transformed: x and y are pixels, z the depth in [0, 1].
struct ScreenVertex
{
    static constexpr std::uint32_t kFVF = D3DFVF_XYZRHW | D3DFVF_DIFFUSE;
    float x, y, z, rhw;
    D3DCOLOR colour;
};

struct ScreenTexturedVertex
{
    static constexpr std::uint32_t kFVF = D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1;
    float x, y, z, rhw;
    D3DCOLOR colour;
    float u, v;
};

template <typename Vertex>
struct Mesh
{
    std::vector<Vertex> vertices;
    std::vector<std::uint32_t> indices;
};

// Adds a rectangle seen from the side its normal points to: right and up are
// half extents as seen from there. Triangles are clockwise from the front,
// the side Direct3D's default culling keeps.
template <typename Vertex>
void AddQuad(Mesh<Vertex>& mesh, Vector3 centre, Vector3 right, Vector3 up, D3DCOLOR colour);

// A cube with a face normal, the whole texture and the colour on each face.
Mesh<TexturedVertex> MakeCube(float halfSize, D3DCOLOR colour);
// A flat square floor at y = 0 of cells x cells quads: vertex lighting needs
// vertices inside the floor to show the pools of the point lights.
Mesh<LitVertex> MakeFloor(float halfSize, int cells);
// An upright prism with flat sides and a top, standing on y = 0.
Mesh<LitVertex> MakeColumn(int sides, float radius, float height);
// A double pyramid with flat faces, centred on the origin.
Mesh<ColouredVertex> MakeCrystal(float radius, float halfHeight, D3DCOLOR colour);
// An upright rectangle facing -z and +z alike, for a picture seen from both sides.
Mesh<UnlitTexturedVertex> MakeBoard(float halfWidth, float halfHeight);

// Screen rectangles in pixels, colours running from top to bottom.
Mesh<ScreenVertex> MakeScreenRect(float left, float top, float right, float bottom, float depth,
                                  D3DCOLOR topColour, D3DCOLOR bottomColour);
Mesh<ScreenTexturedVertex> MakeScreenPicture(float left, float top, float right, float bottom,
                                             float depth, D3DCOLOR colour);

// A new character holding the mesh on the layer; null when the graphics
// system refuses either step.
template <typename Vertex>
ICharacter* CreateMesh(IGraphics& graphics, const Mesh<Vertex>& mesh, int layer)
{
    ICharacter* character = graphics.CreateCharacter();
    if (character == nullptr)
        return nullptr;
    int result = character->Create(
        static_cast<std::uint32_t>(mesh.vertices.size()), layer, Vertex::kFVF,
        static_cast<std::uint32_t>(mesh.vertices.size() * sizeof(Vertex)),
        static_cast<std::uint32_t>(sizeof(Vertex)), static_cast<int>(mesh.indices.size()),
        mesh.vertices.data(), mesh.indices.data());
    return result == 0 ? character : nullptr;
}

#endif
