// One steady frame of the graphics system on the stand-in device, recording
// off, against a direct loop that makes the same device calls from plain
// arrays (the two matrix products per character included).

#include <benchmark/benchmark.h>

#include <standin/Recorder.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "CActor.h"
#include "CCamera.h"
#include "CGraphicsD3D.h"
#include "ILogger.h"
#include "VideoSettings.h"

namespace {

class QuietLogger final : public ILogger
{
public:
    void Log(int, const char*, ...) override {}
    void NewLine() override {}
};

// N untextured quads in random creation order over two vertex formats and
// 50 material records, on L layers; sorted and drawn once.
class Scene
{
public:
    Scene(int count, int layers)
    {
        standin::Reset();
        if (CreateGraphicsSystem(graphics, nullptr, &logger, VideoSettings()) != 0)
            throw std::runtime_error("frame benchmark: no graphics system");
        std::vector<MaterialDesc*> materials;
        for (int i = 0; i < 50; ++i)
        {
            materials.push_back(graphics.CreateMaterial());
            materials.back()->diffuse[0] = static_cast<float>(i) / 50.0f;
        }
        const std::uint32_t formats[] = {D3DFVF_XYZ | D3DFVF_DIFFUSE, D3DFVF_XYZ | D3DFVF_NORMAL};
        const std::uint32_t strides[] = {16, 24};
        const float vertices[4 * 6] = {};
        const std::uint32_t indices[6] = {0, 1, 2, 2, 1, 3};
        std::mt19937 random(11);
        for (int i = 0; i < count; ++i)
        {
            const int format = static_cast<int>(random() % 2);
            ICharacter* character = graphics.CreateCharacter();
            character->Create(4, static_cast<int>(random() % static_cast<unsigned>(layers)), formats[format],
                              4 * strides[format], strides[format], 6, vertices, indices);
            character->SetMaterial(materials[random() % 50]);
            character->SetPosition(static_cast<float>(i % 100), static_cast<float>(i / 100), 5.0f);
            character->SetRotation(0.0f, static_cast<float>(i % 360), 0.0f);
        }
        graphics.RenderFrame();
    }
    ~Scene() { graphics.DestroyGraphicsSystem(); }

    QuietLogger logger;
    CGraphicsD3D graphics;
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
    UINT triangleCount;
    D3DXMATRIX rotation;
    D3DXMATRIX translation;
    D3DXMATRIX scaling;
};

// The scene's device calls made straight from plain arrays.
class DirectLoop
{
public:
    explicit DirectLoop(Scene& scene) : device(scene.graphics.device)
    {
        const CCamera* camera = static_cast<const CCamera*>(scene.graphics.camera);
        eye = camera->eye;
        at = camera->at;
        up = camera->up;
        std::vector<const MaterialDesc*> records;
        for (ICharacter* character : scene.graphics.characters)
        {
            const CActor* actor = static_cast<const CActor*>(character);
            if (std::find(records.begin(), records.end(), actor->materialDesc) == records.end())
            {
                records.push_back(actor->materialDesc);
                materials.push_back(actor->material);
            }
        }
        // Layers in increasing order, registry order within a layer.
        std::vector<const CActor*> drawn;
        for (ICharacter* character : scene.graphics.characters)
            drawn.push_back(static_cast<const CActor*>(character));
        std::stable_sort(drawn.begin(), drawn.end(),
                         [](const CActor* a, const CActor* b) { return a->layer < b->layer; });
        for (const CActor* actor : drawn)
        {
            const std::size_t record =
                static_cast<std::size_t>(std::find(records.begin(), records.end(), actor->materialDesc) - records.begin());
            characters.push_back({actor->fvf, &materials[record], actor->vertexBuffer, actor->indexBuffer,
                                  actor->stride, actor->vertexCount, static_cast<UINT>(actor->indexCount / 3),
                                  actor->rotation, actor->translation, actor->scaling});
        }
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
            device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, character.vertexCount, 0, character.triangleCount);
        }
        device->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
        device->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
        device->EndScene();
    }

private:
    IDirect3DDevice9* device;
    D3DXVECTOR3 eye, at, up;
    D3DXMATRIX view;
    D3DXMATRIX world;
    std::vector<D3DMATERIAL9> materials;
    std::vector<DirectCharacter> characters;
    DWORD lastFVF = ~DWORD{0};
    const D3DMATERIAL9* lastMaterial = nullptr;
};

// The calls of the third of three frames, each way from the same scene.
void CheckSameCalls(Scene& scene, DirectLoop& direct)
{
    standin::SetRecording(true);
    scene.graphics.RenderFrame();
    standin::ClearCalls();
    scene.graphics.RenderFrame();
    const std::vector<std::string> plugin = standin::CallTexts();
    direct.Frame();
    direct.Frame();
    standin::ClearCalls();
    direct.Frame();
    const std::vector<std::string> straight = standin::CallTexts();
    standin::ClearCalls();
    if (plugin != straight || plugin.size() < scene.graphics.characters.size() * 10)
        throw std::logic_error("frame benchmark: the two ways make different calls");
}

void RenderFrame(benchmark::State& state, int count, int layers)
{
    Scene scene(count, layers);
    standin::SetRecording(false);
    for (auto _ : state)
        scene.graphics.RenderFrame();
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
