#ifndef GRAPHICSDLL_WIDETEXT_H
#define GRAPHICSDLL_WIDETEXT_H

#include <cstddef>
#include <cstdlib>

// The wide buffer of a file name handed to D3DX: 999 characters and the
// terminator.
const std::size_t kFileNameCapacity = 1000;

// Converts text, NUL-terminated in the multibyte encoding of the current
// locale, into wide, a buffer of capacity wide characters. True when the
// whole text converted and fits with its terminator. Otherwise false, and
// wide holds what the conversion wrote before it stopped, not necessarily
// terminated: each caller says what it hands on instead.
inline bool ToWide(wchar_t* wide, std::size_t capacity, const char* text)
{
    // A text the locale cannot convert gives (size_t)-1, and one that fills
    // the buffer before its terminator gives capacity: neither is below it.
    return std::mbstowcs(wide, text, capacity) < capacity;
}

#endif
