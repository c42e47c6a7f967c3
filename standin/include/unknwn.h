#ifndef STANDIN_UNKNWN_H
#define STANDIN_UNKNWN_H

// COM's root interface, with the one method the plug-in calls.

#include <windows.h>

// The root of every COM interface; objects live until their last Release.
struct IUnknown
{
    // Drops a reference; returns the new count, the object is gone at 0.
    virtual ULONG STDMETHODCALLTYPE Release() = 0;
};

#endif
