// The fault sweep: a host's full scenario, run once clean while the recording
// device records its calls, then once for every recorded call that returns an
// HRESULT, with that one call failing. Every failure must end the operation
// that made the call with 1 or null, be reported exactly once, by one of the
// report sites below at its level and in its wording, crash nothing and leave
// no Direct3D object alive after shutdown.

#include <standin/Recorder.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <initializer_list>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "HostTest.h"
#include "SourceLine.h"

namespace {

using ::testing::IsEmpty;

// --- Report sites -----------------------------------------------------------------

const char* const kActor = "extra/CActor.cpp";
const char* const kCamera = "extra/CCamera.cpp";
const char* const kFont = "extra/CFont.cpp";
const char* const kGraphics = "extra/CGraphicsD3D.cpp";
const char* const kLight = "extra/CLight.cpp";
const char* const kTexture = "extra/CTexture.cpp";

// How a site words its report around the failing call's result name.
const char* const kNamed = "%s";
const char* const kAddData = "Could not add data to blank texture : %s";
const char* const kNoDirect3D = "Could not create Direct3D object";  // no result code to name

// The level a site reports at outside the reset sequence and in it (most have one).
struct Levels
{
    Levels(int level) : outside(level), inReset(level) {}
    Levels(int outside, int inReset) : outside(outside), inReset(inReset) {}
    int outside, inReset;
};
// A character's buffer sites: from Create, then from the rebuild after a reset.
const Levels kCreateOrReset = {2, 3};
// The depth and cull states: on a new device, then after a reset.
const Levels kNewDeviceOrReset = {3, 2};

// A reporting statement: the nth line of its file that holds the snippet
// (the statement's first line, which its reports name), and its report.
struct ReportSite
{
    const char* file;
    const char* snippet;
    Levels level;
    const char* wording = kNamed;
    int nth = 1;
    const char* unswept = nullptr;  // why no failing call of the scenario reaches it
};

const ReportSite kReportSites[] = {
    {kGraphics, "ReportNoDirect3D(logger", 3, kNoDirect3D},
    {kGraphics, "d3d->GetDeviceCaps(", 3},
    {kGraphics, "d3d->CreateDevice(", 3},
    {kGraphics, "device->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE)))", kNewDeviceOrReset},
    {kGraphics, "device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW)))", kNewDeviceOrReset},
    {kGraphics, "device->SetTransform(D3DTS_WORLD, &world)", 2},
    {kGraphics, "device->SetTransform(D3DTS_PROJECTION, &projection)", 2},
    {kGraphics, "device->Clear(", 2},
    {kGraphics, "device->BeginScene()", 2},
    {kGraphics, "device->EndScene()", 2},
    {kGraphics, "D3DFILL_WIREFRAME", 2},
    {kGraphics, "D3DFILL_SOLID", 2},
    {kGraphics, "D3DRS_LIGHTING", 2},
    {kGraphics, "D3DRS_SHADEMODE", 2},
    {kGraphics, "D3DRS_AMBIENT", 2},
    {kGraphics, "device->Present(", 2},
    {kGraphics, "device->Reset(&mode.presentParams)", 2},
    {kGraphics, "device->GetBackBuffer(", 2},
    {kCamera, "device->SetTransform(D3DTS_VIEW, &view)", 3},
    {kCamera, "device->SetTransform(D3DTS_VIEW, &view)", 2, kNamed, 2},
    {kActor, "device->SetTransform(D3DTS_WORLD, &world)", 2},
    {kActor, "device->DrawIndexedPrimitive(", 2},
    {kActor, "device->SetFVF(keys.fvf)", 2},
    {kActor, "device->SetStreamSource(", 2},
    {kActor, "device->SetIndices(indexBuffer)", 2},
    {kActor, "SetTextureStageState(0, D3DTSS_COLOROP", 2},
    {kActor, "SetTextureStageState(0, D3DTSS_COLORARG1", 2},
    {kActor, "SetTextureStageState(0, D3DTSS_COLORARG2", 2},
    {kActor, "device->SetMaterial(&material)", 2},
    {kActor, "device->SetMaterial(&material)", 2, kNamed, 2},
    {kActor, "device->CreateVertexBuffer(", kCreateOrReset},
    {kActor, "D3D_FAILED(reportLevel, E_OUTOFMEMORY)", kCreateOrReset, kNamed, 1,
     "an index count is refused for its size alone, before any device call (the misuse tests check "
     "this report); a refused Create keeps nothing for a reset to rebuild"},
    {kActor, "device->CreateIndexBuffer(", kCreateOrReset},
    {kActor, "vertexBuffer->Lock(", kCreateOrReset},
    {kActor, "vertexBuffer->Unlock()", kCreateOrReset},
    {kActor, "indexBuffer->Lock(", kCreateOrReset},
    {kActor, "indexBuffer->Unlock()", kCreateOrReset},
    {kFont, "D3DXCreateFontW(device", 2},
    {kFont, "font->OnLostDevice()", 2},
    {kFont, "font->OnResetDevice()", 2},
    {kLight, "device->SetLight(", 2},
    {kLight, "device->LightEnable(", 3},
    {kTexture, "LoadFile(kCreateColorKey)", 2},
    {kTexture, "SetTextureStageState(unit, D3DTSS_COLOROP", 2},
    {kTexture, "SetTextureStageState(unit, D3DTSS_COLORARG1", 2},
    {kTexture, "SetTextureStageState(unit, D3DTSS_COLORARG2", 2},
    {kTexture, "device->SetTexture(unit, texture)", 2},
    {kTexture, "LoadFile(kReloadColorKey)", 2},
    {kTexture, "device->SetTexture(static_cast<DWORD>(stage), nullptr)", 2},
    // D3DXCreateTexture, LockRect and UnlockRect in AddData.
    {kTexture, "D3D_FAILED_AS(kAddDataReportFormat", 2, kAddData},
    {kTexture, "D3D_FAILED_AS(kAddDataReportFormat", 2, kAddData, 2},
    {kTexture, "D3D_FAILED_AS(kAddDataReportFormat", 2, kAddData, 3},
};

std::string ExpectedReportFrom(const ReportSite& site, int level, const std::string& name)
{
    std::string text = site.wording;
    if (text.find("%s") != std::string::npos)
        text.replace(text.find("%s"), 2, name);
    return ExpectedReport(level, text, site.file, site.snippet, site.nth);
}

using SourcePlace = std::pair<std::string, int>;  // file, line

const std::map<SourcePlace, const ReportSite*>& SitesByPlace()
{
    static const std::map<SourcePlace, const ReportSite*> sites = [] {
        std::map<SourcePlace, const ReportSite*> byPlace;
        for (const ReportSite& site : kReportSites)
            byPlace[{site.file, SourceLine(site.file, site.snippet, site.nth)}] = &site;
        return byPlace;
    }();
    return sites;
}

// The site whose place a report names ("... : <line> : <file>"); null for none.
const ReportSite* SiteOf(const std::string& report)
{
    static const std::regex place(" : ([0-9]+) : (\\S+)$");
    std::smatch match;
    if (!std::regex_search(report, match, place))
        return nullptr;
    const auto found = SitesByPlace().find({match[2], std::stoi(match[1])});
    return found == SitesByPlace().end() ? nullptr : found->second;
}

// A reporting statement added without a row fails here, before the sweep
// could let its reports pass unchecked.
TEST(FaultSweep, EveryReportingStatementOfThePlugInHasARowOfItsOwn)
{
    static const std::regex reporting("D3D_FAILED|ReportIfFailed\\(|ReportNoDirect3D\\(");
    std::vector<SourcePlace> statements;
    for (const auto& entry : std::filesystem::directory_iterator(std::string(SOURCE_ROOT) + "/extra"))
    {
        const std::string file = "extra/" + entry.path().filename().string();
        if (file.rfind("extra/ErrorReport.", 0) == 0)
            continue;  // the reporting functions themselves
        std::ifstream source(entry.path());
        std::string text;
        for (int line = 1; std::getline(source, text); ++line)
            if (std::regex_search(text, reporting))
                statements.push_back({file, line});
    }
    for (const SourcePlace& place : statements)
        EXPECT_EQ(SitesByPlace().count(place), 1u) << "no row for " << place.first << ":" << place.second;
    EXPECT_EQ(SitesByPlace().size(), std::size(kReportSites)) << "rows that name no statement or the same one";
    EXPECT_EQ(statements.size(), std::size(kReportSites));
}

// --- Calls outside the report sites -------------------------------------------------

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

bool Listed(const std::vector<std::pair<std::string, std::string>>& list, const std::string& callText)
{
    for (const auto& entry : list)
        if (callText.compare(0, entry.first.size(), entry.first) == 0)
            return true;
    return false;
}

// Calls that allocate fail with E_OUTOFMEMORY, every other one with D3DERR_INVALIDCALL.
const std::set<std::string> kAllocatingCalls = {"Direct3DCreate9", "CreateDevice", "CreateVertexBuffer",
                                                "CreateIndexBuffer", "D3DXCreateTexture",
                                                "D3DXCreateTextureFromFileExW", "D3DXCreateFontW"};

// --- The scenario ---------------------------------------------------------------------

const char* const kResetStep = "Reset the device";

// A few independent host operations, all run even after one failed; true
// when one gave 1 or null.
struct Step
{
    std::string name;
    std::function<bool()> failed;
};

// A host's graphics system and what the scenario makes with it, null where a
// factory refused; shut down again at the end, as a failure may have cut the
// scenario's own shutdown short.
struct Scene
{
    ~Scene()
    {
        graphics->DestroyGraphicsSystem();
        graphics->Destroy();
    }

