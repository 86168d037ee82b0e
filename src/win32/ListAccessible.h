#pragma once
// The list as a screen reader meets it: an editable text named by its hint,
// whose value is the line the caret is on. The editor's window answers
// nothing of itself; the system's own object for a window gives the rest
// (its place, its state, its focus).
#include <windows.h>
// After windows.h, which they build on.
#include <oleacc.h>

#include <string>

namespace kivo::win32 {

// Answers WM_GETOBJECT for the list window `list`; 0 for what it does not
// answer (the window then takes it as usual).
LRESULT answerAccessibleObject(HWND list, const std::wstring& name, WPARAM wParam, LPARAM lParam);

// Tells a screen reader that the list's value (the caret's line) changed.
void listValueChanged(HWND list);

}  // namespace kivo::win32
