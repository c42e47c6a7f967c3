// A character's buffers, transform, alpha states, textures and material, as
// its own operations and the frames that draw it show them on the device.

#include <gtest/gtest.h>

#include <standin/Recorder.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "HostTest.h"

namespace {

using Bytes = std::vector<unsigned char>;

// A character holding four 16-byte vertices and seven indices: two whole
// triangles and one index left over. Its Create's calls stay recorded.
class Character : public SystemTest
{
protected:
    void SetUp() override
    {
        SystemTest::SetUp();
        for (std::size_t i = 0; i < vertices.size(); ++i)
            vertices[i] = static_cast<unsigned char>(i * 7 + 1);
        character = graphics->CreateCharacter();
        ASSERT_NE(character, nullptr);
        ASSERT_EQ(CreateQuad(), 0);
    }

    int CreateQuad() { return character->Create(4, 0, kXyzDiffuse, 64, 16, 7, vertices.data(), indices.data()); }

    // The calls of one frame that start with one of the prefixes.
    Lines FrameCalls(const Lines& prefixes)
    {
        Forget();
        EXPECT_EQ(graphics->RenderFrame(), 0);
        return CallsStartingWith(prefixes);
    }

    Bytes vertices = Bytes(64);
    std::vector<std::uint32_t> indices = {0, 1, 2, 2, 1, 3, 0};
    ICharacter* character = nullptr;
};

// The buffers are filled from the character's own copies, so a reset builds
// them alike even after the host has reused its blocks.
TEST_F(Character, BuffersHoldTheGeometryOfCreateAndAreRebuiltAlikeAfterAReset)
{
    EXPECT_EQ(standin::DeviceCallTexts(), Lines({
        "CreateVertexBuffer(64, 8, 66, 0, VertexBuffer#1, null)",
        "CreateIndexBuffer(28, 8, 102, 0, IndexBuffer#2, null)",
        "VertexBuffer#1.Lock(0, 64, 8192)",
        "VertexBuffer#1.Unlock()",
        "IndexBuffer#2.Lock(0, 28, 8192)",
        "IndexBuffer#2.Unlock()",
    }));
    const Bytes createdVertices = vertices;
    Bytes createdIndices(indices.size() * sizeof indices[0]);
    std::memcpy(createdIndices.data(), indices.data(), createdIndices.size());
    std::fill(vertices.begin(), vertices.end(), 0xEE);
    std::fill(indices.begin(), indices.end(), 0xDDDDDDDDu);

    Forget();
    ASSERT_EQ(LoseAndReset(), 0);
    EXPECT_EQ(CallsStartingWith({"VertexBuffer", "IndexBuffer", "CreateVertexBuffer", "CreateIndexBuffer",
                                 "SetStreamSource", "SetIndices"}),
              Lines({
                  "VertexBuffer#1.Release()",
                  "IndexBuffer#2.Release()",
                  "CreateVertexBuffer(64, 8, 66, 0, VertexBuffer#3, null)",
                  "VertexBuffer#3.Lock(0, 64, 8192)",
                  "VertexBuffer#3.Unlock()",
                  "CreateIndexBuffer(28, 8, 102, 0, IndexBuffer#4, null)",
                  "IndexBuffer#4.Lock(0, 28, 8192)",
                  "IndexBuffer#4.Unlock()",
                  "SetStreamSource(0, VertexBuffer#3, 0, 16)",
                  "SetIndices(IndexBuffer#4)",
              }));
    for (const char* buffer : {"VertexBuffer#1", "VertexBuffer#3"})
        EXPECT_EQ(standin::BufferBytes(standin::ObjectNamed(buffer)), createdVertices) << buffer;
    for (const char* buffer : {"IndexBuffer#2", "IndexBuffer#4"})
        EXPECT_EQ(standin::BufferBytes(standin::ObjectNamed(buffer)), createdIndices) << buffer;
    EXPECT_EQ(logger.lines, Lines({"2: Resetting an actor...", "3: OK"}));
}

// A host may drop the buffers or release the character itself, once or
// twice: a reset still rebuilds it, and shutdown finds nothing left to free.
TEST_F(Character, ReleaseAndDeviceLossMayBeRepeated)
{
    EXPECT_EQ(character->OnLostDevice(), 0);
    EXPECT_EQ(character->OnLostDevice(), 0);
    EXPECT_EQ(LoseAndReset(), 0);
    EXPECT_EQ(character->Release(), 0);
    EXPECT_EQ(character->Release(), 0);
}

// The world is rotation x translation x scaling: the mesh turns about its own
// origin, and the scale applies to the translation as well. Degrees become
// radians with pi as a float (10 degrees is 0.17453292 with pi in double);
// the first angle is the pitch, the second the yaw.
TEST_F(Character, TheWorldIsRotationThenTranslationThenScaling)
{
    const struct
    {
        float rotation[3], scale[3];
        std::string rotationCall, world;
    } cases[] = {
        {{0, 0, 0}, {1, 1, 1}, "(0, 0, 0)", "{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {1, 2, 3, 1}}"},
        {{0, 0, 0}, {2, 3, 4}, "(0, 0, 0)", "{{2, 0, 0, 0}, {0, 3, 0, 0}, {0, 0, 4, 0}, {2, 6, 12, 1}}"},
        {{0, 180, 0}, {1, 1, 1}, "(3.1415927, 0, 0)",
         "{{-1, 0, 8.742278e-08, 0}, {0, 1, 0, 0}, {-8.742278e-08, 0, -1, 0}, {1, 2, 3, 1}}"},
        {{10, 20, 30}, {1, 1, 1}, "(0.34906587, 0.17453294, 0.5235988)",
         "{{0.8434932, 0.49240386, -0.21461016, 0}, {-0.41841203, 0.8528685, 0.31232458, 0}, "
         "{0.3368241, -0.1736482, 0.9254165, 0}, {1, 2, 3, 1}}"},
    };
    character->SetPosition(1, 2, 3);
    for (const auto& row : cases)
    {
        SCOPED_TRACE(row.rotationCall);
        Forget();
        character->SetRotation(row.rotation[0], row.rotation[1], row.rotation[2]);
        character->SetScale(row.scale[0], row.scale[1], row.scale[2]);
        EXPECT_EQ(standin::CallTexts("D3DXMatrixRotationYawPitchRoll"),
                  Lines({"D3DXMatrixRotationYawPitchRoll" + row.rotationCall}));
        EXPECT_EQ(FrameCalls({"SetTransform(256"}), Lines({"SetTransform(256, " + row.world + ")"}));
    }

    // Create starts the character over at the origin, unturned and unscaled.
    ASSERT_EQ(CreateQuad(), 0);
    EXPECT_EQ(FrameCalls({"SetTransform(256"}),
              Lines({"SetTransform(256, {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}})"}));
}

// Blending is switched for every draw as the character's flags say; texture
// alpha also modulates stage 0's alpha and sets the blend operation after
// the draw. Only whole triangles are drawn.
TEST_F(Character, AlphaFlagsSetTheirStatesAroundADrawOfWholeTriangles)
{
    const std::string draw = "DrawIndexedPrimitive(4, 0, 0, 4, 0, 2)";
    const Lines modulated = {"SetRenderState(27, 1)", "SetTextureStageState(0, 4, 4)", draw, "SetRenderState(171, 1)"};
    const struct
    {
        bool alphaBlend, textureAlpha;
        Lines calls;
    } cases[] = {
        {false, false, {"SetRenderState(27, 0)", draw}},
        {true, false, {"SetRenderState(27, 1)", draw}},
        {false, true, modulated},
        {true, true, modulated},
    };
    for (const auto& row : cases)
    {
        SCOPED_TRACE(std::to_string(row.alphaBlend) + std::to_string(row.textureAlpha));
        character->SetAlphaBlend(row.alphaBlend);
        character->SetTextureAlpha(row.textureAlpha);
        EXPECT_EQ(FrameCalls({"SetRenderState(27,", "SetRenderState(171,", "SetTextureStageState(0, 4,",
                              "DrawIndexedPrimitive"}),
                  row.calls);
    }
}

// A texture binds and unbinds its own stage around the draw; without one the
// character's vertex colour modulates the current colour. A count above one
// still reaches the single texture a host can hand over; a count of zero
// leaves every stage alone.
TEST_F(Character, ATextureSetsItsStageAroundTheDrawWithoutOneTheDiffuseColourIsUsed)
{
    ITexture* stone = graphics->CreateTexture("stone.bmp", 1);
    const Lines bound = {"SetTextureStageState(1, 1, 4)", "SetTextureStageState(1, 2, 2)",
                         "SetTextureStageState(1, 3, 1)", "SetTexture(1, Texture#3)", "SetTexture(1, null)"};
    const struct
    {
        ITexture* texture;
        int count;
        Lines calls;
    } cases[] = {
        {nullptr, 0, {"SetTextureStageState(0, 1, 4)", "SetTextureStageState(0, 2, 0)",
                      "SetTextureStageState(0, 3, 1)"}},
        {stone, 0, {}},
        {stone, 1, bound},
        {stone, 3, bound},
    };
    for (const auto& row : cases)
    {
        SCOPED_TRACE(row.count);
        character->SetTextures(row.texture, row.count);
        EXPECT_EQ(FrameCalls({"SetTextureStageState(0, 1,", "SetTextureStageState(0, 2,", "SetTextureStageState(0, 3,",
                              "SetTextureStageState(1,", "SetTexture("}),
                  row.calls);
    }
}

// SetMaterial copies the record's fields, each to its own colour and without
// alpha, and sets them at once; the frame applies that copy. Values the host
// changes later reach the device with the next SetMaterial.
TEST_F(Character, TheMaterialIsACopyOfTheRecordTakenAtEachSetMaterial)
{
    MaterialDesc* record = graphics->CreateMaterial();
    *record = {{0.1f, 0.2f, 0.3f}, {1, 0.5f, 0.25f}, {0.4f, 0.5f, 0.6f}, {0.7f, 0.8f, 0.9f}, 12};
    const std::string copy =
        "SetMaterial({{1, 0.5, 0.25, 0}, {0.1, 0.2, 0.3, 0}, {0.4, 0.5, 0.6, 0}, {0.7, 0.8, 0.9, 0}, 12})";
    Forget();
    ASSERT_EQ(character->SetMaterial(record), 0);
    record->diffuse[0] = 0.75f;
    ASSERT_EQ(graphics->RenderFrame(), 0);
    ASSERT_EQ(character->SetMaterial(record), 0);
    EXPECT_EQ(character->SetMaterial(nullptr), 1);
    EXPECT_EQ(character->GetMaterial(), record);
    EXPECT_EQ(standin::CallTexts("SetMaterial"), Lines({
        copy,
        copy,
        "SetMaterial({{0.75, 0.5, 0.25, 0}, {0.1, 0.2, 0.3, 0}, {0.4, 0.5, 0.6, 0}, {0.7, 0.8, 0.9, 0}, 12})",
    }));
}

}  // namespace
