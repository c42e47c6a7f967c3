#include <gmock/gmock.h>
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
#include "CGraphicsD3D.h"
#include "ITexture.h"
#include "DeviceTest.h"

namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::MatchesRegex;
using ::testing::Not;
using ::testing::StartsWith;

const DWORD kFormat = D3DFVF_XYZ | D3DFVF_DIFFUSE;  // 66

// A texture of the test's own: counts the calls and answers as told.
class FakeTexture : public ITexture
{
public:
    int Create(ILogger*, const char*, int) override { return 0; }
    int Release() override { return 0; }
    void Destroy() override {}
    int Bind() override { ++binds; return result; }
    int Reload() override { return 0; }
    int Unload() override { return 0; }
    const char* GetFileName() override { return nullptr; }
    int GetStage() override { return 0; }
    int Unbind() override { ++unbinds; return result; }
    int AddData(const std::uint32_t*, int, int) override { return 0; }

    int binds = 0, unbinds = 0, result = 0;
};

class ActorTest : public DeviceTest
{
protected:
    void SetUp() override
    {
        DeviceTest::SetUp();
        actor->device = device;
        actor->owner = &graphics;
        actor->records = &graphics.materials;
        ASSERT_EQ(actor->Init(&logger), 0);
        for (std::size_t i = 0; i < vertices.size(); ++i)
            vertices[i] = static_cast<unsigned char>(i * 7 + 1);
        standin::ClearCalls();
    }

    void TearDown() override
    {
        actor->SetTextures(nullptr, 0);
        actor->Release();
        actor->Destroy();
        DeviceTest::TearDown();
    }

    // Four 16-byte vertices and seven indices: two triangles and one left over.
    int CreateQuad(DWORD format = kFormat, int layer = 0)
    {
        return actor->Create(4, layer, format, 64, 16, 7, vertices.data(), indices.data());
    }

    std::vector<unsigned char> IndexBytes() const
    {
        std::vector<unsigned char> bytes(indices.size() * 4);
        std::memcpy(bytes.data(), indices.data(), bytes.size());
        return bytes;
    }

    CGraphicsD3D graphics;
    CActor* actor = new CActor();
    std::vector<unsigned char> vertices = std::vector<unsigned char>(64);
    std::vector<std::uint32_t> indices = {0, 1, 2, 2, 1, 3, 0};
};

TEST_F(ActorTest, BuffersHoldTheLastGeometryAgainAfterAResetEvenWhenTheHostOverwroteIt)
{
    ASSERT_EQ(CreateQuad(), 0);
    const std::vector<unsigned char> createdVertices = vertices, createdIndices = IndexBytes();
    EXPECT_EQ(standin::BufferBytes(actor->vertexBuffer), createdVertices);
    EXPECT_EQ(standin::BufferBytes(actor->indexBuffer), createdIndices);
    std::fill(vertices.begin(), vertices.end(), 0xEE);
    std::fill(indices.begin(), indices.end(), 0xDDDDDDDDu);

    actor->OnLostDevice();
    EXPECT_THAT(standin::LiveObjects(), ElementsAre(StartsWith("Direct3D#"), StartsWith("Device#")));
    standin::ClearCalls();
    ASSERT_EQ(actor->OnResetDevice(), 0);
    EXPECT_THAT(standin::DeviceCallTexts(),
                ElementsAre(StartsWith("CreateVertexBuffer(64, 8, 66, 0, "),
                            "VertexBuffer#3.Lock(0, 64, 8192)", "VertexBuffer#3.Unlock()",
                            StartsWith("CreateIndexBuffer(28, 8, 102, 0, "),
                            "IndexBuffer#4.Lock(0, 28, 8192)", "IndexBuffer#4.Unlock()"));
    EXPECT_EQ(standin::BufferBytes(actor->vertexBuffer), createdVertices);
    EXPECT_EQ(standin::BufferBytes(actor->indexBuffer), createdIndices);
    EXPECT_THAT(logger.lines, ElementsAre("2: Resetting an actor...", "3: OK"));

    // Without saved geometry a reset builds nothing and still succeeds.
    actor->Release();
    standin::ClearCalls();
    ASSERT_EQ(actor->OnResetDevice(), 0);
    EXPECT_THAT(standin::DeviceCallTexts(), IsEmpty());
}

