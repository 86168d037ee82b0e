#pragma once
// The Edit menu's work on the word list: width conversion of the selection
// or of every line, and the enabling of the shared edit commands.
class QAction;
class QWidget;

namespace kivo {

class MemoControl;

enum class WidthDirection { Full, Half };

// Converts the selection as one piece when there is one, otherwise every
// line of the list. Lines the list has no room for after conversion are put
// back as they were, and the failure is thrown for the error box.
void convertWidth(MemoControl& memo, WidthDirection direction);

struct EditCommandSet {
    QAction* cut;
    QAction* copy;
    QAction* paste;
    QAction* selectAll;
    QAction* undo;
};

// Re-judges the commands against the focused edit control, as a menu that
// shows them opens; with the focus on anything else they stay as they are.
void updateEditCommands(const EditCommandSet& commands, const QWidget* focused);

}  // namespace kivo
