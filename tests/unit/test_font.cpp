// Fonts: their creation and log lines, the text entries drawn at the end of
// every frame, and Release.

#include <gtest/gtest.h>

#include <standin/Recorder.h>

#include <string>

#include "AllocationCounter.h"
#include "HostTest.h"
#include "SourceLine.h"

namespace {

// The texts drawn since the calls were last forgotten.
Lines Drawn()
{
    return standin::CallTexts("Font.DrawTextW");
}

// One text as the font draws it: whole, top-left aligned and wrapped.
std::string Text(const std::string& text, const std::string& rect, const std::string& colour)
{
    return "Font#1.DrawTextW(null, \"" + text + "\", -1, " + rect + ", 16, " + colour + ")";
}

using Font = SystemTest;

// The face name is the font's own copy: the factory finds the font by it. A
// failed creation ends the lines with its report instead of the NewLines.
TEST_F(Font, CreateLogsWidthBeforeHeightAndMakesTheD3DXFont)
{
    char face[] = "Arial";
    IFont* font = graphics->CreateFont(face, 10, 24, 700);
    face[0] = 'X';
    EXPECT_STREQ(font->GetFaceName(), "Arial");
    standin::FailNext("D3DXCreateFontW", E_OUTOFMEMORY);
    EXPECT_EQ(graphics->CreateFont("Tahoma", 8, 16, 400), nullptr);
    EXPECT_EQ(logger.lines, Lines({
        "2: Creating Font: Arial", "2: Width: 10", "2: Height: 24", "2: Weight: 700", "NewLine", "NewLine",
        "2: Creating Font: Tahoma", "2: Width: 8", "2: Height: 16", "2: Weight: 400",
        ExpectedReport(2, "E_OUTOFMEMORY", "extra/CFont.cpp", "D3DXCreateFontW(device"),
    }));
    EXPECT_EQ(standin::CallTexts(), Lines({
        "D3DXCreateFontW(Device#1, 24, 10, 700, 1, 0, 1, 0, 0, 0, \"Arial\", Font#1)",
        "D3DXCreateFontW(Device#1, 16, 8, 400, 1, 0, 1, 0, 0, 0, \"Tahoma\", null)",
    }));

    // Face names that would fill the name buffers are refused without a word.
    Forget();
    EXPECT_NE(graphics->CreateFont(std::string(255, 'f').c_str(), 10, 24, 700), nullptr);
    EXPECT_EQ(graphics->CreateFont(std::string(256, 'g').c_str(), 10, 24, 700), nullptr);
    EXPECT_EQ(standin::CountCalls("D3DXCreateFontW"), 1);
    EXPECT_EQ(logger.lines.size(), 6u);
}

// Each frame's texts fill the entries from the first on, each taking its
// text, colour (alpha included) and rectangle; entries that a frame does
// not refill are drawn again. Buffers only grow, so frames whose texts fit
// them allocate nothing.
TEST_F(Font, FramesRefillTheEntriesFromTheFirstAndDrawEveryEntryHeld)
{
    IFont* font = graphics->CreateFont("Arial", 10, 24, 700);
    Forget();
    font->AddText("first", 0x80FF0000, 1, 2, 300, 40);
    font->AddText("second", 0x00000000, 5, 6, 700, 80);
    ASSERT_EQ(graphics->RenderFrame(), 0);
    font->AddText("0123456789", 0xFF00FF00, 9, 10, 11, 12);
    font->AddText(nullptr, 0xFFFFFFFF, 0, 0, 10, 10);
    ASSERT_EQ(graphics->RenderFrame(), 0);
    EXPECT_EQ(Drawn(), Lines({
        Text("first", "{1, 2, 300, 40}", "0x80FF0000"),
        Text("second", "{5, 6, 700, 80}", "0x00000000"),
        Text("0123456789", "{9, 10, 11, 12}", "0xFF00FF00"),
        Text("", "{0, 0, 10, 10}", "0xFFFFFFFF"),
    }));

    Forget();
    AllocationCounter allocations;
    for (const char* text : {"0123456789", "xyz", "9876543210"})
    {
        font->AddText(text, 0xFFFFFFFF, 0, 0, 10, 10);
        ASSERT_EQ(graphics->RenderFrame(), 0);
    }
    EXPECT_EQ(allocations.OwnCount(), 0u);
    ASSERT_EQ(Drawn().size(), 6u);
    EXPECT_EQ(Drawn()[2], Text("xyz", "{0, 0, 10, 10}", "0xFFFFFFFF"));
}

// Release gives back the D3DX font, the name and every entry, and may be
// repeated. A released font draws nothing; texts added meanwhile wait for
// the host's next Create.
TEST_F(Font, ReleaseForgetsTheNameAndEveryEntry)
{
    IFont* font = graphics->CreateFont("Arial", 10, 24, 700);
    font->AddText("gone", 0xFFFFFFFF, 0, 0, 10, 10);
    EXPECT_EQ(font->Release(), 0);
    EXPECT_EQ(font->Release(), 0);
    EXPECT_EQ(font->GetFaceName(), nullptr);
    EXPECT_EQ(CallsStartingWith({"Font#1.Release"}), Lines({"Font#1.Release()"}));

    font->AddText("later", 0xFFFFFFFF, 0, 0, 10, 10);
    Forget();
    ASSERT_EQ(graphics->RenderFrame(), 0);
    EXPECT_TRUE(Drawn().empty());
    ASSERT_EQ(font->Create(&logger, 24, 10, 700, "Arial"), 0);
    ASSERT_EQ(graphics->RenderFrame(), 0);
    EXPECT_EQ(Drawn(), Lines({"Font#2.DrawTextW(null, \"later\", -1, {0, 0, 10, 10}, 16, 0xFFFFFFFF)"}));
}

}  // namespace