    IGraphics* graphics = GetPlugin(nullptr);
    RecordingLogger logger;
    ICharacter *cube = nullptr, *floor = nullptr, *overlay = nullptr;
    MaterialDesc *stone = nullptr, *glass = nullptr;
    ITexture *wood = nullptr, *board = nullptr;
    ILight *sun = nullptr, *lamp = nullptr;
    IFont *title = nullptr, *small = nullptr;
};

// Whether one of the results, all of them given, is a failure.
bool Failed(std::initializer_list<int> results)
{
    return std::find(results.begin(), results.end(), 1) != results.end();
}

// Whether a factory refused one of the objects a step needs.
bool Missing(std::initializer_list<const void*> objects)
{
    return std::find(objects.begin(), objects.end(), nullptr) != objects.end();
}

// A character with one triangle in its own format on its own layer; a
// Create that fails leaves it registered, as for any host.
int MakeCharacter(IGraphics& graphics, ICharacter*& character, std::uint32_t fvf, int layer)
{
    static const float vertices[18] = {0, 0, 0, 0, 0, 1, 1, 0, 0, 0, 0, 1, 0, 1, 0, 0, 0, 1};
    static const std::uint32_t indices[3] = {0, 1, 2};
    const std::uint32_t stride = fvf == kXyzDiffuse ? 16 : 24;
    character = graphics.CreateCharacter();
    return character == nullptr ? 1 : character->Create(3, layer, fvf, 3 * stride, stride, 3, vertices, indices);
}

std::vector<Step> FullScenario(Scene& scene)
{
    IGraphics& graphics = *scene.graphics;
    const Step frame = {"RenderFrame", [&] { return Failed({graphics.RenderFrame()}); }};
    return {
        {"CreateGraphicsSystem",
         [&] { return Failed({CreateGraphicsSystem(graphics, nullptr, &scene.logger, VideoSettings())}); }},
        {"States", [&] {
             return Failed({graphics.Clear(0xFF102040), graphics.SetFillMode(0), graphics.SetFillMode(1),
                            graphics.SetLighting(true), graphics.SetAmbientLight(0xFF202020)});
         }},
        {"Textures", [&] {
             static const std::uint32_t pixels[16] = {0xFF0000FF, 0xFF00FF00, 0xFFFF0000, 0xFFFFFFFF};
             scene.wood = graphics.CreateTexture("wood.bmp", 0);
             scene.board = graphics.CreateTexture(nullptr, 0);
             return Missing({scene.wood, scene.board}) || Failed({scene.board->AddData(pixels, 4, 4)});
         }},
        {"Characters", [&] {
             return Failed({MakeCharacter(graphics, scene.cube, kXyzDiffuse, 0),
                            MakeCharacter(graphics, scene.floor, D3DFVF_XYZ | D3DFVF_NORMAL, 2),
                            MakeCharacter(graphics, scene.overlay, kXyzDiffuse, -10)});
         }},
        {"Materials, textures and blending", [&] {
             scene.stone = graphics.CreateMaterial();
             scene.glass = graphics.CreateMaterial();
             if (Missing({scene.cube, scene.floor, scene.overlay, scene.stone, scene.glass}))
                 return true;
             scene.stone->diffuse[0] = 0.5f;
             scene.glass->diffuse[2] = 1.0f;
             scene.cube->SetTextures(scene.wood, 1);
             scene.floor->SetTextures(scene.board, 1);
             scene.floor->SetAlphaBlend(true);
             scene.overlay->SetTextureAlpha(true);
             return Failed({scene.cube->SetMaterial(scene.stone), scene.floor->SetMaterial(scene.glass)});
         }},
        {"Lights", [&] {
             scene.sun = graphics.CreateLight();
             scene.lamp = graphics.CreateLight();
             return Missing({scene.sun, scene.lamp}) ||
                    Failed({scene.sun->SetProperties(3, 0, 0, 0, 0, -1, 0, 1, 0, 0, 0.1f, 0.1f, 0.1f, 1, 1, 1, 1, 1, 1,
                                                     0, 0, 0, 0),
                            scene.sun->Enable(true),
                            scene.lamp->SetProperties(1, 0, 5, 0, 0, 0, 0, 1, 0.1f, 0, 0, 0, 0, 1, 0.8f, 0.5f, 1, 1, 1,
                                                      50, 1, 0, 0),
                            scene.lamp->Enable(false)});
         }},
        {"Fonts", [&] {
             scene.title = graphics.CreateFont("Tahoma", 0, 30, 700);
             scene.small = graphics.CreateFont("Arial", 0, 12, 400);
             return Missing({scene.title, scene.small}) ||
                    Failed({scene.title->AddText("Title", 0xFFFFFFFF, 0, 0, 300, 40),
                            scene.small->AddText("status", 0xFF00FF00, 0, 40, 300, 60)});
         }},
        frame,
        {"Lose the device", [&] {
             standin::LoseDevice();
             return Failed({graphics.RenderFrame()});
         }},
        {kResetStep, [&] {
             standin::MakeDeviceResettable();
             return Failed({graphics.RenderFrame()});
         }},
        frame,
        {"SaveScreenshot", [&] { return Failed({graphics.SaveScreenshot("shot.bmp")}); }},
        {"Destroy some", [&] {
             return Failed({graphics.DestroyCharacter(scene.floor), graphics.DestroyTexture(scene.wood),
                            graphics.DestroyMaterial(scene.stone), graphics.DestroyLight(scene.lamp),
                            graphics.DestroyFont(scene.small)});
         }},
        frame,
        {"DestroyGraphicsSystem", [&] { return Failed({graphics.DestroyGraphicsSystem()}); }},
    };
}

// --- The sweep ------------------------------------------------------------------------

// A recorded call that can fail: its text, its operation, its number among
// that operation's calls and the step that made it.
struct FallibleCall
{
    std::string text;
    std::string operation;
    int nth;
    std::size_t step;
};

// One run of the scenario: per step, its name, whether it failed and the
// fault reports written up to its end; the lost device's reports; and the
// recorded calls that can fail.
struct ScenarioRun
{
    Lines names;
    std::vector<bool> failed;
    std::vector<Lines> reportsAfter;
    std::size_t lostDeviceReports = 0;
    std::vector<FallibleCall> fallible;
};

// Runs the scenario on the device as it stands. Every report, the lost
// device's too, must come from a report site, and nothing may stay alive.
ScenarioRun RunScenario()
{
    ScenarioRun run;
    std::map<std::string, int> counts;
    {
        Scene scene;
        for (const Step& step : FullScenario(scene))
        {
            const std::size_t before = standin::Calls().size();
            run.names.push_back(step.name);
            run.failed.push_back(step.failed());
            Lines reports;  // but those the lost device gives by design
            for (const std::string& line : scene.logger.Errors())
                if (line.find("D3DERR_DEVICELOST") == std::string::npos)
                    reports.push_back(line);
            run.reportsAfter.push_back(reports);
            for (std::size_t i = before; i < standin::Calls().size(); ++i)
            {
                const standin::Call& call = standin::Calls()[i];
                const int nth = ++counts[call.name];
                if (standin::CanFail(call.name))
                    run.fallible.push_back({call.Text(), call.name, nth, run.names.size() - 1});
            }
        }
        for (const std::string& report : scene.logger.Errors())
            EXPECT_NE(SiteOf(report), nullptr) << "no report site writes " << report;
        run.lostDeviceReports = scene.logger.Errors().size() - run.reportsAfter.back().size();
    }
    EXPECT_THAT(standin::LiveObjects(), IsEmpty());
    return run;
}

TEST(FaultSweep, EveryFailingCallEndsItsOperationWithOneReportFromItsSite)
{
    standin::Reset();
    const ScenarioRun clean = RunScenario();
    EXPECT_THAT(clean.reportsAfter.back(), IsEmpty());
    ASSERT_GT(clean.fallible.size(), 100u);

    std::set<std::pair<const ReportSite*, int>> reached;  // site, level
    for (const FallibleCall& call : clean.fallible)
    {
        SCOPED_TRACE("failing " + call.text + " (" + call.operation + " #" + std::to_string(call.nth) + ")");
        standin::Reset();
        standin::SetRecording(false);
        const bool allocates = kAllocatingCalls.count(call.operation) == 1;
        standin::FailCall(call.operation, call.nth, allocates ? E_OUTOFMEMORY : D3DERR_INVALIDCALL);
        const ScenarioRun run = RunScenario();
        const Lines& reports =
            run.reportsAfter[Listed(kLingeringFailures, call.text) ? call.step : run.names.size() - 1];

        // An unchecked call may still change what follows: a refused
        // TestCooperativeLevel delays the reset by one frame.
        if (Listed(kUncheckedCalls, call.text) && reports.empty())
            continue;
        // A failure ends its step with 1, leaves the device no more lost than
        // in the clean run (a Reset refused must not be taken as done) and
        // is reported once.
        EXPECT_TRUE(run.failed[call.step]) << "in step " << run.names[call.step];
        EXPECT_LE(run.lostDeviceReports, clean.lostDeviceReports) << "the device was left lost";
        EXPECT_EQ(reports.size(), 1u) << ::testing::PrintToString(reports);
        const ReportSite* site = reports.size() == 1u ? SiteOf(reports[0]) : nullptr;
        if (site == nullptr)
            continue;
        const int level = run.names[call.step] == kResetStep ? site->level.inReset : site->level.outside;
        EXPECT_EQ(reports[0], ExpectedReportFrom(*site, level, allocates ? "E_OUTOFMEMORY" : "D3DERR_INVALIDCALL"));
        reached.insert({site, level});
    }
    standin::SetRecording(true);
    for (const ReportSite& site : kReportSites)
        for (int level : {site.level.outside, site.level.inReset})
            EXPECT_TRUE(reached.count({&site, level}) == 1 || site.unswept != nullptr)
                << "no failing call reaches " << site.file << ": " << site.snippet << " at level " << level;
}

}  // namespace
