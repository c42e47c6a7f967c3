// File and blank textures: a second Create of a loaded texture, and AddData.

#include <gtest/gtest.h>

#include <standin/Recorder.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "AllocationCounter.h"
#include "HostTest.h"
#include "SourceLine.h"

namespace {

using Words = std::vector<std::uint32_t>;

// The load of a file as D3DX is asked for it, with the colour key and the texture made.
std::string Load(const std::string& file, const std::string& key, const std::string& texture)
{
    return "D3DXCreateTextureFromFileExW(Device#1, \"" + file + "\", 0, 0, 1, 0, 21, 0, 4294967295, 4294967295, " +
           key + ", null, null, " + texture + ")";
}

// The words of a texture's level 0 as last unlocked.
Words WordsOf(const std::string& texture)
{
    const std::vector<unsigned char> bytes = standin::TextureBytes(standin::ObjectNamed(texture));
    Words words(bytes.size() / 4);
    std::memcpy(words.data(), bytes.data(), words.size() * 4);
    return words;
}

using Texture = SystemTest;

// A texture keeps the name and logger it was made with; a second Create
// gives the held texture back and loads that name again, at the new stage.
TEST_F(Texture, ASecondCreateLoadsTheFirstNameAtTheNewStage)
{
    ITexture* texture = graphics->CreateTexture("wall.bmp", 1);
    RecordingLogger other;
    Forget();
    EXPECT_EQ(texture->Create(&other, "floor.bmp", 3), 0);
    EXPECT_EQ(logger.lines, Lines({"2: Loading texture floor.bmp", "NewLine", "NewLine"}));
    EXPECT_TRUE(other.lines.empty());
    EXPECT_EQ(standin::CallTexts(), Lines({"Texture#1.Release()", Load("wall.bmp", "0xFFDE00DE", "Texture#2")}));
    EXPECT_STREQ(texture->GetFileName(), "wall.bmp");
    EXPECT_EQ(texture->GetStage(), 3);
}

// Each AddData makes a new texture in place of the last and copies the
// pixels row by row at the locked pitch; the padding stays zero.
TEST_F(Texture, AddDataFillsANewTextureRowByRowAtTheLockedPitch)
{
    ITexture* blank = graphics->CreateTexture(nullptr, 2);
    standin::Adapter().lockPitch = 16;
    const std::uint32_t pixels[6] = {0xFF000001, 0xFF000002, 0xFF000003, 0x80000004, 0x80000005, 0x00000006};
    Forget();
    EXPECT_EQ(blank->AddData(pixels, 3, 2), 0);
    EXPECT_EQ(logger.lines, Lines({"2: Adding data to texture : Width=3 Height=2", "NewLine"}));
    EXPECT_EQ(standin::DeviceCallTexts(), Lines({
        "D3DXCreateTexture(Device#1, 3, 2, 1, 512, 21, 0, Texture#1)",
        "Texture#1.LockRect(0, {16, bits}, null, 8192)",
        "Texture#1.UnlockRect(0)",
    }));
    EXPECT_EQ(WordsOf("Texture#1"),
              Words({0xFF000001, 0xFF000002, 0xFF000003, 0, 0x80000004, 0x80000005, 0x00000006, 0}));

    const std::uint32_t pixel = 0xFF222222;
    EXPECT_EQ(blank->AddData(&pixel, 1, 1), 0);
    EXPECT_EQ(CallsStartingWith({"Texture#1.Release"}), Lines({"Texture#1.Release()"}));
    EXPECT_EQ(WordsOf("Texture#2"), Words({0xFF222222, 0, 0, 0}));
    EXPECT_EQ(blank->Bind(), 0);
    EXPECT_EQ(standin::BoundTexture(2), "Texture#2");
}

// Out of memory for the pixels, the texture is still unlocked before it is
// given up; an unlock that fails there is reported as anywhere else, and the
// texture is given up at the next AddData or Release.
TEST_F(Texture, AddDataOutOfMemoryUnlocksBeforeGivingTheTextureUp)
{
    ITexture* blank = graphics->CreateTexture(nullptr, 0);
    const std::uint32_t pixels[4] = {1, 2, 3, 4};
    const std::string adding = "2: Adding data to texture : Width=2 Height=2";
    const std::string unlockFailed = "2: ERROR : Could not add data to blank texture : D3DERR_INVALIDCALL : " +
                                     std::to_string(SourceLine("extra/CTexture.cpp", "texture->UnlockRect(0)")) +
                                     " : extra/CTexture.cpp";
    const struct
    {
        bool unlockFails;
        Lines calls;
        Lines lines;
    } kCases[] = {
        {false, {"D3DXCreateTexture(Device#1, 2, 2, 1, 512, 21, 0, Texture#1)", "Texture#1.LockRect(0, {8, bits}, null, 8192)",
                 "Texture#1.UnlockRect(0)", "Texture#1.Release()"}, {adding, "NewLine"}},
        {true, {"D3DXCreateTexture(Device#1, 2, 2, 1, 512, 21, 0, Texture#2)", "Texture#2.LockRect(0, {8, bits}, null, 8192)",
                "Texture#2.UnlockRect(0)"}, {adding, "NewLine", unlockFailed}},
    };
    for (const auto& row : kCases)
    {
        SCOPED_TRACE(row.unlockFails ? "unlock fails" : "unlock succeeds");
        Forget();
        if (row.unlockFails)
            standin::FailNext("Texture.UnlockRect", D3DERR_INVALIDCALL);
        AllocationFailure failure(1);
        EXPECT_EQ(blank->AddData(pixels, 2, 2), 1);
        EXPECT_TRUE(failure.Happened());
        EXPECT_EQ(standin::CallTexts(), row.calls);
        EXPECT_EQ(logger.lines, row.lines);
    }
}

// A blank texture is made without a call and binds nothing until filled. A
// file texture only logs AddData; without pixels a blank one refuses it.
// Neither touches the device nor changes what Bind binds.
TEST_F(Texture, AddDataThatCannotFillChangesNothing)
{
    ITexture* file = graphics->CreateTexture("wall.bmp", 0);
    Forget();
    ITexture* blank = graphics->CreateTexture(nullptr, 1);
    const std::uint32_t pixels[4] = {};
    EXPECT_EQ(file->AddData(pixels, 2, 2), 0);
    EXPECT_EQ(blank->AddData(nullptr, 2, 2), 1);
    EXPECT_TRUE(standin::Calls().empty());
    const std::string adding = "2: Adding data to texture : Width=2 Height=2";
    EXPECT_EQ(logger.lines, Lines({"2: Creating blank texture...OK", adding, "NewLine", adding, "NewLine"}));
    ASSERT_EQ(file->Bind(), 0);
    ASSERT_EQ(blank->Bind(), 0);
    EXPECT_EQ(standin::BoundTexture(0), "Texture#1");
    EXPECT_EQ(standin::BoundTexture(1), "null");
}

}  // namespace
