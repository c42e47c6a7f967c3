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

// Win32 codes are known plain and as HRESULTs of facility WIN32; other
// codes, and those forms of codes outside the tables, are unknown.
TEST(ErrorName, NamesTheCodesOfItsTablesAndNoOthers)
{
    const NamedCode rows[] = {
        {0x00000002u, L"ERROR_FILE_NOT_FOUND"},
        {0x80070002u, L"ERROR_FILE_NOT_FOUND"},
        {0x0000274Du, L"WSAECONNREFUSED"},
        {0x8007274Du, L"WSAECONNREFUSED"},
        // The same low word in another facility is another code.
        {0x80030002u, L"STG_E_FILENOTFOUND"},
        {0x12345678u, L"Unknown"},
        {0xFFFFFFFFu, L"Unknown"},
        // ERROR_SUCCESS has no WIN32-facility form: HRESULT_FROM_WIN32 gives 0.
        {0x80070000u, L"Unknown"},
        // Same low word as ERROR_FILE_NOT_FOUND, but a success code of
        // facility WIN32: not the HRESULT form of a Win32 code.
        {0x00070002u, L"Unknown"},
    };
    for (const NamedCode& row : rows)
        EXPECT_STREQ(row.name, NameOf(row.code)) << std::hex << "code 0x" << row.code;
}

// Every row is found by the binary search over its table, which needs the
// table sorted: a row that its own code cannot reach is out of order,
// shadowed by a row of the other table, or a second entry of its value.
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
