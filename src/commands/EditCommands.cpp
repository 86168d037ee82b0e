#include "commands/EditCommands.h"

#include <algorithm>
#include <utility>

#include "core/Errors.h"
#include "core/Utf8.h"
#include "wordlist/WidthMapping.h"

namespace kivo {
namespace {

std::string mapWidth(std::string_view text, WidthDirection direction) {
    return direction == WidthDirection::Full ? toFullWidth(text) : toHalfWidth(text);
}

}  // namespace

void EditCommands::cut() {
    if (!list_.hasSelection()) return;
    list_.cut();
    list_.setModified(true);
}

void EditCommands::paste() {
    // The list a paste would make is judged before it is made: a clipboard
    // of millions of line breaks is refused as a file of them would be.
    TextShape shape = shapeOf(list_.text());
    const TextShape pasted = shapeOf(list_.clipboardText());
    shape.bytes += pasted.bytes;
    shape.lines += pasted.lines - 1;
    shape.longestLine = std::max(shape.longestLine, pasted.longestLine);
    checkListRoom(shape, false, list_.listCosts());
    list_.paste();
    list_.setModified(true);
}

void EditCommands::undo() {
    list_.undo();
    list_.setModified(true);
}

void EditCommands::convertWidth(WidthDirection direction) {
    const BusyCursor busy(window_);
    if (list_.hasSelection()) {
        list_.replaceSelection(mapWidth(list_.selectedText(), direction));
        list_.setModified(true);
    } else {
        convertList(direction);
    }
}

void EditCommands::convertList(WidthDirection direction) {
    std::vector<std::string> lines = list_.lines();
    if (lines.empty()) {
        list_.clearList();
        return;
    }

    // The list takes the converted lines as long as they fit; the rest go
    // back unconverted rather than being lost.
    const std::size_t capacity = list_.capacity();
    std::size_t used = 0;
    std::size_t converted = 0;
    for (; converted < lines.size(); ++converted) {
        std::string line = mapWidth(lines[converted], direction);
        const std::size_t length = utf16Length(line) + 1;
        if (used + length > capacity) break;
        used += length;
        lines[converted] = std::move(line);
    }
    // Full-width text is longer: a list that would no longer fit stays as
    // it is.
    checkListRoom(shapeOfLines(lines), false, list_.listCosts());
    list_.clearList();
    list_.setLines(lines);
    list_.setModified(true);
    if (converted < lines.size()) throw UserError("RichEdit での行の挿入エラー");
}

EditEnabling judgeEditCommands(const EditState& focused, bool clipboardHoldsText) {
    return {.cut = focused.hasSelection,
            .copy = focused.hasSelection,
            .paste = clipboardHoldsText,
            .selectAll = focused.hasText,
            .undo = focused.canUndo};
}

std::array<std::pair<CommandId, bool>, 5> enablingByCommand(const EditEnabling& enabling) {
    return {{{CommandId::Cut, enabling.cut},
             {CommandId::Copy, enabling.copy},
             {CommandId::Paste, enabling.paste},
             {CommandId::SelectAll, enabling.selectAll},
             {CommandId::Undo, enabling.undo}}};
}

}  // namespace kivo
