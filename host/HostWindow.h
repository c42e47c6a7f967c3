#ifndef HOST_HOSTWINDOW_H
#define HOST_HOSTWINDOW_H

#include <windows.h>

// The window the plug-in draws into. Windowed: a captioned window whose
// client area has the requested size. Full-screen: a borderless popup at
// the origin, which Direct3D stretches to the display mode.
class HostWindow
{
public:
    HostWindow() = default;
    ~HostWindow();
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;

    bool Create(const wchar_t* title, int width, int height, bool windowed);
    // Handles every queued message; false once the window has been closed.
    bool PumpMessages();
    HWND Handle() const { return window; }
    // Minimised: a full-screen device is lost until the window comes back.
    bool Minimised() const { return IsIconic(window) != FALSE; }

private:
    HWND window = nullptr;
    bool closed = false;
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
};

#endif
