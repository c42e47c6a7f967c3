#include <windows.h>

extern "C" int WINAPI GetSystemMetrics(int)
{
    return 0;
}
