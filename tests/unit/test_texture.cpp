#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <ostream>
#include <string>
#include <vector>

#include <standin/Recorder.h>

#include "CTexture.h"
#include "ErrorNames.h"
#include "DeviceTest.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::MatchesRegex;
using ::testing::SizeIs;

namespace {

const char* const kStandardReport = "ERROR : ";
const char* const kAddDataReport = "ERROR : Could not add data to blank texture : ";

std::string NameOf(HRESULT code)
{
    char name[1000] = {};
    std::wcstombs(name, ErrorName(code), sizeof name - 1);
    return name;
}

// A level-2 report of `code` from this class's source file.
::testing::Matcher<std::string> ReportOf(HRESULT code, const char* form = kStandardReport)
{
    return MatchesRegex(std::string("2: ") + form + NameOf(code) +
                        " : [0-9]+ : extra/CTexture\\.cpp");
}

std::vector<std::string> LiveTextures()
{
    std::vector<std::string> textures;
    for (const std::string& object : standin::LiveObjects())
        if (object.rfind("Texture#", 0) == 0)
            textures.push_back(object);
    return textures;
}

std::vector<std::uint32_t> WordsOf(const std::vector<unsigned char>& bytes)
{
    std::vector<std::uint32_t> words(bytes.size() / 4);
    std::memcpy(words.data(), bytes.data(), words.size() * 4);
    return words;
}

class TextureTest : public DeviceTest
{
protected:
    void SetUp() override
    {
        DeviceTest::SetUp();
        texture = new CTexture;
        texture->device = device;
    }

    void TearDown() override
    {
        texture->Release();
        texture->Destroy();
        DeviceTest::TearDown();
    }

    // The texture loaded from `name` on stage 1, the load's calls and lines forgotten.
    void LoadFile(const char* name = "wall.bmp")
    {
        ASSERT_EQ(0, texture->Create(&logger, name, 1));
        logger.lines.clear();
        standin::ClearCalls();
    }

    void CreateBlank()
    {
        ASSERT_EQ(0, texture->Create(&logger, nullptr, 2));
        logger.lines.clear();
        standin::ClearCalls();
    }

