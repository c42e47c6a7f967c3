#include "HostWindow.h"

namespace {

const wchar_t kClassName[] = L"GraphicsDLLHostWindow";

bool RegisterWindowClass(WNDPROC procedure)
{
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.lpszClassName = kClassName;
    // Registering twice (a second window in the same process) is fine.
    return RegisterClassExW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace

HostWindow::~HostWindow()
{
    if (window != nullptr && IsWindow(window))
        DestroyWindow(window);
}

bool HostWindow::Create(const wchar_t* title, int width, int height, bool windowed)
{
    if (!RegisterWindowClass(&HostWindow::Procedure))
        return false;
    DWORD style = windowed ? WS_OVERLAPPEDWINDOW : WS_POPUP;
    RECT frame = {0, 0, width, height};
    AdjustWindowRect(&frame, style, FALSE);
    int x = windowed ? CW_USEDEFAULT : 0;
    int y = windowed ? CW_USEDEFAULT : 0;
    window = CreateWindowExW(0, kClassName, title, style | WS_VISIBLE, x, y,
                             frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                             GetModuleHandleW(nullptr), this);
    if (window == nullptr)
        return false;
    SetForegroundWindow(window);
    PumpMessages();
    return true;
}

bool HostWindow::PumpMessages()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
    {
        if (message.message == WM_QUIT)
            closed = true;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return !closed;
}

LRESULT CALLBACK HostWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE)
    {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<HostWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    switch (message)
    {
    case WM_CLOSE:
        if (self != nullptr)
            self->closed = true;
        return 0;  // the host ends its loop and shuts the plug-in down first
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE && self != nullptr)
            self->closed = true;
        return 0;
    case WM_ERASEBKGND:
        return 1;  // Direct3D paints the whole client area
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}