TEST_F(ActorTest, GeometryThatCannotBeCopiedIsRefusedAndTheOldGeometryStays)
{
    ASSERT_EQ(CreateQuad(), 0);
    IDirect3DVertexBuffer9* buffer = actor->vertexBuffer;
    standin::ClearCalls();
    EXPECT_EQ(actor->Create(4, 0, kFormat, 64, 16, 3, nullptr, indices.data()), 1);
    EXPECT_EQ(actor->Create(4, 0, kFormat, 64, 16, 3, vertices.data(), nullptr), 1);
    EXPECT_EQ(actor->Create(4, 0, kFormat, 64, 16, -3, vertices.data(), indices.data()), 1);
    EXPECT_THAT(standin::CallTexts(), IsEmpty());
    EXPECT_EQ(actor->vertexBuffer, buffer);
}

TEST_F(ActorTest, WorldIsRotationThenTranslationThenScalingAndCreateResetsIt)
{
    actor->SetPosition(5, 6, 7);
    ASSERT_EQ(CreateQuad(), 0);
    ASSERT_EQ(actor->ApplyBuffers(), 0);  // as the frame does before a draw
    ASSERT_EQ(actor->Render(), 0);
    D3DXMATRIX world(standin::Transform(D3DTS_WORLD));
    EXPECT_TRUE(D3DXMatrixIsIdentity(&world));

    actor->SetPosition(1, 2, 3);
    actor->SetScale(2, 2, 2);
    ASSERT_EQ(actor->Render(), 0);
    world = standin::Transform(D3DTS_WORLD);
    EXPECT_TRUE(world == D3DXMATRIX(2, 0, 0, 0, 0, 2, 0, 0, 0, 0, 2, 0, 2, 4, 6, 1));

    // The rotation turns the mesh, not its translation.
    actor->SetScale(1, 1, 1);
    actor->SetRotation(0, 180, 0);
    ASSERT_EQ(actor->Render(), 0);
    world = standin::Transform(D3DTS_WORLD);
    EXPECT_EQ(world._41, 1.0f);
    EXPECT_EQ(world._42, 2.0f);
    EXPECT_EQ(world._43, 3.0f);
    EXPECT_LT(world._11, -0.99f) << "turned half way around y";

    standin::ClearCalls();
    actor->SetRotation(0, 90, 0);
    actor->SetRotation(90, 0, -180);
    EXPECT_THAT(standin::CallTexts("D3DXMatrixRotationYawPitchRoll"),
                ElementsAre(::testing::EndsWith("1.5707964, 0, 0)"),
                            ::testing::EndsWith("0, 1.5707964, -3.1415927)")));
}

// Each axis keeps its own factor, and angles become radians with pi as a
// float: 10 degrees is 0.17453294 that way, 0.17453292 with pi in double.
TEST_F(ActorTest, ScaleAndAnglesReachTheMatricesAxisByAxis)
{
    ASSERT_EQ(CreateQuad(), 0);
    ASSERT_EQ(actor->ApplyBuffers(), 0);  // as the frame does before a draw
    actor->SetScale(1, 2, 3);
    ASSERT_EQ(actor->Render(), 0);
    const D3DXMATRIX world(standin::Transform(D3DTS_WORLD));
    EXPECT_TRUE(world == D3DXMATRIX(1, 0, 0, 0, 0, 2, 0, 0, 0, 0, 3, 0, 0, 0, 0, 1));

    standin::ClearCalls();
    actor->SetRotation(10, 0, 0);
    EXPECT_THAT(standin::CallTexts("D3DXMatrixRotationYawPitchRoll"),
                ElementsAre(::testing::EndsWith("(0, 0.17453294, 0)")));
}

TEST_F(ActorTest, RenderSetsTheAlphaStatesOfItsFlagsAroundADrawOfWholeTriangles)
{
    ASSERT_EQ(CreateQuad(), 0);
    ASSERT_EQ(actor->ApplyBuffers(), 0);  // as the frame does before a draw
    const std::string draw = "DrawIndexedPrimitive(4, 0, 0, 4, 0, 2)";
    const std::vector<std::string> blended = {"SetRenderState(27, 1)", draw};
    const std::vector<std::string> modulated = {"SetRenderState(27, 1)", "SetTextureStageState(0, 4, 4)",
                                                draw, "SetRenderState(171, 1)"};
    const struct { bool alphaBlend, textureAlpha; std::vector<std::string> calls; } cases[] = {
        {false, false, {"SetRenderState(27, 0)", draw}}, {true, false, blended},
        {false, true, modulated}, {true, true, modulated}};
    for (const auto& flags : cases)
    {
        actor->SetAlphaBlend(flags.alphaBlend);
        actor->SetTextureAlpha(flags.textureAlpha);
        standin::ClearCalls();
        ASSERT_EQ(actor->Render(), 0);
        EXPECT_EQ(standin::CallTexts([](const standin::Call& call) {
                      return call.name != "SetTransform" && call.name.rfind("D3DX", 0) != 0;
                  }),
                  flags.calls) << flags.alphaBlend << flags.textureAlpha;
    }
}

