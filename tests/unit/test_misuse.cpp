// A host that misbehaves must not be able to crash the plug-in: objects
// destroyed while others still use them, sizes without a buffer size,
// objects used after their Release, and memory that runs out.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <standin/Recorder.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "AllocationCounter.h"
#include "CActor.h"
#include "CFont.h"
#include "CTexture.h"
#include "GraphicsTest.h"
#include "SourceLine.h"

namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;

const float kVertices[9] = {0, 0, 0, 1, 0, 0, 0, 1, 0};
const std::uint32_t kIndices[3] = {0, 1, 2};

class Misuse : public GraphicsTest
{
protected:
    void SetUp() override
    {
        GraphicsTest::SetUp();
        CreateQuietly();
    }

    CActor* AddTriangle(int layer = 0)
    {
        ICharacter* character = graphics.CreateCharacter();
        EXPECT_EQ(0, character->Create(3, layer, kXyzDiffuse, sizeof kVertices, 12, 3, kVertices,
                                       kIndices));
        return static_cast<CActor*>(character);
    }

    // Loses the device, lets it be reset and runs the frame that resets it.
    int LoseAndReset()
    {
        standin::LoseDevice();
        standin::MakeDeviceResettable();
        return graphics.RenderFrame();
    }
};

// --- Objects destroyed while in use ---------------------------------------------------

TEST_F(Misuse, ASharedTextureDestroyedByOneHolderIsLetGoByEveryCharacter)
{
    CActor* first = AddTriangle();
    CActor* second = AddTriangle();
    ITexture* texture = graphics.CreateTexture("shared.bmp", 0);
    ASSERT_EQ(texture, graphics.CreateTexture("shared.bmp", 0));
    first->SetTextures(texture, 1);
    second->SetTextures(texture, 1);

    ASSERT_EQ(0, graphics.DestroyTexture(texture));
    standin::ClearCalls();
    EXPECT_EQ(0, graphics.RenderFrame());
    EXPECT_EQ(0, LoseAndReset());

    // Both draw as characters never given a texture.
    EXPECT_EQ(nullptr, first->textures);
    EXPECT_EQ(0, second->textureCount);
    EXPECT_THAT(standin::CallTexts("SetTexture"), IsEmpty());
    EXPECT_THAT(standin::CallTexts("SetTextureStageState"), Contains("SetTextureStageState(0, 2, 0)"));
    EXPECT_EQ(1, graphics.DestroyTexture(texture));
}

TEST_F(Misuse, ADestroyedTextureIsLetGoOnlyByTheCharactersThatHoldIt)
{
    CActor* holder = AddTriangle();
    CActor* bystander = AddTriangle();
    ITexture* doomed = graphics.CreateTexture("doomed.bmp", 0);
    ITexture* kept = graphics.CreateTexture("kept.bmp", 0);
    holder->SetTextures(doomed, 1);
    bystander->SetTextures(kept, 1);

    ASSERT_EQ(0, graphics.DestroyTexture(doomed));
    EXPECT_EQ(nullptr, holder->textures);
    EXPECT_EQ(kept, bystander->textures);
    EXPECT_EQ(1, bystander->textureCount);
    standin::ClearCalls();
    EXPECT_EQ(0, graphics.RenderFrame());
    // The bystander's texture is bound for its draw and unbound after it.
    EXPECT_EQ(2, standin::CountCalls("SetTexture"));
}

TEST_F(Misuse, FontsAndLightsDestroyedInUseLeaveNothingBehind)
{
    IFont* font = graphics.CreateFont("Arial", 0, 16, 400);
    font->AddText("queued", 0xFFFFFFFF, 0, 0, 100, 20);
    ILight* light = graphics.CreateLight();
    light->Enable(true);

    EXPECT_EQ(0, graphics.DestroyFont(font));
    EXPECT_EQ(0, graphics.DestroyLight(light));
    EXPECT_EQ(1, graphics.DestroyFont(font));
    EXPECT_EQ(1, graphics.DestroyLight(light));
    EXPECT_EQ(0, graphics.RenderFrame());
    EXPECT_EQ(0, LoseAndReset());
    EXPECT_EQ(0, standin::CountCalls("Font.DrawTextW"));
}

// --- Sizes ------------------------------------------------------------------------------

