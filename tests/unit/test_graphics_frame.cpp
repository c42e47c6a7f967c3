// The frame around what it draws (the draw order and the caches are checked
// against a model in test_frame_model.cpp): its calls, failures inside it,
// when it sorts, the reset sequence and shutdown. That steady frames allocate
// nothing is checked in test_reset_soak.cpp.

#include <standin/Recorder.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "HostTest.h"

namespace {

const std::uint32_t kXyzNormal = D3DFVF_XYZ | D3DFVF_NORMAL;  // 0x12

using Frame = SystemTest;

// The frame presents the last one, clears to the remembered colour, applies
// the camera and begins the scene. A textured, blended character applies its
// format, material, texture stage and binding, buffers, world and blending,
// draws and unbinds; the overlay is drawn with depth testing off; the text
// comes last.
TEST_F(Frame, PresentsClearsThenDrawsCharactersOverlayAndText)
{
    ASSERT_EQ(graphics->Clear(0xFF102030), 0);
    ICharacter* character = AddCharacter(0, kXyzDiffuse, graphics->CreateMaterial());
    character->SetTextures(graphics->CreateTexture("stone.bmp", 1), 1);
    character->SetAlphaBlend(true);
    AddCharacter(-10);
    graphics->CreateFont("Arial", 8, 16, 400)->AddText("title", 0xFFFFFFFF, 0, 0, 100, 20);
    Forget();
    ASSERT_EQ(graphics->RenderFrame(), 0);
    EXPECT_EQ(standin::DeviceCallTexts(), Lines({
        "TestCooperativeLevel()", "Present(null, null, null, null)", "Clear(0, null, 7, 0xFF102030, 1, 0)",
        "SetTransform(2, {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {-0, -0, 1, 1}})",
        "BeginScene()",
        "SetFVF(66)",
        "SetMaterial({{0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}, 0})",
        "SetTextureStageState(1, 1, 4)", "SetTextureStageState(1, 2, 2)", "SetTextureStageState(1, 3, 1)",
        "SetTexture(1, Texture#3)",
        "SetStreamSource(0, VertexBuffer#1, 0, 12)", "SetIndices(IndexBuffer#2)",
        "SetTransform(256, {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}})",
        "SetRenderState(27, 1)", "DrawIndexedPrimitive(4, 0, 0, 3, 0, 1)", "SetTexture(1, null)",
        "SetRenderState(7, 0)",
        "SetMaterial({{0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}, 0})",
        "SetTextureStageState(0, 1, 4)", "SetTextureStageState(0, 2, 0)", "SetTextureStageState(0, 3, 1)",
        "SetStreamSource(0, VertexBuffer#4, 0, 12)", "SetIndices(IndexBuffer#5)",
        "SetTransform(256, {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}})",
        "SetRenderState(27, 0)", "DrawIndexedPrimitive(4, 0, 0, 3, 0, 1)",
        "SetRenderState(7, 1)",
        "Font#6.DrawTextW(null, \"title\", -1, {0, 0, 100, 20}, 16, 0xFFFFFFFF)",
        "EndScene()",
    }));
    EXPECT_TRUE(logger.lines.empty());
}

// --- Failures inside the frame ----------------------------------------------------------

struct FrameFailure
{
    const char* operation;
    int skip;           // calls of it in the frame before the failing one
    bool endsFrame;     // with 1 and a report
    bool sceneBegun;    // before the failure
    int draws;          // calls of DrawIndexedPrimitive, the failing one included
    bool madeAgain;     // in the next frame
};

// The frame stops at the first failure with 1. Once the scene is begun it is
// ended anyway, with depth testing back on, so the next frame presents and
// draws again; the character that fails ends its pass, and the overlay is
// not drawn after a failure in the layers. A format or material counts as
// applied even when its call failed: the cache is written first. Switching
// depth testing off for the overlay is not checked: the overlay is drawn.
const FrameFailure kFrameFailures[] = {
    {"Present", 0, true, false, 0, true},
    {"Clear", 0, true, false, 0, true},
    {"SetTransform", 0, true, false, 0, true},  // the camera's view
    {"BeginScene", 0, true, false, 0, true},
    {"SetFVF", 0, true, true, 0, false},
    {"SetMaterial", 0, true, true, 0, false},
    {"SetTextureStageState", 0, true, true, 0, true},
    {"SetStreamSource", 0, true, true, 0, true},
    {"SetIndices", 0, true, true, 0, true},
    {"SetTransform", 1, true, true, 0, true},  // the first character's world
    {"DrawIndexedPrimitive", 0, true, true, 1, true},
    {"DrawIndexedPrimitive", 2, true, true, 3, true},  // the overlay's first
    {"SetRenderState", 2, false, true, 4, true},       // depth test off, after two alpha states
};

TEST_F(Frame, AFailureEndsTheFrameButNotTheNext)
{
    for (const FrameFailure& row : kFrameFailures)
    {
        SCOPED_TRACE(std::string(row.operation) + " #" + std::to_string(row.skip + 1));
        graphics->DestroyGraphicsSystem();
        standin::Reset();
        ASSERT_EQ(Create(), 0);
        MaterialDesc* material = graphics->CreateMaterial();
        for (int layer : {0, 0, -10, -10})
            AddCharacter(layer, kXyzDiffuse, material);
        Forget();

        standin::FailNext(row.operation, D3DERR_INVALIDCALL, row.skip);
        EXPECT_EQ(graphics->RenderFrame(), row.endsFrame ? 1 : 0);
        EXPECT_EQ(logger.Errors().size(), row.endsFrame ? 1u : 0u);
        EXPECT_EQ(standin::CountCalls("EndScene"), row.sceneBegun ? 1 : 0);
        EXPECT_FALSE(standin::InScene());
        EXPECT_EQ(standin::RenderState(D3DRS_ZENABLE), static_cast<DWORD>(D3DZB_TRUE));
        EXPECT_EQ(standin::CountCalls("DrawIndexedPrimitive"), row.draws);

        Forget();
        EXPECT_EQ(graphics->RenderFrame(), 0);
        EXPECT_EQ(standin::CountCalls(row.operation) > 0, row.madeAgain);
        EXPECT_EQ(standin::CountCalls("DrawIndexedPrimitive"), 4);
        EXPECT_TRUE(logger.lines.empty());
    }
}

// --- When a frame sorts ---------------------------------------------------------------

// Which host operations make the next frame sort, as a host sees it: only a
// sort raises the highest layer, so a character whose layer a Create with
// its own format (which asks for nothing) raised above it stays undrawn until
// a frame sorts.
TEST_F(Frame, OnlyANewCharacterFormatOrRecordOrARequestMakesTheNextFrameSort)
{
    const float vertices[9] = {};
    const std::uint32_t indices[3] = {0, 1, 2};
    ICharacter *raised = nullptr, *other = nullptr;
    MaterialDesc *record = nullptr, *spare = nullptr;
    ITexture* texture = nullptr;
    ILight* light = nullptr;
    IFont* font = nullptr;
    const auto create = [&](ICharacter* character, std::uint32_t fvf, int layer) {
        return character->Create(character == raised ? 5 : 3, layer, fvf, sizeof vertices, 12, 3, vertices, indices);
    };
    const struct
    {
        const char* operation;
        std::function<void()> run;
        bool sorts;
    } kOperations[] = {
        // Its own Create asks for nothing: format 0 is what it starts with, on a layer never drawn.
        {"CreateCharacter", [&] { create(graphics->CreateCharacter(), 0, -1); }, true},
        {"CreateTexture from a file", [&] { graphics->CreateTexture("wood.bmp", 0); }, false},
        {"CreateTexture blank", [&] { graphics->CreateTexture(nullptr, 0); }, false},
        {"CreateMaterial", [&] { graphics->CreateMaterial(); }, false},
        {"CreateLight", [&] { graphics->CreateLight(); }, false},
        {"CreateFont", [&] { graphics->CreateFont("Tahoma", 0, 12, 400); }, false},
        {"DestroyCharacter", [&] { graphics->DestroyCharacter(other); }, false},
        {"DestroyMaterial of a held record", [&] { graphics->DestroyMaterial(record); }, false},
        {"DestroyTexture", [&] { graphics->DestroyTexture(texture); }, false},
        {"DestroyLight", [&] { graphics->DestroyLight(light); }, false},
        {"DestroyFont", [&] { graphics->DestroyFont(font); }, false},
        {"Create with a new format", [&] { create(other, D3DFVF_XYZ | D3DFVF_NORMAL, 0); }, true},
        {"Create with a new layer only", [&] { create(other, kXyzDiffuse, 2); }, false},
        {"Create with the same format and layer", [&] { create(other, kXyzDiffuse, 0); }, false},
        {"SetMaterial with a new record", [&] { other->SetMaterial(spare); }, true},
        {"SetMaterial with the same record", [&] { other->SetMaterial(record); }, false},
        {"SetTextures", [&] { other->SetTextures(texture, 1); }, false},
        {"RequestSort", [&] { graphics->RequestSort(); }, true},
        {"a device reset", [&] { standin::LoseDevice(), standin::MakeDeviceResettable(); }, false},
    };
    const auto raisedDraws = [] {
        const Lines draws = standin::CallTexts("DrawIndexedPrimitive");
        return std::count(draws.begin(), draws.end(), "DrawIndexedPrimitive(4, 0, 0, 5, 0, 1)");
    };
    for (const auto& row : kOperations)
    {
        SCOPED_TRACE(row.operation);
        graphics->DestroyGraphicsSystem();  // a new object: the highest layer outlives the device
        graphics->Destroy();
        graphics = GetPlugin(nullptr);
        standin::Reset();
        ASSERT_EQ(Create(), 0);
        record = graphics->CreateMaterial();
        spare = graphics->CreateMaterial();
        texture = graphics->CreateTexture("stone.bmp", 0);
        light = graphics->CreateLight();
        font = graphics->CreateFont("Arial", 0, 16, 400);
        other = AddCharacter(0, kXyzDiffuse, record);
        raised = graphics->CreateCharacter();
        ASSERT_EQ(create(raised, kXyzDiffuse, 0), 0);
        ASSERT_EQ(graphics->RenderFrame(), 0);
        ASSERT_EQ(create(raised, kXyzDiffuse, 1), 0);
        Forget();
        ASSERT_EQ(graphics->RenderFrame(), 0);
        ASSERT_EQ(raisedDraws(), 0);

        row.run();
        Forget();
        ASSERT_EQ(graphics->RenderFrame(), 0);
        EXPECT_EQ(raisedDraws(), row.sorts ? 1 : 0);
    }
}

// --- A full scene: the reset sequence and shutdown -----------------------------------------------

class Scene : public SystemTest
{
protected:
    // Remembered states other than the defaults, and two characters,
    // textures, lights and a font: something of every kind that holds device
    // resources or that the reset visits.
    void SetUp() override
    {
        SystemTest::SetUp();
        ASSERT_EQ(graphics->SetFillMode(0), 0);
        ASSERT_EQ(graphics->SetLighting(false), 0);
        ASSERT_EQ(graphics->SetAmbientLight(0xFF111111), 0);
        ICharacter* first = AddCharacter(0, kXyzNormal, graphics->CreateMaterial());
        AddCharacter(1);
        first->SetTextures(graphics->CreateTexture("stone.bmp", 0), 1);
        ITexture* blank = graphics->CreateTexture(nullptr, 1);
        const std::uint32_t pixels[4] = {1, 2, 3, 4};
        ASSERT_EQ(blank->AddData(pixels, 2, 2), 0);
        for (int i = 0; i < 2; ++i)
            ASSERT_EQ(graphics->CreateLight()->Enable(true), 0);
        graphics->CreateFont("Arial", 8, 16, 400)->AddText("hello", 0xFFFFFFFF, 0, 0, 100, 20);
        ASSERT_EQ(graphics->RenderFrame(), 0);
        Forget();
    }
};

// The recording device refuses Reset while any default-pool resource or
// un-lost font is alive, so a successful reset proves every one was dropped.
// Characters go in registry order (sorted: format 0x42 before 0x12), then
// textures, then fonts; after Reset everything comes back in the same order,
// lights too, and then the transforms and every remembered state. Fill
// mode 2 makes no call, as at SetFillMode.
TEST_F(Scene, AResetDropsAndRebuildsEveryResourceAndState)
{
    ASSERT_EQ(LoseAndReset(), 0);
    const std::set<std::string> steps = {
        "VertexBuffer.Release", "Texture.Release", "Font.OnLostDevice", "Reset", "CreateVertexBuffer",
        "D3DXCreateTextureFromFileExW", "LightEnable", "Font.OnResetDevice", "SetTransform", "SetRenderState",
        "SetTextureStageState", "Present"};
    const Lines calls = standin::CallTexts([&](const standin::Call& call) { return steps.count(call.name) > 0; });
    EXPECT_EQ(Lines(calls.begin(), std::find(calls.begin(), calls.end(), "Present(null, null, null, null)")), Lines({
        "VertexBuffer#3.Release()", "VertexBuffer#1.Release()", "Texture#5.Release()", "Texture#6.Release()",
        "Font#7.OnLostDevice()",
        "Reset({800, 600, 21, 1, 0, 0, 1, null, 1, 1, 75, 0, 0, 0})",
        "CreateVertexBuffer(36, 8, 66, 0, VertexBuffer#8, null)",
        "CreateVertexBuffer(36, 8, 18, 0, VertexBuffer#10, null)",
        "D3DXCreateTextureFromFileExW(Device#1, \"stone.bmp\", 0, 0, 1, 0, 21, 0, 4294967295, 4294967295, "
        "0xFF000000, null, null, Texture#12)",
        "LightEnable(0, 1)", "LightEnable(1, 1)", "Font#7.OnResetDevice()",
        "SetTransform(256, {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}})",
        "SetTransform(2, {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {-0, -0, 1, 1}})",
        "SetTransform(3, {{1.8106601, 0, 0, 0}, {0, 2.4142134, 0, 0}, {0, 0, 1.001001, 1}, {0, 0, -1.001001, 0}})",
        "SetRenderState(137, 0)", "SetRenderState(9, 2)", "SetRenderState(8, 2)", "SetRenderState(139, 0xFF111111)",
        "SetRenderState(7, 1)", "SetRenderState(22, 3)",
        "SetTextureStageState(0, 4, 2)", "SetTextureStageState(0, 5, 0)", "SetTextureStageState(0, 6, 2)",
        "SetRenderState(19, 5)", "SetRenderState(20, 6)", "SetRenderState(171, 1)",
    }));
    EXPECT_EQ(logger.lines, Lines({"2: Resetting an actor...", "3: OK", "2: Resetting an actor...", "3: OK"}));

    ASSERT_EQ(graphics->SetFillMode(2), 0);
    Forget();
    ASSERT_EQ(LoseAndReset(), 0);
    EXPECT_EQ(CallsStartingWith({"SetRenderState(8,", "SetRenderState(139"}),
              Lines({"SetRenderState(139, 0xFF111111)"}));

    // The first object that fails ends the sequence: none after it is visited.
    standin::FailNext("CreateVertexBuffer", D3DERR_OUTOFVIDEOMEMORY);
    Forget();
    ASSERT_EQ(LoseAndReset(), 1);
    EXPECT_EQ(standin::CountCalls("CreateVertexBuffer"), 1);
}

// Every registry in its order (the characters' sorted), then the camera,
// the device and Direct3D;
// all of them forgotten, so that frames fail without a call and a second
// shutdown finds nothing to release. After a failed creation, only what was
// made is released.
TEST_F(Scene, ShutdownDestroysRegistriesInOrderThenCameraDeviceAndDirect3D)
{
    EXPECT_EQ(graphics->DestroyGraphicsSystem(), 0);
    EXPECT_EQ(logger.lines, Lines({"2: Destroying the graphics system...OK"}));
    EXPECT_EQ(CallsStartingWith({"VertexBuffer", "Texture", "Font", "Device", "Direct3D"}),
              Lines({"VertexBuffer#3.Release()", "VertexBuffer#1.Release()", "Texture#5.Release()", "Texture#6.Release()",
                     "Font#7.Release()", "Device.Release()", "Direct3D.Release()"}));
    EXPECT_THAT(standin::LiveObjects(), ::testing::IsEmpty());
    EXPECT_EQ(graphics->GetCamera(), nullptr);

    Forget();
    EXPECT_EQ(graphics->RenderFrame(), 1);
    EXPECT_EQ(graphics->DestroyGraphicsSystem(), 0);
    EXPECT_TRUE(standin::Calls().empty());

    standin::FailNext("CreateDevice", D3DERR_NOTAVAILABLE);
    ASSERT_EQ(Create(), 1);
    standin::ClearCalls();
    EXPECT_EQ(graphics->DestroyGraphicsSystem(), 0);
    EXPECT_EQ(standin::CallTexts(), Lines({"Direct3D.Release()"}));
}

}  // namespace
