#ifndef HOST_PLUGINLIBRARY_H
#define HOST_PLUGINLIBRARY_H

#include <windows.h>

#include <string>

#include "IGraphics.h"

// GraphicsDLL.dll loaded at run time: the module stays loaded for the life
// of this object, so every graphics system made from it must be destroyed
// first.
class PluginLibrary
{
public:
    PluginLibrary() = default;
    ~PluginLibrary();
    PluginLibrary(const PluginLibrary&) = delete;
    PluginLibrary& operator=(const PluginLibrary&) = delete;

    // Loads the module and finds GetPlugin; false with error() set when
    // either fails.
    bool Load(const std::wstring& path);
    // A new graphics system from GetPlugin, or null.
    IGraphics* NewGraphics();
    const std::string& Error() const { return error; }

private:
    HMODULE module = nullptr;
    GetPluginFunction getPlugin = nullptr;
    std::string error;
};

// The directory holding the running program, with a trailing backslash:
// the host finds the plug-in and its assets beside itself.
std::wstring ProgramDirectory();

// Narrow <-> wide for paths given on the command line (current code page).
std::wstring Widen(const std::string& text);
std::string Narrow(const std::wstring& text);

#endif
