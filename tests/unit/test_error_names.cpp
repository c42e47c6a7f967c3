#include <gtest/gtest.h>

#include <cstdint>

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

}  // namespace
