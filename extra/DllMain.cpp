// The Windows load entry of GraphicsDLL.dll; the Linux build has none.
#include <windows.h>

// The plug-in keeps no per-thread state, so thread attach and detach
// notifications are switched off; every notification succeeds.
extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH)
        DisableThreadLibraryCalls(module);
    return TRUE;
}
