#include "Meshes.h"

#include <cmath>
#include <utility>

namespace {

const float kPi = 3.14159265f;

Vector3 Add(Vector3 a, Vector3 b)
{
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
Vector3 Subtract(Vector3 a, Vector3 b)
{
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
Vector3 Scale(Vector3 a, float s)
{
    return {a.x * s, a.y * s, a.z * s};
}
float Dot(Vector3 a, Vector3 b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

Vector3 Cross(Vector3 a, Vector3 b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

Vector3 Normalised(Vector3 a)
{
    float length = std::sqrt(Dot(a, a));
    return length > 0 ? Scale(a, 1.0f / length) : a;
}

// A flat-shaded triangle facing away from `inside`, whatever order the
// corners come in.
template <typename Vertex>
void AddOutwardTriangle(Mesh<Vertex>& mesh, Vector3 a, Vector3 b, Vector3 c, Vector3 inside,
                        D3DCOLOR colour)
{
    // Clockwise seen from the front means this cross product points at the viewer.
    Vector3 normal = Normalised(Cross(Subtract(b, a), Subtract(c, a)));
    Vector3 centre = Scale(Add(Add(a, b), c), 1.0f / 3);
    if (Dot(normal, Subtract(centre, inside)) < 0)
    {
        std::swap(b, c);
        normal = Scale(normal, -1);
    }
    auto first = static_cast<std::uint32_t>(mesh.vertices.size());
    mesh.vertices.push_back(Vertex::Make(a, normal, 0, 0, colour));
    mesh.vertices.push_back(Vertex::Make(b, normal, 0, 0, colour));
    mesh.vertices.push_back(Vertex::Make(c, normal, 0, 0, colour));
    mesh.indices.insert(mesh.indices.end(), {first, first + 1, first + 2});
}

template <typename Vertex>
void AddScreenQuad(Mesh<Vertex>& mesh, const Vertex (&corners)[4])
{
    // Corners run top-left, top-right, bottom-right, bottom-left: clockwise.
    auto first = static_cast<std::uint32_t>(mesh.vertices.size());
    for (const Vertex& corner : corners)
        mesh.vertices.push_back(corner);
    mesh.indices.insert(mesh.indices.end(),
                        {first, first + 1, first + 2, first, first + 2, first + 3});
}

}  // namespace

template <typename Vertex>
void AddQuad(Mesh<Vertex>& mesh, Vector3 centre, Vector3 right, Vector3 up, D3DCOLOR colour)
{
    Vector3 normal = Normalised(Cross(up, right));
    Vector3 bottomLeft = Subtract(Subtract(centre, right), up);
    Vector3 topLeft = Add(Subtract(centre, right), up);
    Vector3 topRight = Add(Add(centre, right), up);
    Vector3 bottomRight = Subtract(Add(centre, right), up);
    auto first = static_cast<std::uint32_t>(mesh.vertices.size());
    mesh.vertices.push_back(Vertex::Make(bottomLeft, normal, 0, 1, colour));
    mesh.vertices.push_back(Vertex::Make(topLeft, normal, 0, 0, colour));
    mesh.vertices.push_back(Vertex::Make(topRight, normal, 1, 0, colour));
    mesh.vertices.push_back(Vertex::Make(bottomRight, normal, 1, 1, colour));
    mesh.indices.insert(mesh.indices.end(),
                        {first, first + 1, first + 2, first, first + 2, first + 3});
}

template void AddQuad(Mesh<LitVertex>&, Vector3, Vector3, Vector3, D3DCOLOR);
template void AddQuad(Mesh<ColouredVertex>&, Vector3, Vector3, Vector3, D3DCOLOR);
template void AddQuad(Mesh<TexturedVertex>&, Vector3, Vector3, Vector3, D3DCOLOR);
template void AddQuad(Mesh<UnlitTexturedVertex>&, Vector3, Vector3, Vector3, D3DCOLOR);

Mesh<TexturedVertex> MakeCube(float h, D3DCOLOR colour)
{
    Mesh<TexturedVertex> mesh;
    AddQuad(mesh, {0, 0, -h}, {h, 0, 0}, {0, h, 0}, colour);   // front
    AddQuad(mesh, {0, 0, h}, {-h, 0, 0}, {0, h, 0}, colour);   // back
    AddQuad(mesh, {h, 0, 0}, {0, 0, h}, {0, h, 0}, colour);    // right
    AddQuad(mesh, {-h, 0, 0}, {0, 0, -h}, {0, h, 0}, colour);  // left
    AddQuad(mesh, {0, h, 0}, {h, 0, 0}, {0, 0, h}, colour);    // top
    AddQuad(mesh, {0, -h, 0}, {h, 0, 0}, {0, 0, -h}, colour);  // bottom
    return mesh;
}

Mesh<LitVertex> MakeFloor(float halfSize, int cells)
{
    Mesh<LitVertex> mesh;
    float half = halfSize / cells;
    for (int row = 0; row < cells; ++row)
        for (int column = 0; column < cells; ++column)
        {
            Vector3 centre = {-halfSize + (2 * column + 1) * half, 0,
                              -halfSize + (2 * row + 1) * half};
            AddQuad(mesh, centre, {half, 0, 0}, {0, 0, half}, 0);
        }
    return mesh;
}

Mesh<LitVertex> MakeColumn(int sides, float radius, float height)
{
    Mesh<LitVertex> mesh;
    Vector3 inside = {0, height / 2, 0};
    Vector3 top = {0, height, 0};
    for (int side = 0; side < sides; ++side)
    {
        float a0 = 2 * kPi * side / sides;
        float a1 = 2 * kPi * (side + 1) / sides;
        Vector3 low0 = {radius * std::cos(a0), 0, radius * std::sin(a0)};
        Vector3 low1 = {radius * std::cos(a1), 0, radius * std::sin(a1)};
        Vector3 high0 = Add(low0, top);
        Vector3 high1 = Add(low1, top);
        AddOutwardTriangle(mesh, low0, high0, high1, inside, 0);
        AddOutwardTriangle(mesh, low0, high1, low1, inside, 0);
        AddOutwardTriangle(mesh, high0, top, high1, inside, 0);
    }
    return mesh;
}

Mesh<ColouredVertex> MakeCrystal(float radius, float halfHeight, D3DCOLOR colour)
{
    Mesh<ColouredVertex> mesh;
    const int kSides = 6;
    Vector3 tips[2] = {{0, halfHeight, 0}, {0, -halfHeight, 0}};
    for (int side = 0; side < kSides; ++side)
    {
        float a0 = 2 * kPi * side / kSides;
        float a1 = 2 * kPi * (side + 1) / kSides;
        Vector3 p0 = {radius * std::cos(a0), 0, radius * std::sin(a0)};
        Vector3 p1 = {radius * std::cos(a1), 0, radius * std::sin(a1)};
        for (Vector3 tip : tips)
            AddOutwardTriangle(mesh, p0, tip, p1, {0, 0, 0}, colour);
    }
    return mesh;
}

Mesh<UnlitTexturedVertex> MakeBoard(float halfWidth, float halfHeight)
{
    Mesh<UnlitTexturedVertex> mesh;
    const D3DCOLOR kWhite = 0xFFFFFFFF;
    AddQuad(mesh, {0, 0, 0}, {halfWidth, 0, 0}, {0, halfHeight, 0}, kWhite);
    AddQuad(mesh, {0, 0, 0}, {-halfWidth, 0, 0}, {0, halfHeight, 0}, kWhite);
    return mesh;
}

Mesh<ScreenVertex> MakeScreenRect(float left, float top, float right, float bottom, float depth,
                                  D3DCOLOR topColour, D3DCOLOR bottomColour)
{
    Mesh<ScreenVertex> mesh;
    const ScreenVertex corners[4] = {{left, top, depth, 1, topColour},
                                     {right, top, depth, 1, topColour},
                                     {right, bottom, depth, 1, bottomColour},
                                     {left, bottom, depth, 1, bottomColour}};
    AddScreenQuad(mesh, corners);
    return mesh;
}

Mesh<ScreenTexturedVertex> MakeScreenPicture(float left, float top, float right, float bottom,
                                             float depth, D3DCOLOR colour)
{
    Mesh<ScreenTexturedVertex> mesh;
    const ScreenTexturedVertex corners[4] = {{left, top, depth, 1, colour, 0, 0},
                                             {right, top, depth, 1, colour, 1, 0},
                                             {right, bottom, depth, 1, colour, 1, 1},
                                             {left, bottom, depth, 1, colour, 0, 1}};
    AddScreenQuad(mesh, corners);
    return mesh;
}