TEST_F(ActorTest, TexturesAreBoundAndUnboundByTheTextureUntexturedSetsTheDiffuseOperation)
{
    ASSERT_EQ(CreateQuad(), 0);
    ASSERT_EQ(actor->ApplyBuffers(), 0);  // as the frame does before a draw
    ASSERT_EQ(actor->ApplyTextures(), 0);
    ASSERT_EQ(actor->Render(), 0);
    EXPECT_THAT(standin::CallTexts("SetTextureStageState"),
                ElementsAre("SetTextureStageState(0, 1, 4)", "SetTextureStageState(0, 2, 0)",
                            "SetTextureStageState(0, 3, 1)"));

    // A count above one still reaches the single texture the host can hand over.
    for (const int count : {0, 1, 3})
    {
        FakeTexture texture;
        actor->SetTextures(&texture, count);
        standin::ClearCalls();
        ASSERT_EQ(actor->ApplyTextures(), 0);
        ASSERT_EQ(actor->Render(), 0);
        EXPECT_EQ(texture.binds, count > 0 ? 1 : 0) << count;
        EXPECT_EQ(texture.unbinds, count > 0 ? 1 : 0) << count;
        EXPECT_EQ(standin::CountCalls("SetTextureStageState"), 0);
    }

    // A failing texture has reported already; the actor only passes it on.
    FakeTexture failing;
    failing.result = 1;
    actor->SetTextures(&failing, 1);
    EXPECT_EQ(actor->ApplyTextures(), 1);
    EXPECT_EQ(actor->Render(), 1);
    EXPECT_THAT(logger.lines, IsEmpty());
}

TEST_F(ActorTest, SetMaterialRereadsTheRecordWithoutAlphaAndResortsOnANewOne)
{
    MaterialDesc record = {{0.1f, 0.2f, 0.3f}, {1, 0.5f, 0.25f}, {0.4f, 0.5f, 0.6f}, {0.7f, 0.8f, 0.9f}, 12};
    ASSERT_EQ(actor->SetMaterial(&record), 0);
    EXPECT_TRUE(graphics.sortRequested);
    const D3DMATERIAL9 expected = {{1, 0.5f, 0.25f, 0}, {0.1f, 0.2f, 0.3f, 0}, {0.4f, 0.5f, 0.6f, 0},
                                   {0.7f, 0.8f, 0.9f, 0}, 12};
    D3DMATERIAL9 sent = standin::Material();
    EXPECT_EQ(std::memcmp(&sent, &expected, sizeof sent), 0);

    graphics.sortRequested = false;
    record.diffuse[0] = 0.75f;
    ASSERT_EQ(actor->SetMaterial(&record), 0);
    EXPECT_FALSE(graphics.sortRequested);
    EXPECT_EQ(standin::Material().Diffuse.r, 0.75f);

    EXPECT_EQ(actor->SetMaterial(nullptr), 1);
    EXPECT_EQ(actor->GetMaterial(), &record);
    EXPECT_FALSE(graphics.sortRequested);
    standin::ClearCalls();
    ASSERT_EQ(actor->ApplyMaterial(), 0);
    sent = standin::Material();
    EXPECT_EQ(sent.Diffuse.r, 0.75f);
    EXPECT_EQ(standin::CountCalls("SetMaterial"), 1);
}

