#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include <sys/wait.h>

#include "ErrorNameTables.h"
#include "ErrorNames.h"

namespace {

struct NamedCode
{
    std::uint32_t code;
    const wchar_t* name;
};

const wchar_t* NameOf(std::uint32_t code)
{
    return ErrorName(static_cast<std::int32_t>(code));
}

void ExpectNames(std::initializer_list<NamedCode> rows)
{
    for (const NamedCode& row : rows)
        EXPECT_STREQ(row.name, NameOf(row.code)) << std::hex << "code 0x" << row.code;
}

TEST(ErrorName, NamesTheCodesThatReportsMostOftenShow)
{
    ExpectNames({
        {0x00000000u, L"S_OK"},
        {0x00000001u, L"S_FALSE"},
        {0x00000005u, L"ERROR_ACCESS_DENIED"},
        {0x80070005u, L"E_ACCESSDENIED"},
        {0x8007000Eu, L"E_OUTOFMEMORY"},
        {0x80070057u, L"E_INVALIDARG"},
        {0x80004005u, L"E_FAIL"},
        {0x88760868u, L"D3DERR_DEVICELOST"},
        {0x88760869u, L"D3DERR_DEVICENOTRESET"},
        {0x8876086Cu, L"D3DERR_INVALIDCALL"},
        {0x8876017Cu, L"D3DERR_OUTOFVIDEOMEMORY"},
        {0x0876086Fu, L"D3DOK_NOAUTOGEN"},
        {0x88760B59u, L"D3DXERR_INVALIDDATA"},
    });
}

TEST(ErrorName, CodesOutsideTheTableAreUnknown)
{
    ExpectNames({
        {0x12345678u, L"Unknown"},
        {0xFFFFFFFFu, L"Unknown"},
        // ERROR_SUCCESS has no WIN32-facility form: HRESULT_FROM_WIN32 gives 0.
        {0x80070000u, L"Unknown"},
        // Same low word as ERROR_FILE_NOT_FOUND, but a success code of
        // facility WIN32: not the HRESULT form of a Win32 code.
        {0x00070002u, L"Unknown"},
    });
}

TEST(ErrorName, Win32CodesAreKnownPlainAndAsHResultsOfFacilityWin32)
{
    ExpectNames({
        {0x00000002u, L"ERROR_FILE_NOT_FOUND"},
        {0x80070002u, L"ERROR_FILE_NOT_FOUND"},
        {0x0000274Du, L"WSAECONNREFUSED"},
        {0x8007274Du, L"WSAECONNREFUSED"},
        // The same low word in another facility is another code.
        {0x80030002u, L"STG_E_FILENOTFOUND"},
    });
}

TEST(ErrorName, JoinsTheNamesOfConstantsThatShareAValue)
{
    ExpectNames({
        {0x800700AAu, L"ERROR_BUSY & DIERR_ACQUIRED"},
        {0x80040201u, L"DIERR_DEVICEFULL & VFW_E_INVALIDSUBTYPE & DMO_E_INVALIDSTREAMINDEX"},
        // The join belongs to the HRESULT form only; DIERR_ACQUIRED is no
        // plain Win32 code.
        {0x000000AAu, L"ERROR_BUSY"},
    });
}

void ExpectStrictlyAscending(const ErrorNameTable& table, const char* what)
{
    ASSERT_GT(table.count, 0u) << what;
    for (std::size_t i = 1; i < table.count; ++i)
        ASSERT_LT(table.entries[i - 1].code, table.entries[i].code) << what << " row " << i;
}

TEST(ErrorNameTables, AreSortedWithUniqueCodes)
{
    ExpectStrictlyAscending(Win32CodeNames(), "Win32 table");
    ExpectStrictlyAscending(ResultCodeNames(), "result table");
    const ErrorNameTable win32 = Win32CodeNames();
    EXPECT_LT(win32.entries[win32.count - 1].code, 0x10000u) << "Win32 codes are 16-bit";
}

// A row that its own code cannot reach is shadowed by a row of the other
// table, and the value would have two entries.
TEST(ErrorNameTables, EveryRowIsTheNameOfItsCode)
{
    const ErrorNameTable results = ResultCodeNames();
    for (std::size_t i = 0; i < results.count; ++i)
        ASSERT_STREQ(results.entries[i].name, NameOf(results.entries[i].code));

    const ErrorNameTable win32 = Win32CodeNames();
    for (std::size_t i = 0; i < win32.count; ++i) {
        const std::uint32_t code = win32.entries[i].code;
        const std::wstring plain = NameOf(code);
        const std::wstring asHResult = NameOf(0x80070000u | code);
        EXPECT_TRUE(plain == win32.entries[i].name || asHResult == win32.entries[i].name)
            << "Win32 code " << code << " is reached by neither form";
    }
}

// ---------------------------------------------------------------------------
// The committed table against a fresh run of the generator.

const std::string kSourceRoot = SOURCE_ROOT;
const std::string kGenerator = kSourceRoot + "/errors/generator/generate_error_names.py";

struct CommandResult
{
    int exitCode;
    std::string output;
};

CommandResult RunCommand(const std::string& command)
{
    CommandResult result{-1, {}};
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (pipe == nullptr)
        return result;
    char buffer[4096];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr)
        result.output += buffer;
    const int status = pclose(pipe);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

std::string ReadFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream contents;
    contents << file.rdbuf();
    return contents.str();
}

// The first line where two texts differ, for a readable failure.
std::string FirstDifference(const std::string& expected, const std::string& actual)
{
    std::istringstream a(expected), b(actual);
    std::string lineA, lineB;
    for (int line = 1;; ++line) {
        const bool moreA = static_cast<bool>(std::getline(a, lineA));
        const bool moreB = static_cast<bool>(std::getline(b, lineB));
        if (!moreA && !moreB)
            return "no difference";
        if (!moreA || !moreB || lineA != lineB)
            return "line " + std::to_string(line) + ": committed \"" + (moreA ? lineA : "<end>") +
                   "\", generated \"" + (moreB ? lineB : "<end>") + "\"";
    }
}

TEST(ErrorNameTableGeneration, CommittedTableIsWhatTheHeadersGive)
{
    if (RunCommand("python3 --version").exitCode != 0)
        GTEST_SKIP() << "python3 is not installed";
    const CommandResult headers = RunCommand("python3 '" + kGenerator + "' --check-headers");
    if (headers.exitCode == 3)
        GTEST_SKIP() << "the headers are not those of headers.manifest:\n" << headers.output;
    ASSERT_EQ(0, headers.exitCode) << headers.output;

    const std::string generated = ::testing::TempDir() + "ErrorNameTable.generated.inc";
    const CommandResult generation = RunCommand("python3 '" + kGenerator + "' --output '" + generated + "'");
    ASSERT_EQ(0, generation.exitCode) << generation.output;

    const std::string committed = ReadFile(kSourceRoot + "/errors/ErrorNameTable.inc");
    const std::string fresh = ReadFile(generated);
    std::remove(generated.c_str());
    EXPECT_TRUE(committed == fresh) << "errors/ErrorNameTable.inc is stale, "
                                    << FirstDifference(committed, fresh);
}

}  // namespace
