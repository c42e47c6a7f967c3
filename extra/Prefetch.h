#ifndef GRAPHICSDLL_PREFETCH_H
#define GRAPHICSDLL_PREFETCH_H

#include <cstddef>

// Asks for memory a few places ahead of where a walk is, so that its cache
// misses overlap with the work on the places before.
inline void Prefetch(const void* memory, std::size_t size)
{
#if defined(__GNUC__)
    const char* bytes = static_cast<const char*>(memory);
    for (std::size_t offset = 0; offset < size; offset += 64)
        __builtin_prefetch(bytes + offset, 0, 2);
#else
    (void)memory;
    (void)size;
#endif
}

#endif
