#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include <standin/Recorder.h>

#include "AllocationCounter.h"
#include "CFont.h"
#include "ErrorNames.h"
#include "DeviceTest.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::MatchesRegex;
using ::testing::SizeIs;

namespace {

std::string NameOf(HRESULT code)
{
    char name[1000] = {};
    std::wcstombs(name, ErrorName(code), sizeof name - 1);
    return name;
}

// A level-2 report of `code` from this class's source file.
::testing::Matcher<std::string> ReportOf(HRESULT code)
{
    return MatchesRegex("2: ERROR : " + NameOf(code) + " : [0-9]+ : extra/CFont\\.cpp");
}

std::vector<std::string> LiveFonts()
{
    std::vector<std::string> fonts;
    for (const std::string& object : standin::LiveObjects())
        if (object.rfind("Font#", 0) == 0)
            fonts.push_back(object);
    return fonts;
}

bool SameRect(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

class FontTest : public DeviceTest
{
protected:
    void SetUp() override
    {
        DeviceTest::SetUp();
        font = new CFont;
        font->device = device;
    }

    void TearDown() override
    {
        font->Release();
        font->Destroy();
        DeviceTest::TearDown();
    }

    // A ready font, its creation's calls and lines forgotten.
    void CreateReadyFont()
    {
        ASSERT_EQ(0, font->Create(&logger, 24, 10, 700, "Arial"));
        logger.lines.clear();
        standin::ClearCalls();
    }

    // The buffer size of every entry, in order.
    std::vector<std::size_t> Capacities() const
    {
        std::vector<std::size_t> capacities;
        for (const CFont::Entry& entry : font->entries)
            capacities.push_back(entry.capacity);
        return capacities;
    }

    CFont* font = nullptr;
};

// --- Create ------------------------------------------------------------------------

TEST_F(FontTest, CreateLogsTheSettingsWidthFirstAndCreatesTheD3DXFont)
{
    char name[] = "Arial";

    EXPECT_EQ(0, font->Create(&logger, 24, 10, 700, name));
    name[0] = 'X';

    EXPECT_THAT(logger.lines, ElementsAre("2: Creating Font: Arial", "2: Width: 10",
                                          "2: Height: 24", "2: Weight: 700", "NewLine",
                                          "NewLine"));
    EXPECT_THAT(standin::CallTexts("D3DXCreateFontW"),
                ElementsAre("D3DXCreateFontW(Device#1, 24, 10, 700, 1, 0, 1, 0, 0, 0, "
                            "\"Arial\", Font#1)"));
    EXPECT_STREQ("Arial", font->GetFaceName());
    EXPECT_EQ(24, font->GetHeight());
    EXPECT_EQ(10, font->GetWidth());
    EXPECT_EQ(700, font->GetWeight());
}

TEST_F(FontTest, AFailedCreateIsReportedWithoutTheClosingNewLines)
{
    standin::FailCall("D3DXCreateFontW", 1, E_OUTOFMEMORY);

    EXPECT_EQ(1, font->Create(&logger, 16, 8, 400, "Courier"));

    EXPECT_THAT(logger.lines, ElementsAre("2: Creating Font: Courier", "2: Width: 8",
                                          "2: Height: 16", "2: Weight: 400",
                                          ReportOf(E_OUTOFMEMORY)));
    EXPECT_EQ(nullptr, font->font);
    EXPECT_STREQ("Courier", font->GetFaceName());
    EXPECT_EQ(16, font->GetHeight());
}

TEST_F(FontTest, FaceNamesThatDoNotFitTheBuffersAreRefusedSilently)
{
    const std::string tooLong(256, 'f');
    EXPECT_EQ(1, font->Create(&logger, 24, 10, 700, tooLong.c_str()));
    EXPECT_THAT(logger.lines, IsEmpty());
    EXPECT_THAT(standin::CallTexts(), IsEmpty());

    const std::string longest(255, 'f');
    EXPECT_EQ(0, font->Create(&logger, 24, 10, 700, longest.c_str()));
    EXPECT_EQ(longest, font->GetFaceName());
}

TEST_F(FontTest, ASecondCreateReleasesTheHeldFont)
{
    CreateReadyFont();

    EXPECT_EQ(0, font->Create(&logger, 12, 6, 400, "Tahoma"));

    EXPECT_THAT(LiveFonts(), ElementsAre(::testing::StartsWith("Font#2 ")));
    EXPECT_STREQ("Tahoma", font->GetFaceName());
}

// --- Text entries --------------------------------------------------------------------

TEST_F(FontTest, RenderDrawsEveryEntryItHoldsAndRewinds)
{
    CreateReadyFont();
    EXPECT_EQ(0, font->Render());
    EXPECT_THAT(standin::DrawnTexts(), IsEmpty());

    font->AddText("first", 0x80FF0000, 1, 2, 300, 40);
    font->AddText("second", 0x00000000, 5, 6, 700, 80);
    EXPECT_EQ(0, font->Render());
    font->AddText("third", 0xFF00FF00, 9, 10, 11, 12);
    EXPECT_EQ(0, font->Render());

    const std::vector<standin::DrawnText>& drawn = standin::DrawnTexts();
    ASSERT_THAT(drawn, SizeIs(4));
    // The second frame overwrote entry 0 and drew the first frame's entry 1 again.
    EXPECT_EQ(L"third", drawn[2].text);
    EXPECT_TRUE(SameRect(RECT{9, 10, 11, 12}, drawn[2].rect));
    EXPECT_EQ(0xFF00FF00u, drawn[2].color);
    EXPECT_EQ(L"second", drawn[3].text);
    EXPECT_TRUE(SameRect(RECT{5, 6, 700, 80}, drawn[3].rect));
    // Colours reach D3DX as given, alpha included.
    EXPECT_EQ(0x80FF0000u, drawn[0].color);
    EXPECT_EQ(0x00000000u, drawn[3].color);
    for (const standin::DrawnText& text : drawn)
    {
        EXPECT_EQ("Font#1", text.font);
        EXPECT_EQ(-1, text.count);
        EXPECT_EQ(static_cast<DWORD>(DT_WORDBREAK), text.format);
    }
}

TEST_F(FontTest, BuffersAreReplacedOnlyForTextsThatDoNotFit)
{
    CreateReadyFont();
    font->AddText("abc", 0xFFFFFFFF, 0, 0, 10, 10);
    font->AddText("", 0xFFFFFFFF, 0, 0, 10, 10);
    EXPECT_THAT(Capacities(), ElementsAre(5, 2));
    font->Render();

    font->AddText("0123456789", 0xFFFFFFFF, 0, 0, 10, 10);
    EXPECT_THAT(Capacities(), ElementsAre(12, 2));
    const wchar_t* grown = font->entries[0].text.get();
    font->Render();

    font->AddText("xyz", 0xFFFFFFFF, 0, 0, 10, 10);
    EXPECT_THAT(Capacities(), ElementsAre(12, 2));
    EXPECT_EQ(grown, font->entries[0].text.get());
    font->Render();

    const std::vector<standin::DrawnText>& drawn = standin::DrawnTexts();
    ASSERT_THAT(drawn, SizeIs(6));
    EXPECT_EQ(L"", drawn[1].text);
    EXPECT_EQ(L"0123456789", drawn[2].text);
    EXPECT_EQ(L"xyz", drawn[4].text);
}

TEST_F(FontTest, SteadyStateFramesAllocateNothing)
{
    CreateReadyFont();
    font->AddText("Score: 1200", 0xFFFFFFFF, 0, 0, 200, 20);
    font->AddText("Lives: 3", 0xFFFFFFFF, 0, 20, 200, 40);
    font->AddText("Paused", 0xFFFF0000, 0, 40, 200, 60);
    font->Render();

    standin::SetRecording(false);
    AllocationCounter allocations;
    for (int frame = 0; frame < 3; ++frame)
    {
        font->AddText("Score: 1300", 0xFFFFFFFF, 0, 0, 200, 20);
        font->AddText("Lives: 2", 0xFFFFFFFF, 0, 20, 200, 40);
        font->Render();
    }
    EXPECT_EQ(0u, allocations.Count());
}

TEST_F(FontTest, NullTextsAreEmptyEntriesAndNullNamesAreRefused)
{
    EXPECT_EQ(1, font->Create(&logger, 16, 8, 400, nullptr));
    CreateReadyFont();
    font->AddText(nullptr, 0xFFFFFFFF, 0, 0, 10, 10);
    ASSERT_THAT(font->entries, SizeIs(1));
    EXPECT_EQ(std::wstring(), font->entries[0].text.get());
}

TEST_F(FontTest, AddTextAfterReleaseAppendsUntilTheNextRender)
{
    CreateReadyFont();
    font->AddText("one", 0xFFFFFFFF, 0, 0, 10, 10);
    font->AddText("two", 0xFFFFFFFF, 0, 0, 10, 10);

    font->Release();
    font->AddText("three", 0xFFFFFFFF, 0, 0, 10, 10);

    ASSERT_THAT(font->entries, SizeIs(1));
    EXPECT_EQ(std::wstring(L"three"), font->entries[0].text.get());
}

// --- Device loss and Release ---------------------------------------------------------------

TEST_F(FontTest, DeviceLossIsForwardedAndTheEntriesStay)
{
    CreateReadyFont();
    font->AddText("kept", 0xFFFFFFFF, 0, 0, 10, 10);

    EXPECT_EQ(0, font->OnLostDevice());
    EXPECT_EQ(0, font->OnResetDevice());
    font->Render();

    EXPECT_THAT(standin::CallTexts([](const standin::Call& call) {
                    return call.name == "Font.OnLostDevice" || call.name == "Font.OnResetDevice";
                }),
                ElementsAre("Font#1.OnLostDevice()", "Font#1.OnResetDevice()"));
    ASSERT_THAT(standin::DrawnTexts(), SizeIs(1));
    EXPECT_EQ(L"kept", standin::DrawnTexts()[0].text);
}

class FontDeviceLossFailureTest : public FontTest,
                                  public ::testing::WithParamInterface<const char*> {};

TEST_P(FontDeviceLossFailureTest, IsReported)
{
    CreateReadyFont();
    const std::string operation = GetParam();
    standin::FailCall(operation, 1, D3DERR_INVALIDCALL);

    const int result =
        operation == "Font.OnLostDevice" ? font->OnLostDevice() : font->OnResetDevice();

    EXPECT_EQ(1, result);
    EXPECT_THAT(logger.lines, ElementsAre(ReportOf(D3DERR_INVALIDCALL)));
}

INSTANTIATE_TEST_SUITE_P(Font, FontDeviceLossFailureTest,
                         ::testing::Values("Font.OnLostDevice", "Font.OnResetDevice"));

TEST_F(FontTest, ReleaseForgetsTheNameAndEveryEntryAndCanBeRepeated)
{
    CreateReadyFont();
    font->AddText("gone", 0xFFFFFFFF, 0, 0, 10, 10);

    EXPECT_EQ(0, font->Release());
    EXPECT_EQ(0, font->Release());

    EXPECT_EQ(nullptr, font->GetFaceName());
    EXPECT_EQ(nullptr, font->font);
    EXPECT_THAT(font->entries, IsEmpty());
    EXPECT_THAT(LiveFonts(), IsEmpty());
}

}  // namespace
