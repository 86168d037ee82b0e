#pragma once
// What the focused edit control says of itself, for the edit commands'
// enabling, and whether the clipboard holds text to paste.
#include <windows.h>

#include <optional>
#include <span>

#include "commands/WindowRules.h"

namespace kivo::win32 {

class MemoControl;

// The state of the list or of one of the topic fields, whichever has the
// focus; nothing for any other control.
std::optional<EditState> editStateOf(HWND focused, const MemoControl& list,
                                     std::span<const HWND> topicFields);
bool clipboardHoldsText();

}  // namespace kivo::win32
