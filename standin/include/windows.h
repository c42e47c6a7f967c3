#ifndef STANDIN_WINDOWS_H
#define STANDIN_WINDOWS_H

// The part of the Windows API that the plug-in and its tests use, with the
// sizes and values of 64-bit Windows, for building on Linux.

#include <cstddef>
#include <cstdint>
#include <cstring>

// Calling conventions mean nothing here.
#define WINAPI
#define STDMETHODCALLTYPE

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

// --- Basic types: 32-bit LONG and DWORD as on Windows ----------------------
typedef int BOOL;
typedef int INT;
typedef unsigned int UINT;
typedef std::int32_t LONG;
typedef std::uint32_t ULONG;
typedef std::uint32_t DWORD;
typedef wchar_t WCHAR;
typedef float FLOAT;
typedef std::int32_t HRESULT;

typedef void* LPVOID;
typedef const WCHAR* LPCWSTR;

// --- Handles ------------------------------------------------------------------
typedef void* HANDLE;
// The same incomplete type that the plug-in's interface header declares.
struct HWND__;
typedef struct HWND__* HWND;
struct HINSTANCE__;
typedef struct HINSTANCE__* HINSTANCE;

// --- Result codes -----------------------------------------------------------------
#define MAKE_HRESULT(sev, fac, code) \
    ((HRESULT)(((unsigned int)(sev) << 31) | ((unsigned int)(fac) << 16) | ((unsigned int)(code))))
#define SUCCEEDED(hr) (((HRESULT)(hr)) >= 0)
#define FAILED(hr) (((HRESULT)(hr)) < 0)

#define S_OK ((HRESULT)0x00000000)
#define S_FALSE ((HRESULT)0x00000001)
#define E_NOTIMPL ((HRESULT)0x80004001)
#define E_NOINTERFACE ((HRESULT)0x80004002)
#define E_POINTER ((HRESULT)0x80004003)
#define E_ABORT ((HRESULT)0x80004004)
#define E_FAIL ((HRESULT)0x80004005)
#define E_UNEXPECTED ((HRESULT)0x8000FFFF)
#define E_ACCESSDENIED ((HRESULT)0x80070005)
#define E_HANDLE ((HRESULT)0x80070006)
#define E_OUTOFMEMORY ((HRESULT)0x8007000E)
#define E_INVALIDARG ((HRESULT)0x80070057)

// --- Geometry and GDI structures ----------------------------------------------------
typedef struct tagRECT
{
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
} RECT;

// Passed only as null pointers: declared, not defined.
typedef struct _RGNDATA RGNDATA;
typedef struct tagPALETTEENTRY PALETTEENTRY;

// Font creation values (CreateFont, D3DXCreateFont).
#define DEFAULT_CHARSET 1
#define OUT_DEFAULT_PRECIS 0
#define DEFAULT_QUALITY 0
#define DEFAULT_PITCH 0
#define FF_DONTCARE (0 << 4)

// DrawText formats.
#define DT_TOP 0x00000000
#define DT_LEFT 0x00000000
#define DT_WORDBREAK 0x00000010

#include <unknwn.h>

#endif