class HugeIndexCount : public Misuse, public ::testing::WithParamInterface<int>
{
};

TEST_P(HugeIndexCount, IsRefusedWithOneReportAsAFailedIndexBuffer)
{
    ICharacter* character = graphics.CreateCharacter();
    // The host's index block is small: nothing may read past it.
    EXPECT_EQ(1, character->Create(3, 0, kXyzDiffuse, sizeof kVertices, 12, GetParam(), kVertices,
                                   kIndices));

    EXPECT_THAT(logger.Errors(),
                ElementsAre(ExpectedReport(2, "E_OUTOFMEMORY", "extra/CActor.cpp",
                                           "return !D3D_FAILED(reportLevel, E_OUTOFMEMORY);")));
    EXPECT_EQ(0, standin::CountCalls("CreateIndexBuffer"));
    // As any Create that fails at the index buffer: no copies, nothing rebuilt.
    EXPECT_EQ(nullptr, static_cast<CActor*>(character)->indexCopy);
    // Its frames fail at the draw, as Direct3D 9 refuses a draw without an
    // index buffer, and a reset rebuilds nothing for it.
    EXPECT_EQ(1, LoseAndReset());
    EXPECT_EQ(0, standin::CountCalls("CreateIndexBuffer"));

    EXPECT_EQ(0, character->Create(3, 0, kXyzDiffuse, sizeof kVertices, 12, 3, kVertices, kIndices));
    EXPECT_EQ(0, graphics.RenderFrame());
}

INSTANTIATE_TEST_SUITE_P(Actor, HugeIndexCount, ::testing::Values(1 << 30, INT_MAX),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return info.param == INT_MAX ? std::string("IntMax")
                                                          : std::string("TwoToThe30");
                         });

// --- Objects used after their Release ------------------------------------------------------

TEST_F(Misuse, TheCameraReleasedByTheHostFailsTheFrameWithoutACrash)
{
    graphics.GetCamera()->Release();
    EXPECT_EQ(1, graphics.RenderFrame());
    EXPECT_EQ(1, graphics.GetCamera()->Apply());
}

TEST_F(Misuse, ALightReleasedByTheHostRefusesItsCallsAndDoesNotHoldUpAReset)
{
    ILight* light = graphics.CreateLight();
    light->Release();
    EXPECT_EQ(1, light->Enable(true));
    EXPECT_EQ(1, light->SetProperties(1, 0, 0, 0, 0, 0, 1, 1, 0, 0, 1, 1, 1, 1, 1, 1, 1, 1, 1,
                                      100, 1, 0, 0));
    EXPECT_EQ(0, LoseAndReset());
    EXPECT_EQ(0, standin::CountCalls("LightEnable"));
}

TEST_F(Misuse, ATextureReleasedByTheHostRefusesItsCalls)
{
    ITexture* texture = graphics.CreateTexture(nullptr, 0);
    CActor* character = AddTriangle();
    character->SetTextures(texture, 1);
    texture->Release();
    const std::uint32_t pixel = 0xFF00FF00;

    EXPECT_EQ(1, texture->AddData(&pixel, 1, 1));
    EXPECT_EQ(1, texture->Bind());
    EXPECT_EQ(1, texture->Unbind());
    EXPECT_EQ(0, texture->Unload());
    EXPECT_EQ(1, graphics.RenderFrame());  // its character cannot bind it
    EXPECT_EQ(0, graphics.DestroyTexture(texture));
    EXPECT_EQ(0, graphics.RenderFrame());
}

TEST_F(Misuse, AFontReleasedByTheHostDrawsNothingAndMatchesNoNewFont)
{
    IFont* font = graphics.CreateFont("Arial", 0, 16, 400);
    font->Release();
    EXPECT_EQ(0, font->AddText("after", 0xFFFFFFFF, 0, 0, 10, 10));
    EXPECT_EQ(0, graphics.RenderFrame());
    IFont* again = graphics.CreateFont("Arial", 0, 16, 400);
    ASSERT_NE(nullptr, again);
    EXPECT_NE(font, again);
    EXPECT_EQ(0, LoseAndReset());
}

// --- Names -------------------------------------------------------------------------------

