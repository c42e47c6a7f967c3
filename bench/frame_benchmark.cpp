// One steady frame of the graphics system on the stand-in device, recording
// off, against a direct loop that makes the same device calls from plain
// arrays (the two matrix products per character included).

#include <standin/Recorder.h>

#include <cstdint>
#include <regex>
#include <stdexcept>
#include <string>
#include <vector>

#include "Alternate.h"
#include "Angles.h"
#include "Comparisons.h"
#include "Scene.h"

namespace bench {

namespace {

// Scenes over two vertex formats (and the 50 records).
const int kFormats = 2;

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
        for (int i = 0; i < kMaterialRecords; ++i)
        {
            D3DMATERIAL9 material = {};
            material.Diffuse.r = static_cast<float>(i) / kMaterialRecords;
            materials.push_back(material);
        }
        // Buffers made in the scene's creation order, as the host made the
        // plug-in's, then used in drawing order: both ways reach the device's
        // objects in the same order through memory. Made in drawing order,
        // they would lie in memory as the frame walks them, and at 10,000
        // characters that alone halved the direct loop's time.
        std::vector<IDirect3DVertexBuffer9*> vertexBuffers;
        std::vector<IDirect3DIndexBuffer9*> indexBuffers;
        for (const Quad& quad : scene.quads)
        {
            const VertexFormat& format = kVertexFormats[quad.format];
            vertexBuffers.push_back(nullptr);
            indexBuffers.push_back(nullptr);
            device->CreateVertexBuffer(4 * format.stride, D3DUSAGE_WRITEONLY, format.fvf, D3DPOOL_DEFAULT,
                                       &vertexBuffers.back(), nullptr);
            device->CreateIndexBuffer(6 * 4, D3DUSAGE_WRITEONLY, D3DFMT_INDEX32, D3DPOOL_DEFAULT,
                                      &indexBuffers.back(), nullptr);
        }
        for (const Quad& quad : scene.DrawOrder())
        {
            DirectCharacter character = {};
            character.fvf = kVertexFormats[quad.format].fvf;
            character.material = &materials[static_cast<std::size_t>(quad.record)];
            character.stride = kVertexFormats[quad.format].stride;
            character.vertexCount = quad.vertexCount;
            const std::size_t made = quad.vertexCount - 4;  // its place in creation order
            character.vertexBuffer = vertexBuffers[made];
            character.indexBuffer = indexBuffers[made];
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
    standin::SetRecording(false);
    if (plugin != straight || plugin.size() < direct.Characters() * 10)
        throw std::logic_error("frame benchmark: the two ways make different calls");
}

}  // namespace

void CompareSteadyFrames(Table& table)
{
    for (int count : {1000, 10000})
        for (int layers : {1, 10, 100})
        {
            const std::string job = "frame, N=" + std::to_string(count) + ", L=" + std::to_string(layers);
            if (!table.Wants(job))
                continue;
            Scene scene(count, kFormats, layers);
            DirectLoop direct(scene);
            CheckSameCalls(scene, direct);
            Comparison comparison;
            comparison.job = job;
            comparison.a = {"RenderFrame", Repeat([&scene] { scene.graphics->RenderFrame(); })};
            comparison.b = {"direct loop", Repeat([&direct] { direct.Frame(); })};
            comparison.goal = 1.10;
            table.Run(comparison);
        }
}

}  // namespace bench
