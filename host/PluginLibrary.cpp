#include "PluginLibrary.h"

PluginLibrary::~PluginLibrary()
{
    if (module != nullptr)
        FreeLibrary(module);
}

bool PluginLibrary::Load(const std::wstring& path)
{
    module = LoadLibraryW(path.c_str());
    if (module == nullptr)
    {
        error = "cannot load " + Narrow(path) + " (Windows error " +
                std::to_string(GetLastError()) + ")";
        return false;
    }
    // GetProcAddress hands back a generic function pointer; GetPlugin's real
    // type is fixed by IGraphics.h.
    getPlugin = reinterpret_cast<GetPluginFunction>(
        reinterpret_cast<void*>(GetProcAddress(module, "GetPlugin")));
    if (getPlugin == nullptr)
    {
        error = "the plug-in does not export GetPlugin";
        return false;
    }
    return true;
}

IGraphics* PluginLibrary::NewGraphics()
{
    IGraphics* graphics = nullptr;
    getPlugin(&graphics);
    return graphics;
}

std::wstring ProgramDirectory()
{
    wchar_t path[MAX_PATH];
    DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring directory(path, length);
    return directory.substr(0, directory.find_last_of(L"\\/") + 1);
}

std::wstring Widen(const std::string& text)
{
    if (text.empty())
        return std::wstring();
    int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    std::wstring wide(length, L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, &wide[0], length);
    wide.resize(length - 1);
    return wide;
}

std::string Narrow(const std::wstring& text)
{
    if (text.empty())
        return std::string();
    int length = WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string narrow(length, '\0');
    WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, &narrow[0], length, nullptr, nullptr);
    narrow.resize(length - 1);
    return narrow;
}
