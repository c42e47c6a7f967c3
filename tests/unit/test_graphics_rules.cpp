// Rules of the graphics system that show only in particular scenes: the
// caches across a reset and a second device, each step of the reset sequence
// that can stop it, the order of calls inside one character's draw and at
// the end of the scene, and the four keys of font sharing.

#include <gtest/gtest.h>

#include <standin/Recorder.h>

#include <algorithm>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "GraphicsTest.h"
#include "SourceLine.h"

namespace {

using Lines = std::vector<std::string>;


// The recorded call texts that contain the fragment.
Lines CallsContaining(const std::string& fragment)
{
    return standin::CallTexts([&](const standin::Call& call) {
        return call.Text().find(fragment) != std::string::npos;
    });
}

class Scene : public GraphicsTest
{
protected:
    // Loses the device, lets it be reset and renders the frame that resets it.
    int RenderResettingFrame()
    {
        standin::MakeDeviceResettable();
        standin::ClearCalls();
        logger.lines.clear();
        return graphics.RenderFrame();
    }
};

// --- The caches across a reset and across a second device --------------------------

// One character, drawn before and after a reset: Reset returned the device's
// format and material to their defaults, so both are applied again even
// though the character is the one that applied them last.
TEST_F(Scene, AfterAResetTheFirstCharacterAppliesItsFormatAndMaterialAgain)
{
    CreateQuietly();
    AddCharacter(0, kXyzDiffuse, graphics.CreateMaterial());
    ASSERT_EQ(graphics.RenderFrame(), 0);
    standin::ClearCalls();
    ASSERT_EQ(graphics.RenderFrame(), 0);
    ASSERT_EQ(standin::CountCalls("SetFVF"), 0) << "a steady frame applies nothing again";

    ASSERT_EQ(RenderResettingFrame(), 0);
    EXPECT_EQ(standin::CallTexts("SetFVF"), Lines({"SetFVF(66)"}));
    EXPECT_EQ(standin::CountCalls("SetMaterial"), 1);
}

// A graphics system brought up again after shutdown draws on a device that
// has none of the old one's state.
TEST_F(Scene, ASecondDeviceGetsTheFormatOfTheFirstCharacterAgain)
{
    CreateQuietly();
    AddCharacter(0);
    ASSERT_EQ(graphics.RenderFrame(), 0);
    ASSERT_EQ(graphics.DestroyGraphicsSystem(), 0);

    CreateQuietly();
    AddCharacter(0);
    ASSERT_EQ(graphics.RenderFrame(), 0);
    EXPECT_EQ(standin::CallTexts("SetFVF"), Lines({"SetFVF(66)"}));
}

// The caches are updated before the apply call, so a format or material
// whose apply failed counts as applied in the next frame.
TEST_F(Scene, AFormatOrMaterialThatFailedToApplyIsNotAppliedAgain)
{
    for (const char* operation : {"SetFVF", "SetMaterial"})
    {
        CreateQuietly();
        AddCharacter(0, kXyzDiffuse, graphics.CreateMaterial());
        standin::FailNext(operation, D3DERR_INVALIDCALL);
        standin::ClearCalls();
        EXPECT_EQ(graphics.RenderFrame(), 1) << operation;
        EXPECT_EQ(graphics.RenderFrame(), 0) << operation;
        EXPECT_EQ(standin::CountCalls(operation), 1) << operation;
        graphics.DestroyGraphicsSystem();
    }
}

// The overlay's depth-test switches are not checked: a device that refuses
// them still gets the overlay drawn and the frame succeeds.
TEST_F(Scene, TheOverlayIsDrawnEvenWhenDepthTestingCannotBeSwitched)
{
    CreateQuietly();
    AddCharacter(-10);
    ASSERT_EQ(graphics.RenderFrame(), 0);
    standin::FailFrom("SetRenderState", standin::CountCalls("SetRenderState") + 1, D3DERR_INVALIDCALL);
    standin::ClearCalls();
    EXPECT_EQ(graphics.RenderFrame(), 0);
    EXPECT_EQ(standin::CountCalls("DrawIndexedPrimitive"), 1);
    EXPECT_TRUE(logger.lines.empty());
}

// --- What the reset sequence sets again ----------------------------------------------

// Fill mode 2 is remembered and passed again, and as at SetFillMode it makes
// no device call; the reset goes on with the states after it.
TEST_F(Scene, AResetPassesFillModeTwoWithoutADeviceCall)
{
    CreateQuietly();
    ASSERT_EQ(graphics.SetFillMode(2), 0);
    ASSERT_EQ(graphics.SetAmbientLight(0xFF123456), 0);
    ASSERT_EQ(RenderResettingFrame(), 0);
    EXPECT_TRUE(CallsContaining("SetRenderState(8,").empty());
    EXPECT_EQ(CallsContaining("SetRenderState(139,"), Lines({"SetRenderState(139, 0xFF123456)"}));
    EXPECT_EQ(standin::CountCalls("Present"), 1);
    EXPECT_TRUE(logger.lines.empty());
}

// --- Each step that can stop the reset sequence ----------------------------------------

struct ResetStop
{
    const char* operation;  // the failing call
    int skip;               // calls of it in the reset before the failing one
    const char* notReached; // a call of a later step, which must not be made
    const char* file;       // where the failure is reported, and at what level
    int level;
};

void PrintTo(const ResetStop& stop, std::ostream* out)
{
    *out << stop.operation << " #" << stop.skip + 1;
}

class ResetSequence : public Scene, public ::testing::WithParamInterface<ResetStop>
{
protected:
    // Something of every kind that the reset visits.
    void BuildScene()
    {
        CreateQuietly();
        ASSERT_EQ(graphics.SetFillMode(1), 0);
        AddCharacter(0, kXyzDiffuse, graphics.CreateMaterial());
        ASSERT_NE(graphics.CreateTexture("stone.bmp", 0), nullptr);
        ILight* light = graphics.CreateLight();
        ASSERT_EQ(light->Enable(true), 0);
        IFont* font = graphics.CreateFont("Arial", 8, 16, 400);
        font->AddText("hello", 0xFFFFFFFF, 0, 0, 100, 20);
        ASSERT_EQ(graphics.RenderFrame(), 0);
    }
};

// A failing step is reported once, the frame returns 1 at once (no Present)
// and no later step of the sequence is taken.
TEST_P(ResetSequence, StopsAtTheFirstFailingStep)
{
    const ResetStop& stop = GetParam();
    BuildScene();
    standin::FailNext(stop.operation, D3DERR_INVALIDCALL, stop.skip);
    EXPECT_EQ(RenderResettingFrame(), 1);

    ASSERT_EQ(logger.Errors().size(), 1u) << ::testing::PrintToString(logger.lines);
    EXPECT_EQ(logger.Errors()[0].substr(0, 2), std::to_string(stop.level) + ":");
    EXPECT_NE(logger.Errors()[0].find(stop.file), std::string::npos) << logger.Errors()[0];
    EXPECT_EQ(standin::CountCalls("Present"), 0);
    EXPECT_TRUE(CallsContaining(stop.notReached).empty())
        << stop.notReached << " was reached";
}

INSTANTIATE_TEST_SUITE_P(Steps, ResetSequence, ::testing::Values(
    ResetStop{"Font.OnLostDevice", 0, "Reset(", "extra/CFont.cpp", 2},
    ResetStop{"Reset", 0, "CreateVertexBuffer", "extra/CGraphicsD3D.cpp", 2},
    ResetStop{"CreateVertexBuffer", 0, "D3DXCreateTextureFromFileExW", "extra/CActor.cpp", 3},
    ResetStop{"D3DXCreateTextureFromFileExW", 0, "LightEnable", "extra/CTexture.cpp", 2},
    ResetStop{"LightEnable", 0, ".OnResetDevice", "extra/CLight.cpp", 3},
    ResetStop{"Font.OnResetDevice", 0, "SetTransform(", "extra/CFont.cpp", 2},
    // The world transform, then the camera's view, then the projection.
    ResetStop{"SetTransform", 1, "SetTransform(3,", "extra/CCamera.cpp", 2},
    ResetStop{"SetTransform", 2, "SetRenderState(", "extra/CGraphicsD3D.cpp", 2},
    // Lighting, shade mode, fill mode, ambient colour, depth test, culling.
    ResetStop{"SetRenderState", 0, "SetRenderState(9,", "extra/CGraphicsD3D.cpp", 2},
    ResetStop{"SetRenderState", 2, "SetRenderState(139,", "extra/CGraphicsD3D.cpp", 2},
    ResetStop{"SetRenderState", 4, "SetRenderState(22,", "extra/CGraphicsD3D.cpp", 2},
    ResetStop{"SetRenderState", 5, "SetRenderState(19,", "extra/CGraphicsD3D.cpp", 2}));

// --- The order of calls inside a frame ------------------------------------------------

// One textured, blended character: format, material, its texture's stage
// and binding, its buffers, its world, blending, the draw, then the unbind.
TEST_F(Scene, ACharacterAppliesFormatMaterialTexturesBuffersThenDraws)
{
    CreateQuietly();
    ICharacter* character = AddCharacter(0, kXyzDiffuse, graphics.CreateMaterial());
    character->SetTextures(graphics.CreateTexture("stone.bmp", 1), 1);
    character->SetAlphaBlend(true);
    standin::ClearCalls();
    ASSERT_EQ(graphics.RenderFrame(), 0);

    const Lines calls = standin::DeviceCallTexts();
    const auto begin = std::find(calls.begin(), calls.end(), "BeginScene()");
    ASSERT_NE(begin, calls.end());
    const Lines scene(begin + 1, begin + 13);
    EXPECT_EQ(scene, Lines({
        "SetFVF(66)",
        "SetMaterial({{0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}, 0})",
        "SetTextureStageState(1, 1, 4)",
        "SetTextureStageState(1, 2, 2)",
        "SetTextureStageState(1, 3, 1)",
        "SetTexture(1, Texture#3)",
        "SetStreamSource(0, VertexBuffer#1, 0, 12)",
        "SetIndices(IndexBuffer#2)",
        "SetTransform(256, {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}})",
        "SetRenderState(27, 1)",
        "DrawIndexedPrimitive(4, 0, 0, 3, 0, 1)",
        "SetTexture(1, null)",
    }));
}

// The overlay, with depth testing off and on again around it, then the text,
// then the end of the scene.
TEST_F(Scene, TextIsDrawnAfterTheOverlayJustBeforeTheSceneEnds)
{
    CreateQuietly();
    AddCharacter(-10);
    IFont* font = graphics.CreateFont("Arial", 8, 16, 400);
    font->AddText("title", 0xFFFFFFFF, 0, 0, 100, 20);
    standin::ClearCalls();
    ASSERT_EQ(graphics.RenderFrame(), 0);

    const Lines calls = standin::CallTexts([](const standin::Call& call) {
        return call.name == "DrawIndexedPrimitive" || call.name == "Font.DrawTextW" ||
               call.name == "EndScene" || call.Text().rfind("SetRenderState(7,", 0) == 0;
    });
    ASSERT_EQ(calls.size(), 5u);
    EXPECT_EQ(calls[0], "SetRenderState(7, 0)");
    EXPECT_EQ(calls[1], "DrawIndexedPrimitive(4, 0, 0, 3, 0, 1)");
    EXPECT_EQ(calls[2], "SetRenderState(7, 1)");
    EXPECT_EQ(calls[3].rfind("Font#", 0), 0u) << calls[3];
    EXPECT_EQ(calls[4], "EndScene()");
}

TEST_F(Scene, AFailedEndSceneIsReportedAndFailsTheFrame)
{
    CreateQuietly();
    AddCharacter(0);
    standin::FailNext("EndScene", D3DERR_INVALIDCALL);
    EXPECT_EQ(graphics.RenderFrame(), 1);
    EXPECT_EQ(logger.lines, Lines({ExpectedReport(2, "D3DERR_INVALIDCALL", "extra/CGraphicsD3D.cpp",
                                                  "device->EndScene()")}));
}

// --- Font sharing ------------------------------------------------------------------------

// A font is shared only when face (letter case included), width, height and
// weight all match: any one of them different makes a font of its own.
TEST_F(Scene, FontsAreSharedOnlyWhenFaceWidthHeightAndWeightAllMatch)
{
    CreateQuietly();
    IFont* font = graphics.CreateFont("Arial", 8, 16, 400);
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(graphics.CreateFont("Arial", 8, 16, 400), font);
    EXPECT_NE(graphics.CreateFont("Tahoma", 8, 16, 400), font) << "face";
    EXPECT_NE(graphics.CreateFont("arial", 8, 16, 400), font) << "face, in other letter case";
    EXPECT_NE(graphics.CreateFont("Arial", 9, 16, 400), font) << "width";
    EXPECT_NE(graphics.CreateFont("Arial", 8, 17, 400), font) << "height";
    EXPECT_NE(graphics.CreateFont("Arial", 8, 16, 700), font) << "weight";
    EXPECT_EQ(graphics.fonts.size(), 6u);
    EXPECT_EQ(standin::CountCalls("D3DXCreateFontW"), 6);
}

}  // namespace
