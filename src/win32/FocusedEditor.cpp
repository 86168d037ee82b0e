#include "win32/FocusedEditor.h"

#include <commctrl.h>

#include <algorithm>

#include "win32/MemoControl.h"

namespace kivo::win32 {
namespace {

LRESULT CALLBACK editorProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                 DWORD_PTR) {
    if (message == WM_CONTEXTMENU) {
        return SendMessageW(GetAncestor(hwnd, GA_ROOT), WM_CONTEXTMENU,
                            reinterpret_cast<WPARAM>(hwnd), lParam);
    }
    if (message == WM_GETDLGCODE) {
        // Tab moves on to the next control; Enter still breaks the line.
        LRESULT code = DefSubclassProc(hwnd, message, wParam, lParam);
        code &= ~static_cast<LRESULT>(DLGC_WANTTAB | DLGC_WANTALLKEYS);
        code |= DLGC_WANTCHARS | DLGC_WANTARROWS;
        const auto* msg = reinterpret_cast<const MSG*>(lParam);
        if (msg && msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN) code |= DLGC_WANTMESSAGE;
        return code;
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

}  // namespace

std::optional<EditState> editStateOf(HWND focused, const MemoControl& list,
                                     std::span<const HWND> topicFields) {
    if (focused == list.handle()) {
        return EditState{list.hasSelection(), !list.isEmpty(), list.canUndo()};
    }
    if (std::ranges::find(topicFields, focused) != topicFields.end()) {
        DWORD from = 0, to = 0;
        SendMessageW(focused, EM_GETSEL, reinterpret_cast<WPARAM>(&from),
                     reinterpret_cast<LPARAM>(&to));
        return EditState{from != to, GetWindowTextLengthW(focused) > 0,
                         SendMessageW(focused, EM_CANUNDO, 0, 0) != 0};
    }
    return std::nullopt;
}

bool clipboardHoldsText() { return IsClipboardFormatAvailable(CF_UNICODETEXT) != 0; }

void routeEditorMessages(HWND editor) { SetWindowSubclass(editor, editorProcedure, 1, 0); }

}  // namespace kivo::win32
