// What Microsoft's C runtime start-up would give a program built with its
// ABI, cut to what this host needs: the linker wants _fltused when floating
// point is used, and a pure virtual call or a delete of the host's own
// objects must not pass silently. memset and memcpy, which the compiler may
// call, come from msvcrt.dll.
#include "Win32.h"

extern "C" {

int _fltused = 0;

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