TEST_F(ActorTest, FrameOperationsSetTheirStateWithoutAllocating)
{
    ASSERT_EQ(CreateQuad(), 0);
    standin::ClearCalls();
    ASSERT_EQ(actor->ApplyFVF(), 0);
    ASSERT_EQ(actor->ApplyBuffers(), 0);
    EXPECT_THAT(standin::DeviceCallTexts(),
                ElementsAre("SetFVF(66)", "SetStreamSource(0, VertexBuffer#1, 0, 16)",
                            "SetIndices(IndexBuffer#2)"));

    FakeTexture texture;
    actor->SetTextures(&texture, 1);
    actor->SetTextureAlpha(true);
    standin::SetRecording(false);
    AllocationCounter counter;
    actor->ApplyFVF();
    actor->ApplyMaterial();
    actor->ApplyTextures();
    actor->ApplyBuffers();
    actor->Render();
    EXPECT_EQ(counter.Count(), 0u);
}

struct Failure
{
    const char* operation;  // made to fail at its first call in `run`
    int (*run)(CActor&);
    int level;
    int skip = 0;  // calls of the operation in `run` before the failing one
};

int CreateAgain(CActor& actor)
{
    const std::uint32_t indices[3] = {0, 1, 2};
    const unsigned char vertices[48] = {};
    return actor.Create(3, 0, kFormat, 48, 16, 3, vertices, indices);
}
int LoseAndReset(CActor& actor) { actor.OnLostDevice(); return actor.OnResetDevice(); }
int Render(CActor& actor) { return actor.Render(); }
int ApplyBuffers(CActor& actor) { return actor.ApplyBuffers(); }
int ApplyTextures(CActor& actor) { return actor.ApplyTextures(); }
int SetMaterial(CActor& actor)
{
    static MaterialDesc record = {};
    return actor.SetMaterial(&record);
}

void PrintTo(const Failure& failure, std::ostream* out)
{
    *out << failure.operation << " #" << failure.skip + 1 << " at level " << failure.level;
}

class ActorFailureTest : public ActorTest, public ::testing::WithParamInterface<Failure>
{
};

// Whatever a failed operation leaves behind, Release gives back: the
// fixture finds no live buffer at the end.
TEST_P(ActorFailureTest, IsReportedOnceAtItsLevelAndEndsTheOperation)
{
    const Failure& failure = GetParam();
    ASSERT_EQ(CreateQuad(), 0);
    standin::FailCall(failure.operation, standin::CountCalls(failure.operation) + 1 + failure.skip,
                      D3DERR_INVALIDCALL);
    EXPECT_EQ(failure.run(*actor), 1);
    const std::string report = ": ERROR : D3DERR_INVALIDCALL : [0-9]+ : extra/CActor\\.cpp";
    EXPECT_THAT(logger.Errors(), ElementsAre(MatchesRegex(std::to_string(failure.level) + report)));
    EXPECT_THAT(logger.lines, Not(Contains("3: OK")));
    if (failure.operation == std::string("SetStreamSource"))
    {
        EXPECT_EQ(standin::CountCalls("SetIndices"), 0);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Calls, ActorFailureTest,
    ::testing::Values(
        Failure{"CreateVertexBuffer", CreateAgain, 2}, Failure{"CreateIndexBuffer", CreateAgain, 2},
        Failure{"VertexBuffer.Lock", CreateAgain, 2}, Failure{"VertexBuffer.Unlock", CreateAgain, 2},
        Failure{"IndexBuffer.Lock", CreateAgain, 2}, Failure{"IndexBuffer.Unlock", CreateAgain, 2},
        Failure{"CreateVertexBuffer", LoseAndReset, 3}, Failure{"CreateIndexBuffer", LoseAndReset, 3},
        Failure{"VertexBuffer.Lock", LoseAndReset, 3}, Failure{"VertexBuffer.Unlock", LoseAndReset, 3},
        Failure{"IndexBuffer.Lock", LoseAndReset, 3}, Failure{"IndexBuffer.Unlock", LoseAndReset, 3},
        Failure{"SetTransform", Render, 2}, Failure{"DrawIndexedPrimitive", Render, 2},
        Failure{"SetFVF", [](CActor& a) { return a.ApplyFVF(); }, 2},
        Failure{"SetStreamSource", ApplyBuffers, 2}, Failure{"SetIndices", ApplyBuffers, 2},
        Failure{"SetTextureStageState", ApplyTextures, 2}, Failure{"SetTextureStageState", ApplyTextures, 2, 1},
        Failure{"SetTextureStageState", ApplyTextures, 2, 2},
        Failure{"SetMaterial", SetMaterial, 2},
        Failure{"SetMaterial", [](CActor& a) { return a.ApplyMaterial(); }, 2}));

}  // namespace
