# Cross-compiles the 32-bit Windows build with Debian's MinGW-w64 (i686, win32
# threads). Member functions are thiscall and COM methods stdcall, as with
# Microsoft's compiler; variadic members (the logger's Log) stay cdecl.
set(CMAKE_SYSTEM_PROCESSOR x86)
set(MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
