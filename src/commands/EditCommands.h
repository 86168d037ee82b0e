#pragma once
// The Edit menu: width conversion of the selection or of every line, and
// the editor's own commands. They act on the list whichever control has
// the focus, and every one that changes the list leaves it marked modified,
// whatever the control itself makes of its mark.
#include <array>
#include <utility>

#include "commands/Ports.h"
#include "commands/WindowLayout.h"

namespace kivo {

// What the focused edit control (the list or a topic field) says of itself.
struct EditState {
    bool hasSelection = false;
    bool hasText = false;
    bool canUndo = false;
};
struct EditEnabling {
    bool cut = false;
    bool copy = false;
    bool paste = false;
    bool selectAll = false;
    bool undo = false;
};
// Judged as a menu showing the edit commands opens; with the focus on
// anything but an edit control the window leaves them as they are.
EditEnabling judgeEditCommands(const EditState& focused, bool clipboardHoldsText);
// The same by the command each item runs.
std::array<std::pair<CommandId, bool>, 5> enablingByCommand(const EditEnabling& enabling);

enum class WidthDirection { Full, Half };

class EditCommands {
public:
    EditCommands(WordListPort& list, MainWindowPort& window) : list_(list), window_(window) {}

    void toFullWidth() { convertWidth(WidthDirection::Full); }
    void toHalfWidth() { convertWidth(WidthDirection::Half); }
    void cut();
    void copy() { list_.copy(); }
    // Also what the list's own paste keys run.
    void paste();
    void selectAll() { list_.selectAll(); }
    void undo();

    // Converts the selection as one piece when there is one, otherwise every
    // line of the list. Lines the list has no room for after conversion are
    // put back as they were, and the failure is thrown for the error box.
    void convertWidth(WidthDirection direction);

private:
    void convertList(WidthDirection direction);

    WordListPort& list_;
    MainWindowPort& window_;
};

}  // namespace kivo
