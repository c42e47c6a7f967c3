// Image files that are missing or not what their names promise, on Wine's
// real D3DX: each gives no texture and one error report with D3DX's own
// result code, and the system goes on drawing.
#include <gmock/gmock.h>

#include <clocale>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

#include "GraphicsTest.h"

namespace {

void WriteFile(const std::string& path, const std::string& bytes)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << bytes;
}

std::string ReadFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// An 8 x 8 bitmap that loads, as the start of the broken ones.
std::string GoodBitmap(const std::string& path)
{
    WriteBitmap(path, 8, 8, std::vector<std::uint32_t>(64, 0x00FF00));
    return ReadFile(path);
}

// One kind of bad file: how to make it, under which name.
struct BadFile
{
    const char* name;
    // Makes the file (or whatever the name names) from a path to use; returns the name to load.
    std::string (*make)(const std::string& path);
};

const BadFile kBadFiles[] = {
    {"MissingFile", [](const std::string& path) { return path; }},
    {"EmptyFile", [](const std::string& path) {
         WriteFile(path, "");
         return path;
     }},
    {"TruncatedBitmap", [](const std::string& path) {
         const std::string whole = GoodBitmap(path);
         WriteFile(path, whole.substr(0, 40));  // the file header and part of the info header
         return path;
     }},
    {"TextNamedBmp", [](const std::string& path) {
         WriteFile(path, "This is not a picture.\r\nIt only has a picture's name.\r\n");
         return path;
     }},
    {"DirectoryName", [](const std::string& path) {
         CreateDirectoryA(path.c_str(), nullptr);
         return path;
     }},
};

class BadImageFile : public GraphicsTest, public ::testing::WithParamInterface<BadFile>
{
};

class BadImage : public GraphicsTest
{
};

// The lines of a load that failed: "Loading texture", two empty lines and
// one report, which is returned ("" when the lines are otherwise).
std::string ReportOfRefusedLoad(const std::string& name, const std::vector<std::string>& lines)
{
    EXPECT_EQ(4u, lines.size()) << ::testing::PrintToString(lines);
    if (lines.size() != 4u)
        return "";
    EXPECT_EQ("2: Loading texture " + name, lines[0]);
    EXPECT_EQ("NewLine", lines[1]);
    EXPECT_EQ("NewLine", lines[2]);
    return lines[3];
}

TEST_P(BadImageFile, GivesNoTextureAndOneReportAndDrawingGoesOn)
{
    StartPlain(0xFF000000);
    const std::string name = GetParam().make(OutputPath("bad.bmp"));
    const std::size_t mark = Mark();

    EXPECT_EQ(nullptr, graphics->CreateTexture(name.c_str(), 0));

    const std::vector<std::string> lines = LinesSince(mark);
    const std::string report = ReportOfRefusedLoad(name, lines);
    // Wine's D3DX refuses every one of these as data it cannot read.
    EXPECT_TRUE(std::regex_match(report, std::regex("2: ERROR : D3DXERR_INVALIDDATA : [0-9]+ : "
                                                    "extra/CTexture\\.cpp")))
        << report;

    ASSERT_NE(nullptr, AddRect(*graphics, 10, 10, 50, 50, 0.5f, 0xFF00FF00, 0));
    const Bitmap frame = Capture();
    EXPECT_TRUE(PixelIs(frame, 30, 30, 0x00FF00, 2));
    EXPECT_TRUE(PixelIs(frame, 100, 100, 0x000000, 2));
}

// In a double-byte code page a lead byte before the terminator converts to
// nothing. The part before it names another file ("…unconvertible" without
// the byte), which must not be loaded: D3DX gets an empty name and refuses
// it with its own code.
TEST_F(BadImage, ANameTheLocaleCannotConvertLoadsNothing)
{
    StartPlain(0xFF000000);
    const std::string prefix = OutputPath("unconvertible");
    GoodBitmap(prefix);  // a loadable file under the converted part of the name
    ASSERT_NE(nullptr, std::setlocale(LC_CTYPE, ".932")) << "Wine lacks code page 932";
    const std::string name = prefix + "\x81";
    const std::size_t mark = Mark();

    EXPECT_EQ(nullptr, graphics->CreateTexture(name.c_str(), 0));
    std::setlocale(LC_CTYPE, "C");

    const std::string report = ReportOfRefusedLoad(name, LinesSince(mark));
    EXPECT_THAT(report, ::testing::StartsWith("2: ERROR : D3DXERR_INVALIDDATA : "));
    ASSERT_NE(nullptr, AddRect(*graphics, 10, 10, 50, 50, 0.5f, 0xFF00FF00, 0));
    EXPECT_TRUE(PixelIs(Capture(), 30, 30, 0x00FF00, 2));
}

INSTANTIATE_TEST_SUITE_P(Texture, BadImageFile, ::testing::ValuesIn(kBadFiles),
                         [](const ::testing::TestParamInfo<BadFile>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
