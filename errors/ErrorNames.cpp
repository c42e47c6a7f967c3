#include "ErrorNames.h"

#include <algorithm>
#include <iterator>

#include "ErrorNameTables.h"

namespace {

#include "ErrorNameTable.inc"

// HRESULT_FROM_WIN32 puts a Win32 code into the low word below this.
constexpr std::uint32_t kWin32HResultBase = 0x80070000u;
constexpr std::uint32_t kHighWord = 0xFFFF0000u;
constexpr std::uint32_t kLowWord = 0x0000FFFFu;

const wchar_t* FindName(const ErrorNameEntry* begin, const ErrorNameEntry* end, std::uint32_t code)
{
    const ErrorNameEntry* row = std::lower_bound(
        begin, end, code, [](const ErrorNameEntry& entry, std::uint32_t wanted) { return entry.code < wanted; });
    return (row != end && row->code == code) ? row->name : nullptr;
}

// A value names a Win32 code when it is one (below 0x10000) or is its
// HRESULT of facility WIN32. 0x80070000 is no such HRESULT: ERROR_SUCCESS
// converts to 0, and the Win32 table has no row for code 0 anyway.
bool IsWin32Form(std::uint32_t value)
{
    return (value & kHighWord) == 0 || (value & kHighWord) == kWin32HResultBase;
}

}  // namespace

ErrorNameTable Win32CodeNames()
{
    return {kWin32CodeNames, std::size(kWin32CodeNames)};
}

ErrorNameTable ResultCodeNames()
{
    return {kResultCodeNames, std::size(kResultCodeNames)};
}

const wchar_t* ErrorName(std::int32_t code)
{
    const std::uint32_t value = static_cast<std::uint32_t>(code);
    if (const wchar_t* name = FindName(std::begin(kResultCodeNames), std::end(kResultCodeNames), value))
        return name;
    if (IsWin32Form(value))
    {
        if (const wchar_t* name = FindName(std::begin(kWin32CodeNames), std::end(kWin32CodeNames), value & kLowWord))
            return name;
    }
    return L"Unknown";
}
