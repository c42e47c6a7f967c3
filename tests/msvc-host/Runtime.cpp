// What Microsoft's C runtime would give a program built with its ABI, cut to
// what this host needs: the compiler may emit calls to memset and memcpy, the
// linker wants _fltused when floating point is used, and a pure virtual call
// or a delete of the host's own objects must not pass silently.
#include "Win32.h"

#include <stddef.h>

extern "C" {

int _fltused = 0;

// Volatile stores keep the compiler from turning the loops back into calls
// of the functions they implement.
void* memset(void* destination, int value, size_t size)
{
    volatile unsigned char* out = static_cast<unsigned char*>(destination);
    for (size_t i = 0; i < size; ++i)
        out[i] = static_cast<unsigned char>(value);
    return destination;
}

void* memcpy(void* destination, const void* source, size_t size)
{
    volatile unsigned char* out = static_cast<unsigned char*>(destination);
    const unsigned char* in = static_cast<const unsigned char*>(source);
    for (size_t i = 0; i < size; ++i)
        out[i] = in[i];
    return destination;
}

int _purecall()
{
    ExitProcess(90);
}

}  // extern "C"

// The host allocates nothing; the plug-in frees its own objects.
void operator delete(void*) noexcept
{
    ExitProcess(91);
}
void operator delete(void*, size_t) noexcept
{
    ExitProcess(91);
}
