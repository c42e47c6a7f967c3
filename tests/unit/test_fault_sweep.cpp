// The fault sweep: a full scenario, run once clean while the recording device
// records its calls, then once for every recorded call that returns an
// HRESULT, with that one call failing. Every failure must end the operation
// that made the call with 1 or null, be reported exactly once, crash nothing
// and leave no Direct3D object alive after shutdown.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <standin/Recorder.h>

#include <cstdint>
#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "CGraphicsD3D.h"
#include "RecordingLogger.h"
#include "VideoSettings.h"

namespace {

// Calls whose failure the plug-in does not check, each with the reason. A
// fault on one of these may pass without a report and without a failed
// operation; anywhere else it must not.
const std::vector<std::pair<std::string, std::string>> kUncheckedCalls = {
    {"CheckDeviceType(", "probing the back-buffer formats: a refused format is simply not chosen"},
    {"CheckDeviceMultiSampleType(", "an unsupported multisample request falls back to none"},
    {"TestCooperativeLevel(", "only asks whether a reset is due; a lost device fails at Present"},
    {"D3DXSaveSurfaceToFileW(", "a file that cannot be written is the file system's business"},
    {"SetRenderState(27, ", "per-character alpha blending: a device that refuses it still draws"},
    {"SetRenderState(171, ", "the blend operation after texture alpha: drawing goes on without it"},
    {"SetRenderState(19, ", "blend set-up after creation and reset: drawing goes on without it"},
    {"SetRenderState(20, ", "blend set-up after creation and reset: drawing goes on without it"},
    {"SetRenderState(7, ", "depth test around the overlay pass: the overlay still draws"},
    {"SetTextureStageState(0, 4, ", "the stage-0 alpha operation: drawing goes on without it"},
    {"SetTextureStageState(0, 5, ", "the stage-0 alpha argument: drawing goes on without it"},
    {"SetTextureStageState(0, 6, ", "the stage-0 alpha argument: drawing goes on without it"},
};

// Calls whose failure is reported once but leaves the device in a state that
// later frames report again, each with the reason. Only the reports up to
// the end of the failing operation are counted for these.
const std::vector<std::pair<std::string, std::string>> kLingeringFailures = {
    {"EndScene(", "a refused EndScene leaves the scene open, so every later Present is refused "
                  "too: the frame does not try to close it again"},
    {"CreateVertexBuffer(", "a Create that fails at its buffers leaves the character without "
                            "geometry, and Direct3D 9 refuses its draw in every later frame"},
    {"CreateIndexBuffer(", "as for CreateVertexBuffer: the character is left without geometry"},
    {"VertexBuffer#", "a buffer that cannot be filled fails Create: no geometry, as above"},
    {"IndexBuffer#", "a buffer that cannot be filled fails Create: no geometry, as above"},
};

bool Lingers(const std::string& callText)
{
    for (const auto& lingering : kLingeringFailures)
        if (callText.compare(0, lingering.first.size(), lingering.first) == 0)
            return true;
    return false;
}

bool Unchecked(const std::string& callText)
{
    for (const auto& unchecked : kUncheckedCalls)
        if (callText.compare(0, unchecked.first.size(), unchecked.first) == 0)
            return true;
    return false;
}

// Calls that allocate fail with E_OUTOFMEMORY, every other one with
// D3DERR_INVALIDCALL.
HRESULT FailureFor(const std::string& operation)
{
    static const char* const kAllocating[] = {
        "Direct3DCreate9", "CreateDevice", "CreateVertexBuffer", "CreateIndexBuffer",
        "CreateOffscreenPlainSurface", "D3DXCreateTexture", "D3DXCreateTextureFromFileExW",
        "D3DXCreateFontW"};
    for (const char* name : kAllocating)
        if (operation == name)
            return E_OUTOFMEMORY;
    return D3DERR_INVALIDCALL;
}

const std::uint32_t kXyzDiffuse = D3DFVF_XYZ | D3DFVF_DIFFUSE;
const std::uint32_t kXyzNormal = D3DFVF_XYZ | D3DFVF_NORMAL;

// One host operation of the scenario; true when it gave 1 or null.
struct Step
{
    std::string name;
    std::function<bool()> failed;
};

// Everything the scenario makes, null where a factory refused.
struct Scene
{
    CGraphicsD3D graphics;
    RecordingLogger logger;
    ICharacter* cube = nullptr;
    ICharacter* floor = nullptr;
    ICharacter* overlay = nullptr;
    MaterialDesc* stone = nullptr;
    MaterialDesc* glass = nullptr;
    ITexture* wood = nullptr;
    ITexture* board = nullptr;
    ILight* sun = nullptr;
    ILight* lamp = nullptr;
    IFont* title = nullptr;
    IFont* small = nullptr;
};

bool Failed(int result)
{
    return result == 1;
}

// A character with one triangle, its own format and layer; a Create that
// fails leaves it registered, as for any host.
Step MakeCharacter(const std::string& name, ICharacter*& character, std::uint32_t fvf, int layer,
                   Scene& scene)
{
    return {name, [&scene, &character, fvf, layer] {
                static const float vertices[18] = {0, 0, 0, 0, 0, 1, 1, 0, 0, 0, 0, 1, 0, 1, 0, 0, 0, 1};
                static const std::uint32_t indices[3] = {0, 1, 2};
                character = scene.graphics.CreateCharacter();
                if (character == nullptr)
                    return true;
                const std::uint32_t stride = fvf == kXyzNormal ? 24 : 16;
                return Failed(character->Create(3, layer, fvf, 3 * stride, stride, 3, vertices, indices));
            }};
}

Step Frame(Scene& scene)
{
    return {"RenderFrame", [&scene] { return Failed(scene.graphics.RenderFrame()); }};
}

std::vector<Step> FullScenario(Scene& scene)
{
    CGraphicsD3D& graphics = scene.graphics;
    std::vector<Step> steps = {
        {"CreateGraphicsSystem",
         [&] { return Failed(CreateGraphicsSystem(graphics, nullptr, &scene.logger, VideoSettings())); }},
        {"Clear", [&] { return Failed(graphics.Clear(0xFF102040)); }},
        {"SetFillMode", [&] { return Failed(graphics.SetFillMode(1)); }},
        {"SetLighting", [&] { return Failed(graphics.SetLighting(true)); }},
        {"SetAmbientLight", [&] { return Failed(graphics.SetAmbientLight(0xFF202020)); }},
        {"CreateMaterial", [&] {
             scene.stone = graphics.CreateMaterial();
             scene.glass = graphics.CreateMaterial();
             if (scene.stone == nullptr || scene.glass == nullptr)
                 return true;
             scene.stone->diffuse[0] = 0.5f;
             scene.glass->diffuse[2] = 1.0f;
             return false;
         }},
        {"CreateTexture file", [&] { return (scene.wood = graphics.CreateTexture("wood.bmp", 0)) == nullptr; }},
        {"CreateTexture blank", [&] { return (scene.board = graphics.CreateTexture(nullptr, 0)) == nullptr; }},
        {"AddData", [&] {
             static const std::uint32_t pixels[16] = {0xFF0000FF, 0xFF00FF00, 0xFFFF0000, 0xFFFFFFFF};
             return scene.board == nullptr || Failed(scene.board->AddData(pixels, 4, 4));
         }},
        MakeCharacter("Create cube", scene.cube, kXyzDiffuse, 0, scene),
        MakeCharacter("Create floor", scene.floor, kXyzNormal, 2, scene),
        MakeCharacter("Create overlay", scene.overlay, kXyzDiffuse, -10, scene),
        {"SetMaterial", [&] {
             return scene.cube == nullptr || scene.floor == nullptr || scene.stone == nullptr ||
                    Failed(scene.cube->SetMaterial(scene.stone)) ||
                    Failed(scene.floor->SetMaterial(scene.glass));
         }},
        {"SetTextures and transforms", [&] {
             if (scene.cube == nullptr || scene.floor == nullptr || scene.overlay == nullptr)
                 return true;
             scene.cube->SetTextures(scene.wood, 1);
             scene.floor->SetTextures(scene.board, 1);
             scene.cube->SetPosition(1, 2, 3);
             scene.cube->SetRotation(10, 20, 30);
             scene.floor->SetScale(2, 1, 2);
             scene.floor->SetAlphaBlend(true);
             scene.overlay->SetTextureAlpha(true);
             return false;
         }},
        {"CreateLight sun", [&] {
             scene.sun = graphics.CreateLight();
             return scene.sun == nullptr ||
                    Failed(scene.sun->SetProperties(3, 0, 0, 0, 0, -1, 0, 1, 0, 0, 0.1f, 0.1f, 0.1f,
                                                    1, 1, 1, 1, 1, 1, 0, 0, 0, 0)) ||
                    Failed(scene.sun->Enable(true));
         }},
        {"CreateLight lamp", [&] {
             scene.lamp = graphics.CreateLight();
             return scene.lamp == nullptr ||
                    Failed(scene.lamp->SetProperties(1, 0, 5, 0, 0, 0, 0, 1, 0.1f, 0, 0, 0, 0, 1, 0.8f,
                                                     0.5f, 1, 1, 1, 50, 1, 0, 0)) ||
                    Failed(scene.lamp->Enable(false));
         }},
        {"CreateFont title", [&] { return (scene.title = graphics.CreateFont("Tahoma", 0, 30, 700)) == nullptr; }},
        {"CreateFont small", [&] { return (scene.small = graphics.CreateFont("Arial", 0, 12, 400)) == nullptr; }},
        {"AddText", [&] {
             if (scene.title == nullptr || scene.small == nullptr)
                 return true;
             return Failed(scene.title->AddText("Title", 0xFFFFFFFF, 0, 0, 300, 40)) ||
                    Failed(scene.small->AddText("status", 0xFF00FF00, 0, 40, 300, 60));
         }},
        Frame(scene),
        {"AddText", [&] { return scene.small == nullptr || Failed(scene.small->AddText("next", 0xFFFF0000, 0, 60, 300, 80)); }},
        Frame(scene),
        {"Lose the device", [&] {
             standin::LoseDevice();
             return Failed(scene.graphics.RenderFrame());
         }},
        {"Reset the device", [&] {
             standin::MakeDeviceResettable();
             return Failed(scene.graphics.RenderFrame());
         }},
        Frame(scene),
        {"SaveScreenshot", [&] { return Failed(graphics.SaveScreenshot("shot.bmp")); }},
        {"Destroy some", [&] {
             const bool failed = Failed(graphics.DestroyCharacter(scene.floor)) |
                                 Failed(graphics.DestroyTexture(scene.wood)) |
                                 Failed(graphics.DestroyMaterial(scene.stone)) |
                                 Failed(graphics.DestroyLight(scene.lamp)) |
                                 Failed(graphics.DestroyFont(scene.small));
             return failed;
         }},
        Frame(scene),
        {"DestroyGraphicsSystem", [&] { return Failed(graphics.DestroyGraphicsSystem()); }},
    };
    return steps;
}

// The reports of a run without the one the lost device gives by design.
std::vector<std::string> FaultReports(const RecordingLogger& logger)
{
    std::vector<std::string> reports;
    for (const std::string& line : logger.Errors())
        if (line.find("D3DERR_DEVICELOST") == std::string::npos)
            reports.push_back(line);
    return reports;
}

// What the clean run saw: each call that can fail, the step that made it
// and its number among the calls of its operation.
struct SweptCall
{
    std::string text;
    std::string operation;
    int nth;
    std::size_t step;
};

std::vector<SweptCall> RecordCleanRun()
{
    standin::Reset();
    Scene scene;
    std::vector<Step> steps = FullScenario(scene);
    std::vector<SweptCall> swept;
    std::map<std::string, int> counts;
    for (std::size_t step = 0; step < steps.size(); ++step)
    {
        const std::size_t before = standin::Calls().size();
        steps[step].failed();
        const std::vector<standin::Call>& calls = standin::Calls();
        for (std::size_t i = before; i < calls.size(); ++i)
        {
            const int nth = ++counts[calls[i].name];
            if (standin::CanFail(calls[i].name))
                swept.push_back({calls[i].Text(), calls[i].name, nth, step});
        }
    }
    EXPECT_THAT(FaultReports(scene.logger), ::testing::IsEmpty());
    EXPECT_THAT(standin::LiveObjects(), ::testing::IsEmpty());
    return swept;
}

TEST(FaultSweep, EveryFailingCallEndsItsOperationWithOneReport)
{
    const std::vector<SweptCall> swept = RecordCleanRun();
    ASSERT_GT(swept.size(), 100u);

    int unchecked = 0;
    for (const SweptCall& call : swept)
    {
        SCOPED_TRACE("failing " + call.text + " (" + call.operation + " #" + std::to_string(call.nth) + ")");
        standin::Reset();
        standin::SetRecording(false);
        const HRESULT failure = FailureFor(call.operation);
        standin::FailCall(call.operation, call.nth, failure);

        Scene scene;
        std::vector<Step> steps = FullScenario(scene);
        bool stepFailed = false;
        std::vector<std::string> reports;
        for (std::size_t step = 0; step < steps.size(); ++step)
        {
            const bool failed = steps[step].failed();
            if (step == call.step)
            {
                stepFailed = failed;
                if (Lingers(call.text))
                    reports = FaultReports(scene.logger);
            }
        }
        scene.graphics.DestroyGraphicsSystem();  // again: the scenario's own may have been cut short
        EXPECT_THAT(standin::LiveObjects(), ::testing::IsEmpty());

        if (!Lingers(call.text))
            reports = FaultReports(scene.logger);
        // An unchecked call may still change what follows: a refused
        // TestCooperativeLevel delays the reset by one frame.
        if (Unchecked(call.text) && reports.empty())
        {
            ++unchecked;
            continue;
        }
        EXPECT_TRUE(stepFailed) << "in step " << steps[call.step].name;
        EXPECT_EQ(1u, reports.size()) << ::testing::PrintToString(reports);
        if (reports.size() != 1u)
            continue;
        // Direct3DCreate9 has no result code to name.
        if (call.operation != "Direct3DCreate9")
        {
            EXPECT_NE(std::string::npos, reports[0].find(failure == E_OUTOFMEMORY ? "E_OUTOFMEMORY"
                                                                                    : "D3DERR_INVALIDCALL"))
                << reports[0];
        }
    }
    standin::SetRecording(true);
    std::printf("[ swept    ] %zu failing calls, %d of them unchecked by design\n", swept.size(), unchecked);
}

}  // namespace
