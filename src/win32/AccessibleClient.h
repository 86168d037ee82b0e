#pragma once
// A window's client area as a screen reader meets it: the system's own
// object for it (its place, its state, its focus), with the program's own
// name in front, and where given its role, description and value.
#include <windows.h>
// After windows.h, which they build on.
#include <oleacc.h>

#include <functional>
#include <optional>
#include <string>

namespace kivo::win32 {

struct ClientFacts {
    std::wstring name;
    // The system's where left empty.
    std::wstring description;
    std::optional<LONG> role;
    // Asked for at each reading, while the window lives.
    std::function<std::wstring(HWND window)> value;
};

// Answers WM_GETOBJECT for the client area of `window`; 0 for what it does
// not answer (the window then takes it as usual).
LRESULT answerClientObject(HWND window, ClientFacts facts, WPARAM wParam, LPARAM lParam);

}  // namespace kivo::win32
