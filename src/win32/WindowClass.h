#pragma once
// The program's own window classes, each registered once: the arrow
// pointer, the program's icon where the window shows one, a system colour
// behind it.
#include <windows.h>

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

}  // namespace kivo::win32
