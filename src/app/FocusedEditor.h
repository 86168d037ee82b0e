#pragma once
// What the focused edit control says of itself, for the edit commands'
// enabling, and whether the clipboard holds text to paste.
#include <optional>

#include "commands/WindowRules.h"

class QWidget;

namespace kivo {

// The state of the list or of a topic field; nothing for any other control.
std::optional<EditState> editStateOf(const QWidget* focused);
bool clipboardHoldsText();

}  // namespace kivo
