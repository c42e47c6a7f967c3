// One steady frame of the graphics system on the stand-in device, recording
// off, against a direct loop that makes the same device calls from plain
// arrays (the two matrix products per character included).

#include <benchmark/benchmark.h>

#include <standin/Recorder.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <regex>
#include <stdexcept>
#include <string>
#include <vector>

#include "Angles.h"
#include "IGraphics.h"
#include "ILogger.h"
#include "VideoSettings.h"

namespace {

class QuietLogger final : public ILogger
{
public:
    void Log(int, const char*, ...) override {}
    void NewLine() override {}
};

const std::uint32_t kFormats[] = {D3DFVF_XYZ | D3DFVF_DIFFUSE, D3DFVF_XYZ | D3DFVF_NORMAL};
const UINT kStrides[] = {16, 24};
const int kRecords = 50;

// One quad of the scene: two triangles with its format, layer, record and place.
struct Quad
{
    int format;
    int layer;
    int record;
    UINT vertexCount;  // its own, so that a recorded draw says which quad it is
    float x, y, yaw;
};

// N untextured quads in random creation order over two vertex formats and
// 50 material records, on L layers; sorted and drawn once. The device does
// not check a draw's vertex count against its buffer, so each quad draws
// with a count of its own and the recorded calls show the order of drawing.
class Scene
{
public:
    Scene(int count, int layers)
    {
        standin::Reset();
        if (CreateGraphicsSystem(*graphics, nullptr, &logger, VideoSettings()) != 0)
            throw std::runtime_error("frame benchmark: no graphics system");
        std::vector<MaterialDesc*> records;
        for (int i = 0; i < kRecords; ++i)
        {
            records.push_back(graphics->CreateMaterial());
            records.back()->diffuse[0] = static_cast<float>(i) / kRecords;
        }
        const float vertices[4 * 6] = {};
        const std::uint32_t indices[6] = {0, 1, 2, 2, 1, 3};
        std::mt19937 random(11);
        for (int i = 0; i < count; ++i)
        {
            Quad quad;
            quad.format = static_cast<int>(random() % 2);
            quad.layer = static_cast<int>(random() % static_cast<unsigned>(layers));
            quad.record = static_cast<int>(random() % kRecords);
            quad.vertexCount = static_cast<UINT>(4 + i);
            quad.x = static_cast<float>(i % 100);
            quad.y = static_cast<float>(i / 100);
            quad.yaw = static_cast<float>(i % 360);
            ICharacter* character = graphics->CreateCharacter();
            character->Create(quad.vertexCount, quad.layer, kFormats[quad.format], 4 * kStrides[quad.format],
                              kStrides[quad.format], 6, vertices, indices);
            character->SetMaterial(records[quad.record]);
            character->SetPosition(quad.x, quad.y, 5.0f);
            character->SetRotation(0.0f, quad.yaw, 0.0f);
            quads.push_back(quad);
        }
        graphics->RenderFrame();
    }
    ~Scene()
    {
        graphics->DestroyGraphicsSystem();
        graphics->Destroy();
    }

    // The quads in the order the graphics system draws them, read from the
    // draws of one recorded frame.
    std::vector<Quad> DrawOrder()
    {
        standin::SetRecording(true);
        standin::ClearCalls();
        graphics->RenderFrame();
        std::vector<Quad> order;
        for (const standin::Call& call : standin::Calls())
            if (call.name == "DrawIndexedPrimitive")
            {
                // Type, base vertex, minimum index, then the vertex count.
                const std::size_t at = call.args.find(", 0, 0, ") + 8;
                order.push_back(quads[std::stoul(call.args.substr(at)) - 4]);
            }
        standin::ClearCalls();
        return order;
    }

    QuietLogger logger;
    IGraphics* graphics = GetPlugin(nullptr);
    std::vector<Quad> quads;  // in creation order
};

// What a program drawing the scene itself keeps per character, in drawing order.
struct DirectCharacter
{
    DWORD fvf;
    const D3DMATERIAL9* material;
    IDirect3DVertexBuffer9* vertexBuffer;
    IDirect3DIndexBuffer9* indexBuffer;
    UINT stride;
    UINT vertexCount;
    D3DXMATRIX rotation;
    D3DXMATRIX translation;
    D3DXMATRIX scaling;
};

// The scene's device calls made straight from plain arrays, on a device of
// its own, in the order the graphics system draws.
class DirectLoop
{
public:
    explicit DirectLoop(Scene& scene)
    {
        d3d = Direct3DCreate9(D3D_SDK_VERSION);
        D3DPRESENT_PARAMETERS params = {};
        params.BackBufferWidth = 800;
        params.BackBufferHeight = 600;
        params.SwapEffect = D3DSWAPEFFECT_DISCARD;
        params.Windowed = TRUE;
        params.EnableAutoDepthStencil = TRUE;
        params.AutoDepthStencilFormat = D3DFMT_D24S8;
        if (d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, nullptr, D3DCREATE_HARDWARE_VERTEXPROCESSING,
                              &params, &device) < 0)
            throw std::runtime_error("frame benchmark: no device for the direct loop");
        for (int i = 0; i < kRecords; ++i)
        {
            D3DMATERIAL9 material = {};
            material.Diffuse.r = static_cast<float>(i) / kRecords;
            materials.push_back(material);
        }
        for (const Quad& quad : scene.DrawOrder())
        {
            DirectCharacter character = {};
            character.fvf = kFormats[quad.format];
            character.material = &materials[static_cast<std::size_t>(quad.record)];
            character.stride = kStrides[quad.format];
            character.vertexCount = quad.vertexCount;
            device->CreateVertexBuffer(4 * character.stride, D3DUSAGE_WRITEONLY, character.fvf, D3DPOOL_DEFAULT,
                                       &character.vertexBuffer, nullptr);
            device->CreateIndexBuffer(6 * 4, D3DUSAGE_WRITEONLY, D3DFMT_INDEX32, D3DPOOL_DEFAULT,
                                      &character.indexBuffer, nullptr);
            D3DXMatrixTranslation(&character.translation, quad.x, quad.y, 5.0f);
            D3DXMatrixRotationYawPitchRoll(&character.rotation, DegreesToRadians(quad.yaw), 0.0f, 0.0f);
            D3DXMatrixIdentity(&character.scaling);
            characters.push_back(character);
        }
    }

