#ifndef GRAPHICSDLL_ERRORNAMES_H
#define GRAPHICSDLL_ERRORNAMES_H

#include <cstdint>

// The SDK name of a result code ("D3DERR_DEVICELOST", "E_OUTOFMEMORY"), or
// "Unknown". Win32 error codes are known both plainly and as HRESULTs of
// facility WIN32; constants that share a value have one entry, one name or
// several joined with " & ". A pure function over constant tables.
const wchar_t* ErrorName(std::int32_t code);

#endif
