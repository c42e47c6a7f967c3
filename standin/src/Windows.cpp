#include <windows.h>

#include "State.h"

extern "C" int WINAPI GetSystemMetrics(int index)
{
    using namespace standin;
    Invocation call(Op::GetSystemMetrics);
    if (call.Recording())
        call.Args().Int(index);
    call.Finish();
    const AdapterConfig& adapter = TheRecorder().adapter;
    switch (index)
    {
    case SM_CXSCREEN: return adapter.desktopWidth;
    case SM_CYSCREEN: return adapter.desktopHeight;
    default: return 0;
    }
}