    ~DirectLoop()
    {
        for (DirectCharacter& character : characters)
        {
            character.vertexBuffer->Release();
            character.indexBuffer->Release();
        }
        device->Release();
        d3d->Release();
    }

    void Frame()
    {
        device->TestCooperativeLevel();
        device->Present(nullptr, nullptr, nullptr, nullptr);
        device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL, 0, 1.0f, 0);
        D3DXMatrixLookAtLH(&view, &eye, &at, &up);
        device->SetTransform(D3DTS_VIEW, &view);
        device->BeginScene();
        for (const DirectCharacter& character : characters)
        {
            if (character.fvf != lastFVF)
            {
                lastFVF = character.fvf;
                device->SetFVF(character.fvf);
            }
            if (character.material != lastMaterial)
            {
                lastMaterial = character.material;
                device->SetMaterial(character.material);
            }
            device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
            device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_DIFFUSE);
            device->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_CURRENT);
            device->SetStreamSource(0, character.vertexBuffer, 0, character.stride);
            device->SetIndices(character.indexBuffer);
            D3DXMatrixMultiply(&world, &character.rotation, &character.translation);
            D3DXMatrixMultiply(&world, &world, &character.scaling);
            device->SetTransform(D3DTS_WORLD, &world);
            device->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
            device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, character.vertexCount, 0, 2);
        }
        device->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
        device->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
        device->EndScene();
    }

    std::size_t Characters() const { return characters.size(); }

private:
    IDirect3D9* d3d = nullptr;
    IDirect3DDevice9* device = nullptr;
    // The graphics system's camera as it starts.
    D3DXVECTOR3 eye = D3DXVECTOR3(0.0f, 0.0f, -1.0f);
    D3DXVECTOR3 at = D3DXVECTOR3(0.0f, 0.0f, 0.0f);
    D3DXVECTOR3 up = D3DXVECTOR3(0.0f, 1.0f, 0.0f);
    D3DXMATRIX view;
    D3DXMATRIX world;
    std::vector<D3DMATERIAL9> materials;
    std::vector<DirectCharacter> characters;
    DWORD lastFVF = ~DWORD{0};
    const D3DMATERIAL9* lastMaterial = nullptr;
};

// The call texts recorded since the last time, each resource named by its
// kind alone: the two ways make their own buffers.
std::vector<std::string> RecordedCalls()
{
    static const std::regex number("#[0-9]+");
    std::vector<std::string> calls;
    for (const std::string& text : standin::CallTexts())
        calls.push_back(std::regex_replace(text, number, "#"));
    standin::ClearCalls();
    return calls;
}

// The calls of the third of three frames, each way from the same scene.
void CheckSameCalls(Scene& scene, DirectLoop& direct)
{
    standin::SetRecording(true);
    scene.graphics->RenderFrame();
    standin::ClearCalls();
    scene.graphics->RenderFrame();
    const std::vector<std::string> plugin = RecordedCalls();
    direct.Frame();
    direct.Frame();
    standin::ClearCalls();
    direct.Frame();
    const std::vector<std::string> straight = RecordedCalls();
    if (plugin != straight || plugin.size() < direct.Characters() * 10)
        throw std::logic_error("frame benchmark: the two ways make different calls");
}

void RenderFrame(benchmark::State& state, int count, int layers)
{
    Scene scene(count, layers);
    standin::SetRecording(false);
    for (auto _ : state)
        scene.graphics->RenderFrame();
}

void DirectCalls(benchmark::State& state, int count, int layers)
{
    Scene scene(count, layers);
    DirectLoop direct(scene);
    CheckSameCalls(scene, direct);
    standin::SetRecording(false);
    for (auto _ : state)
        direct.Frame();
}

const bool registered = [] {
    for (int count : {1000, 10000})
        for (int layers : {1, 10, 100})
        {
            const std::string job =
                "frame, N=" + std::to_string(count) + ", L=" + std::to_string(layers);
            benchmark::RegisterBenchmark((job + " | RenderFrame").c_str(), RenderFrame, count, layers)
                ->Unit(benchmark::kMicrosecond);
            benchmark::RegisterBenchmark((job + " | direct loop").c_str(), DirectCalls, count, layers)
                ->Unit(benchmark::kMicrosecond);
        }
    return true;
}();

}  // namespace
