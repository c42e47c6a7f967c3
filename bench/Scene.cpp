#include "Scene.h"

#include <standin/Recorder.h>

#include <stdexcept>
#include <string>

#include "VideoSettings.h"

namespace bench {

namespace {

// The calls of one frame, recorded with recording switched on for it alone.
std::vector<standin::Call> RecordedFrame(IGraphics& graphics)
{
    standin::SetRecording(true);
    standin::ClearCalls();
    graphics.RenderFrame();
    std::vector<standin::Call> calls = standin::Calls();
    standin::ClearCalls();
    standin::SetRecording(false);
    return calls;
}

}  // namespace

const VertexFormat kVertexFormats[6] = {
    {D3DFVF_XYZ | D3DFVF_DIFFUSE, 16},
    {D3DFVF_XYZ | D3DFVF_NORMAL, 24},
    {D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_DIFFUSE, 28},
    {D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1, 32},
    {D3DFVF_XYZ | D3DFVF_DIFFUSE | D3DFVF_TEX1, 24},
    {D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_DIFFUSE | D3DFVF_TEX1, 36},
};

Scene::Scene(int count, int formats, int layers) : formats(formats), layers(layers)
{
    standin::Reset();
    standin::SetRecording(false);
    graphics = GetPlugin(nullptr);
    if (graphics == nullptr || CreateGraphicsSystem(*graphics, nullptr, &logger, VideoSettings()) != 0)
        throw std::runtime_error("scene: no graphics system");
    for (int i = 0; i < kMaterialRecords; ++i)
    {
        records.push_back(graphics->CreateMaterial());
        records.back()->diffuse[0] = static_cast<float>(i) / kMaterialRecords;
    }
    std::mt19937 random(11);
    for (int i = 0; i < count; ++i)
    {
        quads.push_back(RandomQuad(random, i));
        Add(quads.back());
    }
    graphics->RenderFrame();
}

Scene::~Scene()
{
    graphics->DestroyGraphicsSystem();
    graphics->Destroy();
}

Quad Scene::RandomQuad(std::mt19937& random, int index) const
{
    Quad quad;
    quad.format = static_cast<int>(random() % static_cast<unsigned>(formats));
    quad.layer = static_cast<int>(random() % static_cast<unsigned>(layers));
    quad.record = static_cast<int>(random() % kMaterialRecords);
    quad.vertexCount = static_cast<std::uint32_t>(4 + index);
    quad.x = static_cast<float>(index % 100);
    quad.y = static_cast<float>(index / 100);
    quad.yaw = static_cast<float>(index % 360);
    return quad;
}

ICharacter* Scene::Add(const Quad& quad)
{
    const float vertices[4 * 9] = {};  // room for the widest format
    const std::uint32_t indices[6] = {0, 1, 2, 2, 1, 3};
    const VertexFormat& format = kVertexFormats[quad.format];
    ICharacter* character = graphics->CreateCharacter();
    if (character == nullptr ||
        character->Create(quad.vertexCount, quad.layer, format.fvf, 4 * format.stride, format.stride, 6, vertices,
                          indices) != 0 ||
        character->SetMaterial(records[static_cast<std::size_t>(quad.record)]) != 0)
        throw std::runtime_error("scene: a character could not be made");
    character->SetPosition(quad.x, quad.y, 5.0f);
    character->SetRotation(0.0f, quad.yaw, 0.0f);
    return character;
}

std::vector<Quad> Scene::DrawOrder()
{
    std::vector<Quad> order;
    for (const standin::Call& call : RecordedFrame(*graphics))
        if (call.name == "DrawIndexedPrimitive")
        {
            // Type, base vertex, minimum index, then the vertex count.
            const std::size_t at = call.args.find(", 0, 0, ") + 8;
            order.push_back(quads.at(std::stoul(call.args.substr(at)) - 4));
        }
    return order;
}

int Scene::RecordedDraws()
{
    int draws = 0;
    for (const standin::Call& call : RecordedFrame(*graphics))
        draws += call.name == "DrawIndexedPrimitive";
    return draws;
}

}  // namespace bench
