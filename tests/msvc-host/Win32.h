// The few Windows and C runtime functions the test host calls, declared by
// hand: the host is built with no Microsoft SDK, against import libraries
// made from kernel32.def, user32.def and msvcrt.def (the system's C runtime).
#ifndef MSVC_HOST_WIN32_H
#define MSVC_HOST_WIN32_H

#include <stdarg.h>
#include <stddef.h>
#include <stdint.h>

struct HWND__;
typedef struct HWND__* HWND;
typedef void* HANDLE;
typedef void* HMODULE;
typedef unsigned long DWORD;

#define MSVC_HOST_IMPORT extern "C" __declspec(dllimport)

MSVC_HOST_IMPORT HMODULE __stdcall LoadLibraryA(const char* name);
MSVC_HOST_IMPORT void* __stdcall GetProcAddress(HMODULE module, const char* name);
MSVC_HOST_IMPORT int __stdcall FreeLibrary(HMODULE module);
MSVC_HOST_IMPORT HANDLE __stdcall GetStdHandle(DWORD which);
MSVC_HOST_IMPORT int __stdcall WriteFile(HANDLE file, const void* data, DWORD size,
                                         DWORD* written, void* overlapped);
MSVC_HOST_IMPORT int __stdcall ReadFile(HANDLE file, void* data, DWORD size, DWORD* read,
                                        void* overlapped);
MSVC_HOST_IMPORT HANDLE __stdcall CreateFileA(const char* name, DWORD access, DWORD share,
                                              void* security, DWORD disposition,
                                              DWORD attributes, HANDLE templateFile);
MSVC_HOST_IMPORT int __stdcall CloseHandle(HANDLE handle);
MSVC_HOST_IMPORT int __stdcall DeleteFileA(const char* name);
MSVC_HOST_IMPORT __declspec(noreturn) void __stdcall ExitProcess(unsigned int code);

MSVC_HOST_IMPORT HWND __stdcall CreateWindowExA(DWORD exStyle, const char* className,
                                                const char* title, DWORD style, int x, int y,
                                                int width, int height, HWND parent, void* menu,
                                                HMODULE instance, void* parameter);
MSVC_HOST_IMPORT int __stdcall DestroyWindow(HWND window);
MSVC_HOST_IMPORT int __stdcall PeekMessageA(void* message, HWND window, unsigned int first,
                                            unsigned int last, unsigned int remove);
MSVC_HOST_IMPORT long __stdcall DispatchMessageA(const void* message);

MSVC_HOST_IMPORT int __cdecl _vsnprintf(char* out, size_t size, const char* format, va_list args);
MSVC_HOST_IMPORT size_t __cdecl strlen(const char* text);
MSVC_HOST_IMPORT int __cdecl strcmp(const char* left, const char* right);

const DWORD kStdOutputHandle = static_cast<DWORD>(-11);
const DWORD kGenericRead = 0x80000000u;
const DWORD kOpenExisting = 3;
const DWORD kWindowVisible = 0x10000000u;
const DWORD kOverlappedWindow = 0x00CF0000u;
const unsigned int kPeekRemove = 1;
#define MSVC_HOST_INVALID_HANDLE (reinterpret_cast<HANDLE>(static_cast<intptr_t>(-1)))

#endif
