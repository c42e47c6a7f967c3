// The frame's sequence and failures (its draw order, sort and caches are
// checked against a model in test_frame_model.cpp); device loss and the
// reset sequence; shutdown; the factories' sharing rules; screenshots.

#include <gtest/gtest.h>

#include <standin/Recorder.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <ostream>
#include <string>
#include <vector>

#include "AllocationCounter.h"
#include "CActor.h"
#include "CFont.h"
#include "CLight.h"
#include "CTexture.h"
#include "GraphicsTest.h"
#include "SourceLine.h"

namespace {

using Lines = std::vector<std::string>;

const char* const kSource = "extra/CGraphicsD3D.cpp";
const std::uint32_t kXyzNormal = D3DFVF_XYZ | D3DFVF_NORMAL;    // 0x12

// Keeps only the calls whose text starts with one of the prefixes.
Lines CallsStartingWith(const Lines& prefixes)
{
    return standin::CallTexts([&](const standin::Call& call) {
        const std::string text = call.Text();
        return std::any_of(prefixes.begin(), prefixes.end(), [&](const std::string& prefix) {
            return text.compare(0, prefix.size(), prefix) == 0;
        });
    });
}

class Frame : public GraphicsTest
{
};

// --- The frame sequence --------------------------------------------------------------

TEST_F(Frame, WithNothingToDrawPresentsClearsAndClosesTheScene)
{
    CreateQuietly();
    ASSERT_EQ(graphics.Clear(0xFF102030), 0);
    standin::ClearCalls();
    EXPECT_EQ(graphics.RenderFrame(), 0);
    EXPECT_EQ(standin::DeviceCallTexts(), Lines({
        "TestCooperativeLevel()",
        "Present(null, null, null, null)",
        "Clear(0, null, 7, 0xFF102030, 1, 0)",
        "SetTransform(2, {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {-0, -0, 1, 1}})",
        "BeginScene()",
        "SetRenderState(7, 0)",
        "SetRenderState(7, 1)",
        "EndScene()",
    }));
    EXPECT_TRUE(logger.lines.empty());
}

// Once a scene has been drawn, a frame that draws it again (text included)
// allocates nothing.
TEST_F(Frame, SteadyStateFramesAllocateNothing)
{
    CreateQuietly();
    MaterialDesc* material = graphics.CreateMaterial();
    AddCharacter(0, kXyzNormal, material)->SetTextures(graphics.CreateTexture("stone.bmp", 0), 1);
    AddCharacter(1, kXyzDiffuse);
    AddCharacter(-10, kXyzDiffuse)->SetAlphaBlend(true);
    graphics.CreateLight()->Enable(true);
    IFont* font = graphics.CreateFont("Arial", 8, 16, 400);
    font->AddText("frame 1", 0xFFFFFFFF, 0, 0, 100, 20);
    ASSERT_EQ(graphics.RenderFrame(), 0);

    standin::SetRecording(false);
    AllocationCounter allocations;
    for (int frame = 0; frame < 3; ++frame)
    {
        font->AddText("frame 2", 0xFFFFFFFF, 0, 0, 100, 20);
        ASSERT_EQ(graphics.RenderFrame(), 0);
    }
    EXPECT_EQ(allocations.Count(), 0u);
    standin::SetRecording(true);
}

// --- Failures inside the frame ----------------------------------------------------------

struct DrawFailure
{
    const char* operation;
    int skip;  // calls of the operation in the frame before the failing one
    int layer;
};

void PrintTo(const DrawFailure& failure, std::ostream* out)
{
    *out << failure.operation << " on layer " << failure.layer;
}

class FrameFailure : public Frame, public ::testing::WithParamInterface<DrawFailure>
{
};

// A failing draw step ends the frame with 1, but the scene is closed and
// depth testing is back on, so the next frame presents and draws again.
TEST_P(FrameFailure, EndsTheFrameButClosesTheScene)
{
    CreateQuietly();
    AddCharacter(GetParam().layer, kXyzNormal, graphics.CreateMaterial());
    standin::FailNext(GetParam().operation, D3DERR_INVALIDCALL, GetParam().skip);
    standin::ClearCalls();
    logger.lines.clear();

    EXPECT_EQ(graphics.RenderFrame(), 1);
    EXPECT_EQ(logger.Errors().size(), 1u);
    EXPECT_FALSE(standin::InScene());
    EXPECT_EQ(standin::RenderState(D3DRS_ZENABLE), static_cast<DWORD>(D3DZB_TRUE));
    EXPECT_EQ(standin::DeviceCallTexts().back(), "EndScene()");

    EXPECT_EQ(graphics.RenderFrame(), 0);
    EXPECT_EQ(logger.Errors().size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Steps, FrameFailure, ::testing::Values(
    DrawFailure{"SetFVF", 0, 0}, DrawFailure{"SetMaterial", 0, 0},
    DrawFailure{"SetTextureStageState", 0, 0}, DrawFailure{"SetStreamSource", 0, 0},
    DrawFailure{"SetIndices", 0, 0}, DrawFailure{"SetTransform", 1, 0},  // the camera's comes first
    DrawFailure{"DrawIndexedPrimitive", 0, 0}, DrawFailure{"DrawIndexedPrimitive", 0, -10}));

// The character that fails ends its pass: neither a later character of its
// layer nor one of the overlay is drawn after it.
TEST_F(Frame, TheFirstCharacterThatFailsToDrawEndsThePass)
{
    CreateQuietly();
    AddCharacter(0);
    AddCharacter(0);
    AddCharacter(-10);
    AddCharacter(-10);
    for (int skip : {0, 2})
    {
        standin::FailNext("DrawIndexedPrimitive", D3DERR_INVALIDCALL, skip);
        standin::ClearCalls();
        EXPECT_EQ(graphics.RenderFrame(), 1) << "skip " << skip;
        EXPECT_EQ(standin::CountCalls("DrawIndexedPrimitive"), skip + 1);
        EXPECT_EQ(standin::RenderState(D3DRS_ZENABLE), static_cast<DWORD>(D3DZB_TRUE));
    }
}

TEST_F(Frame, FailuresBeforeTheSceneEndTheFrameThere)
{
    CreateQuietly();
    for (const char* operation : {"Present", "Clear", "SetTransform", "BeginScene"})
    {
        standin::FailNext(operation, D3DERR_INVALIDCALL);
        standin::ClearCalls();
        EXPECT_EQ(graphics.RenderFrame(), 1) << operation;
        EXPECT_EQ(standin::CountCalls("BeginScene") - standin::CountCalls("EndScene"),
                  std::string(operation) == "BeginScene" ? 1 : 0) << operation;
        EXPECT_FALSE(standin::InScene());
    }
    EXPECT_EQ(logger.Errors().size(), 4u);
    EXPECT_EQ(graphics.RenderFrame(), 0);
}

// --- Device loss and reset ---------------------------------------------------------------

TEST_F(Frame, ALostDeviceFailsAtPresentOncePerFrame)
{
    CreateQuietly();
    standin::LoseDevice();
    for (int frame = 0; frame < 3; ++frame)
    {
        standin::ClearCalls();
        EXPECT_EQ(graphics.RenderFrame(), 1);
        EXPECT_EQ(standin::DeviceCallTexts(),
                  Lines({"TestCooperativeLevel()", "Present(null, null, null, null)"}));
    }
    EXPECT_EQ(logger.lines,
              Lines(3, ExpectedReport(2, "D3DERR_DEVICELOST", kSource, "device->Present(")));
}

TEST_F(Frame, ResetWithNothingRegisteredSetsEveryStateAgain)
{
    CreateQuietly();
    ASSERT_EQ(graphics.SetFillMode(0), 0);
    ASSERT_EQ(graphics.SetLighting(false), 0);
    ASSERT_EQ(graphics.SetAmbientLight(0xFF111111), 0);
    standin::MakeDeviceResettable();
    standin::ClearCalls();
    ASSERT_EQ(graphics.RenderFrame(), 0);

    const Lines calls = standin::DeviceCallTexts();
    const Lines reset(calls.begin(), calls.begin() + 18);
    EXPECT_EQ(reset, Lines({
        "TestCooperativeLevel()",
        "Reset({800, 600, 21, 1, 0, 0, 1, null, 1, 1, 75, 0, 0, 0})",
        "SetTransform(256, {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}})",
        "SetTransform(2, {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {-0, -0, 1, 1}})",
        "SetTransform(3, {{1.8106601, 0, 0, 0}, {0, 2.4142134, 0, 0}, {0, 0, 1.001001, 1}, {0, 0, -1.001001, 0}})",
        "SetRenderState(137, 0)",
        "SetRenderState(9, 2)",
        "SetRenderState(8, 2)",
        "SetRenderState(139, 0xFF111111)",
        "SetRenderState(7, 1)",
        "SetRenderState(22, 3)",
        "SetTextureStageState(0, 4, 2)",
        "SetTextureStageState(0, 5, 0)",
        "SetTextureStageState(0, 6, 2)",
        "SetRenderState(19, 5)",
        "SetRenderState(20, 6)",
        "SetRenderState(171, 1)",
        "Present(null, null, null, null)",
    }));
    EXPECT_TRUE(logger.lines.empty());
}

class Reset : public Frame
{
protected:
    // A scene with something of every kind that holds device resources.
    void BuildScene()
    {
        CreateQuietly();
        first = AddCharacter(0, kXyzNormal, graphics.CreateMaterial());
        second = AddCharacter(1, kXyzDiffuse);
        ITexture* file = graphics.CreateTexture("stone.bmp", 0);
        ITexture* blank = graphics.CreateTexture(nullptr, 1);
        const std::uint32_t pixels[4] = {1, 2, 3, 4};
        ASSERT_EQ(blank->AddData(pixels, 2, 2), 0);
        first->SetTextures(file, 1);
        ILight* light = graphics.CreateLight();
        ASSERT_EQ(light->Enable(true), 0);
        IFont* font = graphics.CreateFont("Arial", 8, 16, 400);
        font->AddText("hello", 0xFFFFFFFF, 0, 0, 100, 20);
        ASSERT_EQ(graphics.RenderFrame(), 0);
        logger.lines.clear();
    }

    CActor* first = nullptr;
    CActor* second = nullptr;
};

// The recording device refuses Reset while any default-pool resource or
// un-lost font is alive, so a successful reset proves every one was dropped.
TEST_F(Reset, DropsAndRebuildsEveryResourceAroundReset)
{
    BuildScene();
    standin::LoseDevice();
    EXPECT_EQ(graphics.RenderFrame(), 1);
    standin::MakeDeviceResettable();
    standin::ClearCalls();
    logger.lines.clear();
    ASSERT_EQ(graphics.RenderFrame(), 0);

    // Characters in registry order (sorted: format 0x42 before 0x12), then
    // textures, then fonts; Reset; then everything rebuilt in the same order.
    EXPECT_EQ(CallsStartingWith({"VertexBuffer", "IndexBuffer", "Texture", "Font#7.On", "Reset",
                                 "Create", "D3DXCreate", "LightEnable", "SetLight"}),
              Lines({
                  "VertexBuffer#3.Release()",
                  "IndexBuffer#4.Release()",
                  "VertexBuffer#1.Release()",
                  "IndexBuffer#2.Release()",
                  "Texture#5.Release()",
                  "Texture#6.Release()",
                  "Font#7.OnLostDevice()",
                  "Reset({800, 600, 21, 1, 0, 0, 1, null, 1, 1, 75, 0, 0, 0})",
                  "CreateVertexBuffer(36, 8, 66, 0, VertexBuffer#8, null)",
                  "VertexBuffer#8.Lock(0, 36, 8192)",
                  "VertexBuffer#8.Unlock()",
                  "CreateIndexBuffer(12, 8, 102, 0, IndexBuffer#9, null)",
                  "IndexBuffer#9.Lock(0, 12, 8192)",
                  "IndexBuffer#9.Unlock()",
                  "CreateVertexBuffer(36, 8, 18, 0, VertexBuffer#10, null)",
                  "VertexBuffer#10.Lock(0, 36, 8192)",
                  "VertexBuffer#10.Unlock()",
                  "CreateIndexBuffer(12, 8, 102, 0, IndexBuffer#11, null)",
                  "IndexBuffer#11.Lock(0, 12, 8192)",
                  "IndexBuffer#11.Unlock()",
                  "D3DXCreateTextureFromFileExW(Device#1, \"stone.bmp\", 0, 0, 1, 0, 21, 0, 4294967295, 4294967295, 0xFF000000, null, null, Texture#12)",
                  "LightEnable(0, 1)",
                  "Font#7.OnResetDevice()",
              }));
    EXPECT_EQ(logger.lines, Lines({"2: Resetting an actor...", "3: OK", "2: Resetting an actor...", "3: OK"}));
    // The first character drawn after the reset applies its format again.
    EXPECT_EQ(standin::CountCalls("SetFVF"), 2);
}

TEST_F(Reset, AFailedResetRunsTheWholeSequenceAgainNextFrame)
{
    BuildScene();
    standin::MakeDeviceResettable();
    standin::FailNext("Reset", D3DERR_INVALIDCALL);
    standin::ClearCalls();
    EXPECT_EQ(graphics.RenderFrame(), 1);
    EXPECT_EQ(logger.lines, Lines({ExpectedReport(2, "D3DERR_INVALIDCALL", kSource, "device->Reset(")}));
    EXPECT_EQ(standin::CountCalls("CreateVertexBuffer"), 0) << "nothing is rebuilt";
    EXPECT_EQ(standin::CountCalls("Present"), 0);

    standin::ClearCalls();
    ASSERT_EQ(graphics.RenderFrame(), 0);
    EXPECT_EQ(standin::CountCalls("Font.OnLostDevice"), 1);
    EXPECT_EQ(standin::CountCalls("Reset"), 1);
    EXPECT_EQ(standin::CountCalls("CreateVertexBuffer"), 2);
}

TEST_F(Reset, AFailureAfterResetStopsTheSequenceForGood)
{
    BuildScene();
    standin::MakeDeviceResettable();
    standin::FailNext("CreateVertexBuffer", E_OUTOFMEMORY);
    EXPECT_EQ(graphics.RenderFrame(), 1);
    EXPECT_EQ(logger.lines.back(),
              ExpectedReport(3, "E_OUTOFMEMORY", "extra/CActor.cpp", "device->CreateVertexBuffer("));
    ASSERT_EQ(graphics.characters, std::vector<CActor*>({second, first}));
    EXPECT_EQ(first->vertexBuffer, nullptr) << "objects after the failing one are not visited";
    EXPECT_EQ(standin::LightEnabled(0), false) << "nor are the lights";

    // The device works again, so no reset runs any more.
    standin::ClearCalls();
    graphics.RenderFrame();
    EXPECT_EQ(standin::CountCalls("Reset"), 0);
}

// --- Shutdown -------------------------------------------------------------------------------

TEST_F(Frame, ShutdownDestroysRegistriesInOrderThenCameraDeviceAndDirect3D)
{
    CreateQuietly();
    CActor* older = AddCharacter(0);
    CActor* newer = AddCharacter(0);
    graphics.CreateTexture(nullptr, 0)->AddData(std::vector<std::uint32_t>(4, 0).data(), 2, 2);
    graphics.CreateMaterial();
    graphics.CreateLight();
    graphics.CreateFont("Arial", 8, 16, 400);
    const std::string olderBuffer = standin::ObjectName(older->vertexBuffer);
    const std::string newerBuffer = standin::ObjectName(newer->vertexBuffer);
    standin::ClearCalls();
    logger.lines.clear();

    EXPECT_EQ(graphics.DestroyGraphicsSystem(), 0);
    EXPECT_EQ(logger.lines, Lines({"2: Destroying the graphics system...OK"}));
    EXPECT_EQ(CallsStartingWith({"VertexBuffer", "Texture", "Font", "Device", "Direct3D"}), Lines({
        olderBuffer + ".Release()",
        newerBuffer + ".Release()",
        "Texture#5.Release()",
        "Font#6.Release()",
        "Device.Release()",
        "Direct3D.Release()",
    }));
    EXPECT_TRUE(graphics.characters.empty());
    EXPECT_EQ(graphics.camera, nullptr);
    EXPECT_EQ(graphics.device, nullptr);
    EXPECT_EQ(graphics.d3d, nullptr);
    EXPECT_EQ(graphics.cachedFVF, -1);
    EXPECT_TRUE(standin::LiveObjects().empty());

    // A second call finds nothing to release.
    standin::ClearCalls();
    EXPECT_EQ(graphics.DestroyGraphicsSystem(), 0);
    EXPECT_TRUE(standin::Calls().empty());
    EXPECT_EQ(logger.lines.size(), 2u);
}

TEST_F(Frame, ShutdownAfterAFailedCreationReleasesWhatWasMade)
{
    standin::FailNext("CreateDevice", D3DERR_NOTAVAILABLE);
    ASSERT_EQ(Create(), 1);
    standin::ClearCalls();
    EXPECT_EQ(graphics.DestroyGraphicsSystem(), 0);
    EXPECT_EQ(standin::CallTexts(), Lines({"Direct3D.Release()"}));
}

// --- Factories --------------------------------------------------------------------------------

class Factories : public GraphicsTest
{
};

TEST_F(Factories, ShareFileTexturesByExactNameAndStage)
{
    CreateQuietly();
    ITexture* stone = graphics.CreateTexture("stone.bmp", 0);
    EXPECT_EQ(graphics.CreateTexture("stone.bmp", 0), stone);
    ITexture* otherStage = graphics.CreateTexture("stone.bmp", 1);
    ITexture* otherCase = graphics.CreateTexture("Stone.bmp", 0);
    ITexture* blank = graphics.CreateTexture(nullptr, 0);
    ITexture* secondBlank = graphics.CreateTexture(nullptr, 0);
    EXPECT_EQ(Handed<ITexture>(graphics.textures), std::vector<ITexture*>({stone, otherStage, otherCase, blank, secondBlank}));
    EXPECT_EQ(standin::FileNames(), Lines({"stone.bmp", "stone.bmp", "Stone.bmp"}));

    // Destroyed for every holder at once; the stale pointer is unknown after.
    EXPECT_EQ(graphics.DestroyTexture(stone), 0);
    EXPECT_EQ(graphics.DestroyTexture(stone), 1);
    EXPECT_EQ(graphics.DestroyTexture(nullptr), 1);
    EXPECT_EQ(Handed<ITexture>(graphics.textures), std::vector<ITexture*>({otherStage, otherCase, blank, secondBlank}));
}

TEST_F(Factories, AFailedLoadRegistersNothing)
{
    CreateQuietly();
    standin::FailNext("D3DXCreateTextureFromFileExW", D3DXERR_INVALIDDATA);
    EXPECT_EQ(graphics.CreateTexture("missing.bmp", 0), nullptr);
    EXPECT_TRUE(graphics.textures.empty());
    EXPECT_EQ(logger.lines.back(), ExpectedReport(2, "D3DXERR_INVALIDDATA", "extra/CTexture.cpp",
                                                  "LoadFile(kCreateColorKey)"));
}

TEST_F(Factories, ShareFontsByFaceWidthHeightAndWeight)
{
    CreateQuietly();
    IFont* font = graphics.CreateFont("Arial", 8, 16, 400);
    EXPECT_EQ(graphics.CreateFont("Arial", 8, 16, 400), font);
    IFont* swapped = graphics.CreateFont("Arial", 16, 8, 400);
    EXPECT_NE(swapped, font);
    EXPECT_EQ(swapped->GetWidth(), 16);
    EXPECT_EQ(swapped->GetHeight(), 8);
    const Lines fonts = standin::CallTexts("D3DXCreateFontW");
    ASSERT_EQ(fonts.size(), 2u);
    EXPECT_EQ(fonts[1].substr(0, 36), "D3DXCreateFontW(Device#1, 8, 16, 400") << "height before width";
    EXPECT_EQ(graphics.DestroyFont(font), 0);
    EXPECT_EQ(graphics.DestroyFont(font), 1);
    EXPECT_EQ(Handed<IFont>(graphics.fonts), std::vector<IFont*>({swapped}));
}

TEST_F(Factories, LightsUpToTheDeviceLimitOnDistinctIndices)
{
    CreateQuietly();
    std::vector<ILight*> lights;
    for (int i = 0; i < 8; ++i)
        lights.push_back(graphics.CreateLight());
    EXPECT_EQ(graphics.CreateLight(), nullptr);
    for (DWORD i = 0; i < 8; ++i)
        EXPECT_EQ(static_cast<CLight*>(lights[i])->lightIndex, i);

    // A destroyed light's index is given to the next light.
    ASSERT_EQ(graphics.DestroyLight(lights[2]), 0);
    EXPECT_EQ(graphics.DestroyLight(lights[2]), 1);
    ILight* replacement = graphics.CreateLight();
    ASSERT_NE(replacement, nullptr);
    EXPECT_EQ(static_cast<CLight*>(replacement)->lightIndex, 2u);
    EXPECT_EQ(graphics.CreateLight(), nullptr);
}

TEST_F(Factories, CharactersAskForASortAndLeaveInOrder)
{
    CreateQuietly();
    ICharacter* first = graphics.CreateCharacter();
    graphics.sortRequested = false;
    ICharacter* second = graphics.CreateCharacter();
    EXPECT_TRUE(graphics.sortRequested);
    ICharacter* third = graphics.CreateCharacter();
    EXPECT_EQ(graphics.DestroyCharacter(second), 0);
    EXPECT_EQ(graphics.DestroyCharacter(second), 1);
    EXPECT_EQ(graphics.DestroyCharacter(nullptr), 1);
    EXPECT_EQ(Handed<ICharacter>(graphics.characters), std::vector<ICharacter*>({first, third}));
}

TEST_F(Factories, MaterialsStartZeroAndAreDestroyedOnce)
{
    CreateQuietly();
    MaterialDesc* material = graphics.CreateMaterial();
    const MaterialDesc zero = {};
    EXPECT_EQ(std::memcmp(material, &zero, sizeof zero), 0);
    EXPECT_EQ(graphics.DestroyMaterial(material), 0);
    EXPECT_EQ(graphics.DestroyMaterial(material), 1);
}

// --- Screenshots ------------------------------------------------------------------------------

class Screenshot : public GraphicsTest
{
};

TEST_F(Screenshot, WritesTheBackBufferAsABitmapUnderTheGivenName)
{
    CreateQuietly();
    EXPECT_EQ(graphics.SaveScreenshot("frame.jpg"), 0);
    EXPECT_EQ(standin::CallTexts(), Lines({
        "GetBackBuffer(0, 0, 0, Surface#1)",
        "D3DXSaveSurfaceToFileW(\"frame.jpg\", 0, Surface#1, null, null)",
        "Surface#1.Release()",
    }));

    // Once the back buffer is in hand a failed write still answers 0.
    standin::FailNext("D3DXSaveSurfaceToFileW", E_FAIL);
    EXPECT_EQ(graphics.SaveScreenshot("/no/such/folder/frame.bmp"), 0);
    EXPECT_TRUE(logger.lines.empty());
}

TEST_F(Screenshot, FailsWithoutTheBackBufferOrWithAnOverlongName)
{
    CreateQuietly();
    standin::FailNext("GetBackBuffer", D3DERR_INVALIDCALL);
    EXPECT_EQ(graphics.SaveScreenshot("frame.bmp"), 1);
    EXPECT_EQ(logger.lines, Lines({ExpectedReport(2, "D3DERR_INVALIDCALL", kSource, "GetBackBuffer(")}));

    standin::ClearCalls();
    EXPECT_EQ(graphics.SaveScreenshot(std::string(999, 'a').c_str()), 0);
    EXPECT_EQ(graphics.SaveScreenshot(std::string(1000, 'a').c_str()), 1);
    EXPECT_EQ(standin::CountCalls("GetBackBuffer"), 1);
}

}  // namespace
