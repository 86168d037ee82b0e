#pragma once
// What the focused edit control says of itself, for the edit commands'
// enabling, and whether the clipboard holds text to paste.
#include <optional>

#include "commands/EditCommands.h"

class QLineEdit;
class QWidget;

namespace kivo {

// The state of the list or of a topic field; nothing for any other control.
std::optional<EditState> editStateOf(const QWidget* focused);
bool clipboardHoldsText();

// A menu closed with Esc leaves the keyboard focus on the menu bar, and a
// line edit drops its selection whenever the focus leaves it for anything
// but a popup; the commands of the next menu are about that selection, so
// the edit keeps it, as a Windows edit does.
void keepSelectionWhileMenusHaveFocus(QLineEdit* edit);

}  // namespace kivo
