#pragma once
// The program's own window classes, each registered once: the arrow
// pointer, the program's icon where the window shows one, a system colour
// behind it; and the one procedure that leads a window's messages to the
// object behind it.
#include <windows.h>

#include "commands/CommandRunner.h"

namespace kivo::win32 {

inline void registerWindowClass(const wchar_t* name, WNDPROC procedure, int backgroundColour,
                                bool withIcon = true) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    if (GetClassInfoExW(instance, name, &wc)) return;
    wc.lpfnWndProc = procedure;
    wc.hInstance = instance;
    if (withIcon) wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = GetSysColorBrush(backgroundColour);
    wc.lpszClassName = name;
    RegisterClassExW(&wc);
}

// What the program's window procedure asks of the object behind a window:
// the object learns its handle at WM_NCCREATE, before any other message,
// and handles every message after it; what a handler throws ends in its
// error box. A window passes itself, as this, to CreateWindowExW.
class WindowMessages {
public:
    virtual void created(HWND hwnd) = 0;
    virtual LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
    virtual BoxPort& errorBoxes() = 0;

protected:
    ~WindowMessages() = default;
};

// The procedure of every window of the program's own classes. Nothing may
// unwind through Windows' frames: the program goes on.
inline LRESULT CALLBACK windowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* created = static_cast<WindowMessages*>(
            reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams);
        created->created(hwnd);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
    }
    auto* window = reinterpret_cast<WindowMessages*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!window) return DefWindowProcW(hwnd, message, wParam, lParam);
    LRESULT result = 0;
    guarded(window->errorBoxes(), [&] { result = window->handleMessage(message, wParam, lParam); });
    return result;
}

}  // namespace kivo::win32
