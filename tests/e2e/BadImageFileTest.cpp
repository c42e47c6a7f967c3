// Image files that are missing or not what their names promise, on Wine's
// real D3DX: each gives no texture and one error report with D3DX's own
// result code, and the system goes on drawing.
#include <gmock/gmock.h>

#include <clocale>
#include <fstream>
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
    // Makes the file (or whatever the name names) from a path to use; returns
    // the name to load, empty when it cannot be made.
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
    // In a double-byte code page a lead byte before the terminator converts
    // to nothing. The part before it names a file that loads, which must not
    // be loaded: D3DX gets an empty name. The test sets the C locale back.
    {"NameTheLocaleCannotConvert", [](const std::string& path) {
         GoodBitmap(path);
         return std::setlocale(LC_CTYPE, ".932") != nullptr ? path + "\x81" : std::string();
     }},
};

class BadImageFile : public GraphicsTest, public ::testing::WithParamInterface<BadFile>
{
};

TEST_P(BadImageFile, GivesNoTextureAndOneReportAndDrawingGoesOn)
{
    StartPlain(0xFF000000);
    const std::string name = GetParam().make(OutputPath("bad.bmp"));
    ASSERT_FALSE(name.empty()) << "the name could not be made (Wine lacks code page 932)";
    const std::size_t mark = Mark();

    EXPECT_EQ(nullptr, graphics->CreateTexture(name.c_str(), 0));
    std::setlocale(LC_CTYPE, "C");

    // Wine's D3DX refuses every one of these as data it cannot read.
    const auto report =
        ::testing::MatchesRegex("2: ERROR : D3DXERR_INVALIDDATA : \\d+ : extra/CTexture\\.cpp");
    EXPECT_THAT(LinesSince(mark),
                ::testing::ElementsAre("2: Loading texture " + name, "NewLine", "NewLine", report));

    ASSERT_NE(nullptr, AddRect(*graphics, 10, 10, 50, 50, 0.5f, 0xFF00FF00, 0));
    const Bitmap frame = Capture();
    EXPECT_TRUE(PixelIs(frame, 30, 30, 0x00FF00, 2));
    EXPECT_TRUE(PixelIs(frame, 100, 100, 0x000000, 2));
}

INSTANTIATE_TEST_SUITE_P(Texture, BadImageFile, ::testing::ValuesIn(kBadFiles),
                         [](const ::testing::TestParamInfo<BadFile>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
