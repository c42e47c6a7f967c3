#ifndef STANDIN_UNKNWN_H
#define STANDIN_UNKNWN_H

// COM's identifiers and its root interface.

#include <windows.h>

typedef struct _GUID
{
    std::uint32_t Data1;
    std::uint16_t Data2;
    std::uint16_t Data3;
    std::uint8_t Data4[8];
} GUID;
typedef GUID IID;
typedef const IID& REFIID;
typedef const GUID& REFGUID;

// The root of every COM interface; objects live until their last Release.
struct IUnknown
{
    // Asks for another interface of the same object.
    virtual HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppvObject) = 0;
    // Adds a reference; returns the new count.
    virtual ULONG STDMETHODCALLTYPE AddRef() = 0;
    // Drops a reference; returns the new count, the object is gone at 0.
    virtual ULONG STDMETHODCALLTYPE Release() = 0;
};
typedef IUnknown* LPUNKNOWN;

#endif