    CTexture* texture = nullptr;
};

// --- Create ------------------------------------------------------------------------

TEST_F(TextureTest, BlankCreateLogsOkAndMakesNoDirect3DCallThenBindsNothing)
{
    EXPECT_EQ(0, texture->Create(&logger, nullptr, 2));

    EXPECT_THAT(logger.lines, ElementsAre("2: Creating blank texture...OK"));
    EXPECT_THAT(standin::CallTexts(), IsEmpty());
    EXPECT_EQ(nullptr, texture->GetFileName());
    EXPECT_EQ(2, texture->GetStage());

    EXPECT_EQ(0, texture->Bind());
    EXPECT_THAT(standin::DeviceCallTexts(), SizeIs(4));
    EXPECT_EQ("SetTexture(2, null)", standin::DeviceCallTexts().back());
    EXPECT_EQ("null", standin::BoundTexture(2));
}

TEST_F(TextureTest, CreateWithANameLogsThenLoadsACopyOfTheNameWithTheMagentaKey)
{
    char name[] = "art/wall.bmp";

    EXPECT_EQ(0, texture->Create(&logger, name, 1));
    std::strcpy(name, "art/XXXX.bmp");

    EXPECT_THAT(logger.lines,
                ElementsAre("2: Loading texture art/wall.bmp", "NewLine", "NewLine"));
    EXPECT_THAT(standin::CallTexts("D3DXCreateTextureFromFileExW"),
                ElementsAre("D3DXCreateTextureFromFileExW(Device#1, \"art/wall.bmp\", 0, 0, 1, 0, "
                            "21, 0, 4294967295, 4294967295, 0xFFDE00DE, null, null, Texture#1)"));
    EXPECT_THAT(standin::FileNames(), ElementsAre("art/wall.bmp"));
    EXPECT_EQ(0xFFDE00DEu, standin::TextureColorKey(texture->texture));
    EXPECT_STREQ("art/wall.bmp", texture->GetFileName());
    EXPECT_EQ(1, texture->GetStage());
}

TEST_F(TextureTest, AFailedLoadIsReportedAfterTheLogLinesAndKeepsTheName)
{
    standin::FailCall("D3DXCreateTextureFromFileExW", 1, D3DXERR_INVALIDDATA);

    EXPECT_EQ(1, texture->Create(&logger, "missing.bmp", 3));

    EXPECT_THAT(logger.lines, ElementsAre("2: Loading texture missing.bmp", "NewLine", "NewLine",
                                          ReportOf(D3DXERR_INVALIDDATA)));
    EXPECT_EQ(nullptr, texture->texture);
    EXPECT_STREQ("missing.bmp", texture->GetFileName());
    EXPECT_EQ(3, texture->GetStage());
}

TEST_F(TextureTest, NamesThatDoNotFitTheWideBufferAreRefusedSilently)
{
    const std::string longest(999, 'a');
    EXPECT_EQ(0, texture->Create(&logger, longest.c_str(), 0));
    EXPECT_THAT(standin::FileNames(), ElementsAre(longest));

    CTexture* refused = new CTexture;
    refused->device = device;
    RecordingLogger quiet;
    const std::string tooLong(1000, 'b');
    EXPECT_EQ(1, refused->Create(&quiet, tooLong.c_str(), 0));
    EXPECT_THAT(quiet.lines, IsEmpty());
    EXPECT_THAT(standin::FileNames(), SizeIs(1));
    EXPECT_EQ(nullptr, refused->GetFileName());
    refused->Release();
    refused->Destroy();
}

TEST_F(TextureTest, AHeldTextureIsReleasedBeforeASecondCreateOrAReload)
{
    LoadFile("first.bmp");
    RecordingLogger other;

    // The name and logger are what the texture was made with; only the stage changes.
    EXPECT_EQ(0, texture->Create(&other, "second.bmp", 3));
    EXPECT_THAT(logger.lines, ElementsAre("2: Loading texture second.bmp", "NewLine", "NewLine"));
    EXPECT_THAT(other.lines, IsEmpty());
    EXPECT_THAT(standin::FileNames(), ElementsAre("first.bmp", "first.bmp"));
    EXPECT_STREQ("first.bmp", texture->GetFileName());
    EXPECT_EQ(3, texture->GetStage());
    EXPECT_THAT(LiveTextures(), SizeIs(1));

    EXPECT_EQ(0, texture->Reload());
    EXPECT_THAT(LiveTextures(), SizeIs(1));
}

// --- Bind and Unbind -------------------------------------------------------------------

TEST_F(TextureTest, BindSetsTheColourOperationThenBindsTheTexture)
{
    LoadFile();

    EXPECT_EQ(0, texture->Bind());

    EXPECT_THAT(standin::DeviceCallTexts(),
                ElementsAre("SetTextureStageState(1, 1, 4)", "SetTextureStageState(1, 2, 2)",
                            "SetTextureStageState(1, 3, 1)", "SetTexture(1, Texture#1)"));
    EXPECT_EQ("Texture#1", standin::BoundTexture(1));

    EXPECT_EQ(0, texture->Unbind());
    EXPECT_EQ("SetTexture(1, null)", standin::DeviceCallTexts().back());
    EXPECT_EQ("null", standin::BoundTexture(1));
}

TEST_F(TextureTest, PositiveSuccessCodesAreNotFailures)
{
    LoadFile();
    standin::FailCall("SetTexture", 1, S_FALSE);

    EXPECT_EQ(0, texture->Bind());
    EXPECT_THAT(logger.lines, IsEmpty());
}

struct BindFailure
{
    const char* operation;
    int nth;
    std::size_t callsMade;  // the failing call is the last one made
};

void PrintTo(const BindFailure& failure, std::ostream* out)
{
    *out << failure.operation << " call " << failure.nth;
}

class TextureBindFailureTest : public TextureTest, public ::testing::WithParamInterface<BindFailure> {};

TEST_P(TextureBindFailureTest, TheFirstFailingCallIsReportedAndEndsBind)
{
    LoadFile();
    standin::FailCall(GetParam().operation, GetParam().nth, D3DERR_INVALIDCALL);

    EXPECT_EQ(1, texture->Bind());

    EXPECT_THAT(logger.lines, ElementsAre(ReportOf(D3DERR_INVALIDCALL)));
    EXPECT_THAT(standin::DeviceCallTexts(), SizeIs(GetParam().callsMade));
}

INSTANTIATE_TEST_SUITE_P(Texture, TextureBindFailureTest,
                         ::testing::Values(BindFailure{"SetTextureStageState", 1, 1},
                                           BindFailure{"SetTextureStageState", 2, 2},
                                           BindFailure{"SetTextureStageState", 3, 3},
                                           BindFailure{"SetTexture", 1, 4}));

TEST_F(TextureTest, AFailedUnbindIsReported)
{
    LoadFile();
    standin::FailCall("SetTexture", 1, D3DERR_INVALIDCALL);

    EXPECT_EQ(1, texture->Unbind());
    EXPECT_THAT(logger.lines, ElementsAre(ReportOf(D3DERR_INVALIDCALL)));
}

// --- AddData -----------------------------------------------------------------------

TEST_F(TextureTest, AddDataLaysTheBlockOutAtTheLockedPitch)
{
    CreateBlank();
    standin::Adapter().lockPitch = 16;
    const std::uint32_t pixels[6] = {0xFF000001, 0xFF000002, 0xFF000003,
                                     0x80000004, 0x80000005, 0x00000006};

    EXPECT_EQ(0, texture->AddData(pixels, 3, 2));

    EXPECT_THAT(logger.lines,
                ElementsAre("2: Adding data to texture : Width=3 Height=2", "NewLine"));
    EXPECT_THAT(standin::DeviceCallTexts(),
                ElementsAre("D3DXCreateTexture(Device#1, 3, 2, 1, 512, 21, 0, Texture#1)",
                            "Texture#1.LockRect(0, {16, bits}, null, 8192)",
                            "Texture#1.UnlockRect(0)"));
    // The fourth word of each row is padding: no source word lands there.
    const std::vector<std::uint32_t> expected = {0xFF000001, 0xFF000002, 0xFF000003, 0,
                                                 0x80000004, 0x80000005, 0x00000006, 0};
    EXPECT_EQ(expected, WordsOf(standin::TextureBytes(texture->texture)));
    EXPECT_EQ(expected, std::vector<std::uint32_t>(texture->staging, texture->staging + 8));
}

TEST_F(TextureTest, EachAddDataMakesANewTextureInPlaceOfTheLastOne)
{
    CreateBlank();
    const std::uint32_t first[1] = {0xFF111111};
    const std::uint32_t second[1] = {0xFF222222};

    EXPECT_EQ(0, texture->AddData(first, 1, 1));
    EXPECT_EQ(0, texture->AddData(second, 1, 1));

    EXPECT_EQ(2, standin::CountCalls("D3DXCreateTexture"));
    EXPECT_THAT(LiveTextures(), ElementsAre(::testing::StartsWith("Texture#2 ")));
    EXPECT_THAT(WordsOf(standin::TextureBytes(texture->texture)), ElementsAre(0xFF222222u));
}

TEST_F(TextureTest, AddDataWithoutPixelsFailsWithoutTouchingTheDevice)
{
    CreateBlank();
    EXPECT_EQ(1, texture->AddData(nullptr, 2, 2));
    EXPECT_THAT(standin::CallTexts(), IsEmpty());
    EXPECT_EQ(nullptr, texture->texture);
}

TEST_F(TextureTest, AddDataOnAFileTextureOnlyLogs)
{
    LoadFile();
    IDirect3DTexture9* loaded = texture->texture;
    const std::uint32_t pixels[4] = {};

    EXPECT_EQ(0, texture->AddData(pixels, 2, 2));

    EXPECT_THAT(logger.lines,
                ElementsAre("2: Adding data to texture : Width=2 Height=2", "NewLine"));
    EXPECT_THAT(standin::CallTexts(), IsEmpty());
    EXPECT_EQ(loaded, texture->texture);
    EXPECT_EQ(nullptr, texture->staging);
}

struct AddDataFailure
{
    const char* operation;
    bool keepsTexture;   // the new texture stays when the lock or unlock fails
    bool fillsStaging;   // the staging block is replaced once the lock succeeded
    int unlocks;
};

void PrintTo(const AddDataFailure& failure, std::ostream* out)
{
    *out << failure.operation;
}

class TextureAddDataFailureTest : public TextureTest,
                           public ::testing::WithParamInterface<AddDataFailure> {};

TEST_P(TextureAddDataFailureTest, IsReportedInItsOwnFormAndEndsAddData)
{
    CreateBlank();
    standin::FailCall(GetParam().operation, 1, E_OUTOFMEMORY);
    const std::uint32_t pixels[4] = {1, 2, 3, 4};

    EXPECT_EQ(1, texture->AddData(pixels, 2, 2));

    ASSERT_THAT(logger.lines, SizeIs(3));
    EXPECT_THAT(logger.lines[2], ReportOf(E_OUTOFMEMORY, kAddDataReport));
    EXPECT_EQ(GetParam().keepsTexture, texture->texture != nullptr);
    EXPECT_EQ(GetParam().fillsStaging, texture->staging != nullptr);
    EXPECT_EQ(GetParam().unlocks, standin::CountCalls("Texture.UnlockRect"));
}

INSTANTIATE_TEST_SUITE_P(Texture, TextureAddDataFailureTest,
                         ::testing::Values(AddDataFailure{"D3DXCreateTexture", false, false, 0},
                                           AddDataFailure{"Texture.LockRect", true, false, 0},
                                           AddDataFailure{"Texture.UnlockRect", true, true, 1}));

// --- Around a device reset ---------------------------------------------------------------

TEST_F(TextureTest, UnloadThenReloadLoadsTheFileAgainWithTheBlackKey)
{
    LoadFile("wall.bmp");

    EXPECT_EQ(0, texture->Unload());
    EXPECT_EQ(nullptr, texture->texture);
    EXPECT_THAT(LiveTextures(), IsEmpty());
    EXPECT_EQ(0, texture->Unload());

    EXPECT_EQ(0, texture->Reload());
    EXPECT_THAT(logger.lines, IsEmpty());
    EXPECT_THAT(standin::FileNames(), ElementsAre("wall.bmp", "wall.bmp"));
    EXPECT_THAT(standin::CallTexts("D3DXCreateTextureFromFileExW"),
                ElementsAre("D3DXCreateTextureFromFileExW(Device#1, \"wall.bmp\", 0, 0, 1, 0, "
                            "21, 0, 4294967295, 4294967295, 0xFF000000, null, null, Texture#2)"));
    EXPECT_EQ(0xFF000000u, standin::TextureColorKey(texture->texture));
}

TEST_F(TextureTest, AFailedReloadIsReported)
{
    LoadFile();
    texture->Unload();
    standin::FailFrom("D3DXCreateTextureFromFileExW", 1, D3DERR_OUTOFVIDEOMEMORY);

    EXPECT_EQ(1, texture->Reload());
    EXPECT_THAT(logger.lines, ElementsAre(ReportOf(D3DERR_OUTOFVIDEOMEMORY)));
    EXPECT_EQ(nullptr, texture->texture);
}

TEST_F(TextureTest, ABlankTextureStaysEmptyAcrossAReset)
{
    CreateBlank();
    const std::uint32_t pixels[1] = {0xFFFFFFFF};
    texture->AddData(pixels, 1, 1);
    logger.lines.clear();
    standin::ClearCalls();

    EXPECT_EQ(0, texture->Unload());
    EXPECT_EQ(0, texture->Reload());

    EXPECT_EQ(nullptr, texture->texture);
    EXPECT_THAT(standin::DeviceCallTexts(), IsEmpty());
    EXPECT_THAT(logger.lines, IsEmpty());
}

// --- Release -------------------------------------------------------------------------

TEST_F(TextureTest, ReleaseGivesBackEverythingAndCanBeRepeated)
{
    CreateBlank();
    const std::uint32_t pixels[1] = {0xFFFFFFFF};
    texture->AddData(pixels, 1, 1);

    EXPECT_EQ(0, texture->Release());
    EXPECT_EQ(0, texture->Release());

    EXPECT_EQ(nullptr, texture->texture);
    EXPECT_EQ(nullptr, texture->staging);
    EXPECT_EQ(nullptr, texture->device);
    EXPECT_EQ(nullptr, texture->logger);
    EXPECT_THAT(LiveTextures(), IsEmpty());
}

TEST_F(TextureTest, ReleaseOfAFileTextureForgetsItsNameAndCanBeRepeated)
{
    LoadFile();
    EXPECT_EQ(0, texture->Release());
    EXPECT_EQ(nullptr, texture->GetFileName());
    EXPECT_EQ(0, texture->Release());
    EXPECT_EQ(nullptr, texture->GetFileName());
    EXPECT_THAT(LiveTextures(), IsEmpty());
}

}  // namespace
