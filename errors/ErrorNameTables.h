#ifndef GRAPHICSDLL_ERRORNAMETABLES_H
#define GRAPHICSDLL_ERRORNAMETABLES_H

#include <cstddef>
#include <cstdint>

// The generated tables behind ErrorName(), exposed so that tests can check
// their order and reach every row. The plug-in itself only calls ErrorName().

struct ErrorNameEntry
{
    std::uint32_t code;
    const wchar_t* name;
};

struct ErrorNameTable
{
    const ErrorNameEntry* entries;
    std::size_t count;
};

// Win32 error codes (below 0x10000), each standing for its plain value and
// for its HRESULT of facility WIN32, 0x8007xxxx, unless ResultCodeNames()
// has a row for that value. Ascending by code.
ErrorNameTable Win32CodeNames();

// Every other entry, searched first. Ascending by code.
ErrorNameTable ResultCodeNames();

#endif
