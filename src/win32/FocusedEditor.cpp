#include "win32/FocusedEditor.h"

#include <algorithm>

#include "win32/MemoControl.h"

namespace kivo::win32 {

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

}  // namespace kivo::win32
