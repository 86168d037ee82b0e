#include "win32/ListAccessible.h"

#include <Scintilla.h>

#include <cstdint>
#include <string>

#include "editor/ScintillaList.h"
#include "win32/AccessibleClient.h"
#include "win32/Wide.h"

namespace kivo::win32 {
namespace {

// The line the caret is on, as the draw would read it. The object may
// outlive the list's own object, so it asks the list's window.
std::wstring caretLine(HWND list) {
    struct WindowCalls final : ScintillaCalls {
        HWND hwnd;
        explicit WindowCalls(HWND window) : hwnd(window) {}
        std::intptr_t call(unsigned message, std::uintptr_t w, std::intptr_t l) const override {
            return static_cast<std::intptr_t>(SendMessageW(hwnd, message, w, l));
        }
    } editor(list);
    const std::intptr_t caret = editor.call(SCI_GETCURRENTPOS, 0, 0);
    const auto line = static_cast<std::uint32_t>(
        editor.call(SCI_LINEFROMPOSITION, static_cast<std::uintptr_t>(caret), 0));
    return wide(ScintillaList::lineOf(editor, line));
}

}  // namespace

LRESULT answerAccessibleObject(HWND list, const std::wstring& name, WPARAM wParam, LPARAM lParam) {
    return answerClientObject(list, {name, name, ROLE_SYSTEM_TEXT, caretLine}, wParam, lParam);
}

void listValueChanged(HWND list) {
    NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, list, OBJID_CLIENT, CHILDID_SELF);
}

}  // namespace kivo::win32
