#pragma once
// What the focused edit control says of itself, for the edit commands'
// enabling, and whether the clipboard holds text to paste.
#include <windows.h>

#include <optional>
#include <span>

#include "commands/EditCommands.h"

namespace kivo::win32 {

class MemoControl;

// The state of the list or of one of the topic fields, whichever has the
// focus; nothing for any other control.
std::optional<EditState> editStateOf(HWND focused, const MemoControl& list,
                                     std::span<const HWND> topicFields);
bool clipboardHoldsText();

// The list and the topic fields pass right clicks to the main window, whose
// context menus replace their own; the list lets Tab move the focus on.
void routeEditorMessages(HWND editor);

}  // namespace kivo::win32
