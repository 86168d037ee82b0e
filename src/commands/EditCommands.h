#pragma once
// The Edit menu: width conversion of the selection or of every line, and
// the editor's own commands. They act on the list whichever control has
// the focus, and every one that changes the list leaves it marked modified,
// whatever the control itself makes of its mark.
#include "commands/Ports.h"

namespace kivo {

enum class WidthDirection { Full, Half };

class EditCommands {
public:
    EditCommands(WordListPort& list, MainWindowPort& window) : list_(list), window_(window) {}

    void mnuFullWidthClick() { convertWidth(WidthDirection::Full); }
    void mnuHalfWidthClick() { convertWidth(WidthDirection::Half); }
    void EditCutClick();
    void EditCopyClick() { list_.copy(); }
    // Also what the list's own paste keys run.
    void EditPasteClick();
    void EditSelectAllClick() { list_.selectAll(); }
    void EditUndoClick();

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
