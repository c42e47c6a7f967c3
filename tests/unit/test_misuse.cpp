// A host that misbehaves must not be able to crash the plug-in: objects
// destroyed while others still use them, sizes without a buffer size,
// objects used after their Release, names the locale cannot convert, and
// memory that runs out.

#include <standin/Recorder.h>

#include <climits>
#include <cstdint>
#include <functional>

#include "AllocationCounter.h"
#include "HostTest.h"
#include "SourceLine.h"

namespace {

using ::testing::IsEmpty;

const float kVertices[9] = {0, 0, 0, 1, 0, 0, 0, 1, 0};
const std::uint32_t kIndices[3] = {0, 1, 2};

using Misuse = SystemTest;

// File textures are shared, so one holder's DestroyTexture takes the texture
// from every character that holds it, and from no other.
TEST_F(Misuse, ADestroyedTextureIsLetGoByEveryCharacterThatHoldsItAndNoOther)
{
    ITexture* shared = graphics->CreateTexture("shared.bmp", 0);
    ASSERT_EQ(graphics->CreateTexture("shared.bmp", 0), shared);
    for (ICharacter* holder : {AddCharacter(), AddCharacter()})
        holder->SetTextures(shared, 1);
    AddCharacter()->SetTextures(graphics->CreateTexture("kept.bmp", 0), 1);

    ASSERT_EQ(graphics->DestroyTexture(shared), 0);
    Forget();
    EXPECT_EQ(graphics->RenderFrame(), 0);
    EXPECT_EQ(LoseAndReset(), 0);
    // In each frame the third character binds its texture and unbinds it
    // after its draw; the former holders draw from the vertex colour alone.
    EXPECT_EQ(standin::CountCalls("SetTexture"), 4);
    EXPECT_EQ(CallsStartingWith({"SetTextureStageState(0, 2, 0)"}).size(), 4u);
    EXPECT_THAT(logger.Errors(), IsEmpty());
}

// An index count whose 32-bit buffer size does not exist is refused as the
// device refuses a buffer it has no memory for; nothing reads past the
// host's small index block.
TEST_F(Misuse, HugeIndexCountsAreRefusedWithOneReportAsAFailedIndexBuffer)
{
    for (int indexCount : {1 << 30, INT_MAX})
    {
        SCOPED_TRACE(indexCount);
        ICharacter* character = graphics->CreateCharacter();
        Forget();
        EXPECT_EQ(character->Create(3, 0, kXyzDiffuse, sizeof kVertices, 12, indexCount, kVertices, kIndices), 1);
        EXPECT_EQ(logger.Errors(), Lines({ExpectedReport(2, "E_OUTOFMEMORY", "extra/CActor.cpp",
                                                         "D3D_FAILED(reportLevel, E_OUTOFMEMORY)")}));
        // As any Create that fails at the index buffer: its frames fail at
        // the draw, which Direct3D 9 refuses without an index buffer, and a
        // reset rebuilds nothing for it.
        EXPECT_EQ(LoseAndReset(), 1);
        EXPECT_EQ(standin::CountCalls("CreateIndexBuffer"), 0);
        graphics->DestroyCharacter(character);
    }
}

// Objects whose own Release the host called stay registered without their
// device: what needs it answers 1, frames and resets pass them by, and a
// released font's name matches no new font.
TEST_F(Misuse, ObjectsReleasedByTheHostRefuseWhatNeedsTheDevice)
{
    ILight* light = graphics->CreateLight();
    IFont* font = graphics->CreateFont("Arial", 0, 16, 400);
    light->Release();
    font->Release();
    EXPECT_EQ(light->Enable(true), 1);
    EXPECT_EQ(light->SetProperties(1, 0, 0, 0, 0, 0, 1, 1, 0, 0, 1, 1, 1, 1, 1, 1, 1, 1, 1, 100, 1, 0, 0), 1);
    EXPECT_EQ(font->AddText("after", 0xFFFFFFFF, 0, 0, 10, 10), 0);
    IFont* again = graphics->CreateFont("Arial", 0, 16, 400);
    EXPECT_NE(again, nullptr);
    EXPECT_NE(again, font);
    EXPECT_EQ(LoseAndReset(), 0);
    EXPECT_EQ(standin::CountCalls("LightEnable"), 0);
    EXPECT_EQ(standin::CountCalls("Font.DrawTextW"), 0);

    // A released texture fails its character's frames until it is
    // destroyed, which releases it once more, and its name is gone too.
    ITexture* texture = graphics->CreateTexture("released.bmp", 0);
    AddCharacter()->SetTextures(texture, 1);
    texture->Release();
    EXPECT_EQ(texture->GetFileName(), nullptr);
    const std::uint32_t pixel = 0xFF00FF00;
    EXPECT_EQ(texture->AddData(&pixel, 1, 1), 1);
    EXPECT_EQ(texture->Bind(), 1);
    EXPECT_EQ(texture->Unbind(), 1);
    EXPECT_EQ(texture->Unload(), 0);
    EXPECT_EQ(graphics->RenderFrame(), 1);
    EXPECT_NE(graphics->CreateTexture("released.bmp", 0), texture);
    EXPECT_EQ(graphics->DestroyTexture(texture), 0);
    EXPECT_EQ(graphics->RenderFrame(), 0);

    // Without its camera no frame can be drawn.
    graphics->GetCamera()->Release();
    EXPECT_EQ(graphics->RenderFrame(), 1);
    EXPECT_EQ(graphics->GetCamera()->Apply(), 1);
}

// In the C locale no byte above 0x7F converts. The part before it could name
// another file ("wood"), so nothing of the name reaches D3DX.
TEST_F(Misuse, ATextureNameTheLocaleCannotConvertLoadsNoOtherFile)
{
    graphics->CreateTexture("wood\xFF.bmp", 0);
    EXPECT_EQ(standin::FileNames(), Lines({""}));
}

// --- Memory that runs out ----------------------------------------------------------------

// Runs `operationFailed` with its first allocation failing, then its second,
// and so on until a run makes fewer: a run where one failed must end in the
// failure result, without an exception; `afterEachRun` checks what every run
// leaves. Returns the number of allocations the operation makes.
std::size_t FailEachAllocation(const std::function<bool()>& operationFailed,
                               const std::function<void()>& afterEachRun)
{
    for (std::size_t nth = 1;; ++nth)
    {
        SCOPED_TRACE("allocation " + std::to_string(nth));
        bool failed = false;
        bool happened = false;
        {
            AllocationFailure failure(nth);
            EXPECT_NO_THROW(failed = operationFailed());
            happened = failure.Happened();
        }
        EXPECT_EQ(failed, happened);
        afterEachRun();
        if (!happened)
            return nth - 1;
    }
}

// After every run the system still draws. Registries start empty, so the
// first of each object also grows its registry (the least allocations each
// makes); each text needs a new entry and its buffer.
TEST_F(Misuse, EveryAllocationOfFactoriesAndOperationsRunningOutGivesTheFailureResult)
{
    ICharacter* character = graphics->CreateCharacter();
    ITexture* blank = graphics->CreateTexture(nullptr, 0);
    IFont* font = graphics->CreateFont("Arial", 0, 16, 400);
    const std::uint32_t pixels[4] = {1, 2, 3, 4};
    struct Operation { const char* name; std::function<bool()> failed; std::size_t allocations; };
    // The character's Create first: without geometry it could not be drawn,
    // and neither could a new character, so each one made goes again.
    const Operation operations[] = {
        {"Create", [&] {
             return character->Create(3, 0, kXyzDiffuse, sizeof kVertices, 12, 3, kVertices, kIndices) == 1;
         }, 2},
        {"CreateCharacter", [&] {
             ICharacter* made = graphics->CreateCharacter();
             return made == nullptr || graphics->DestroyCharacter(made) == 1;
         }, 2},
        {"CreateMaterial", [&] { return graphics->CreateMaterial() == nullptr; }, 2},
        {"CreateLight", [&] { return graphics->CreateLight() == nullptr; }, 2},
        {"CreateTexture blank", [&] { return graphics->CreateTexture(nullptr, 0) == nullptr; }, 2},
        {"CreateTexture file", [&] { return graphics->CreateTexture("file.bmp", 1) == nullptr; }, 3},
        {"CreateFont", [&] { return graphics->CreateFont("Arial", 0, 9, 400) == nullptr; }, 3},
        {"AddData", [&] { return blank->AddData(pixels, 2, 2) == 1; }, 1},
        {"AddText", [&] { return font->AddText("a text", 0xFFFFFFFF, 0, 0, 100, 20) == 1; }, 2},
    };
    for (const Operation& operation : operations)
    {
        SCOPED_TRACE(operation.name);
        EXPECT_GE(FailEachAllocation(operation.failed, [&] { EXPECT_EQ(graphics->RenderFrame(), 0); }),
                  operation.allocations);
    }
    EXPECT_EQ(LoseAndReset(), 0);
}

using MisuseWithoutSystem = HostTest;

TEST_F(MisuseWithoutSystem, CreatingTheSystemOutOfMemoryFailsAndShutsDownClean)
{
    EXPECT_GE(FailEachAllocation([&] { return Create() == 1; },
                                 [&] {
                                     graphics->DestroyGraphicsSystem();
                                     EXPECT_THAT(standin::LiveObjects(), IsEmpty());
                                 }),
              1u);
}

}  // namespace