// In the C locale no byte above 0x7F converts. The part before it could name
// another file ("wood"), so nothing of the name reaches D3DX.
TEST_F(Misuse, ATextureNameTheLocaleCannotConvertLoadsNoOtherFile)
{
    graphics.CreateTexture("wood\xFF.bmp", 0);
    EXPECT_THAT(standin::FileNames(), ElementsAre(""));
}

// --- Memory that runs out ----------------------------------------------------------------

// Runs `operation` once with its first allocation failing, then with its
// second, and so on until a run makes fewer allocations. Every run where one
// failed must end in the operation's failure result and no exception; every
// run must leave the system able to draw. Returns the number of runs.
int FailEachAllocation(CGraphicsD3D& graphics, const std::function<bool()>& operationFailed)
{
    for (std::size_t nth = 1;; ++nth)
    {
        bool failed = false;
        bool happened = false;
        {
            AllocationFailure failure(nth);
            EXPECT_NO_THROW(failed = operationFailed()) << "allocation " << nth;
            happened = failure.Happened();
        }
        EXPECT_EQ(happened, failed) << "allocation " << nth;
        EXPECT_EQ(0, graphics.RenderFrame()) << "allocation " << nth;
        if (!happened)
            return static_cast<int>(nth);
    }
}

TEST_F(Misuse, FactoriesAndRegistriesOutOfMemoryGiveNull)
{
    // Registries start empty, so the first of each also grows its registry.
    // A character without geometry cannot be drawn: each one made goes again.
    EXPECT_GT(FailEachAllocation(graphics, [&] {
                  ICharacter* character = graphics.CreateCharacter();
                  return character == nullptr || graphics.DestroyCharacter(character) == 1;
              }), 2);
    EXPECT_GT(FailEachAllocation(graphics, [&] { return graphics.CreateMaterial() == nullptr; }), 2);
    EXPECT_GT(FailEachAllocation(graphics, [&] { return graphics.CreateLight() == nullptr; }), 2);
    EXPECT_GT(FailEachAllocation(graphics, [&] { return graphics.CreateTexture(nullptr, 0) == nullptr; }), 2);
    EXPECT_GT(FailEachAllocation(graphics, [&] { return graphics.CreateTexture("file.bmp", 1) == nullptr; }), 3);
    EXPECT_GT(FailEachAllocation(graphics, [&] { return graphics.CreateFont("Arial", 0, 9, 400) == nullptr; }), 3);
}

TEST_F(Misuse, ObjectOperationsOutOfMemoryGiveOneAndKeepWorking)
{
    ICharacter* character = graphics.CreateCharacter();
    EXPECT_EQ(3, FailEachAllocation(graphics, [&] {
                  return character->Create(3, 0, kXyzDiffuse, sizeof kVertices, 12, 3, kVertices,
                                           kIndices) == 1;
              }));

    ITexture* blank = graphics.CreateTexture(nullptr, 0);
    const std::uint32_t pixels[4] = {1, 2, 3, 4};
    EXPECT_EQ(2, FailEachAllocation(graphics, [&] { return blank->AddData(pixels, 2, 2) == 1; }));

    // Each text lands in a new entry, which the array and the buffer need.
    IFont* font = graphics.CreateFont("Arial", 0, 16, 400);
    EXPECT_GT(FailEachAllocation(graphics, [&] {
                  return font->AddText("a text", 0xFFFFFFFF, 0, 0, 100, 20) == 1;
              }),
              2);
    EXPECT_EQ(0, LoseAndReset());
}

TEST(MisuseWithoutSystem, CreatingTheSystemOutOfMemoryFailsAndShutsDownClean)
{
    standin::Reset();
    RecordingLogger logger;
    for (std::size_t nth = 1;; ++nth)
    {
        CGraphicsD3D graphics;
        int result = 0;
        bool happened = false;
        {
            AllocationFailure failure(nth);
            EXPECT_NO_THROW(result = CreateGraphicsSystem(graphics, nullptr, &logger, VideoSettings()));
            happened = failure.Happened();
        }
        EXPECT_EQ(happened ? 1 : 0, result) << "allocation " << nth;
        graphics.DestroyGraphicsSystem();
        EXPECT_THAT(standin::LiveObjects(), IsEmpty());
        if (!happened)
            break;
    }
}

}  // namespace
