#include "commands/EditCommands.h"

#include "core/Errors.h"
#include "core/Utf8.h"
#include "wordlist/WidthMapping.h"

namespace kivo {
namespace {

std::u16string mapWidth(std::u16string_view text, WidthDirection direction) {
    return direction == WidthDirection::Full ? toFullWidth(text) : toHalfWidth(text);
}

}  // namespace

void EditCommands::convertWidth(WidthDirection direction) {
    if (list_.hasSelection()) {
        const std::u16string selected = utf8ToUtf16(list_.selectedText());
        list_.replaceSelection(utf16ToUtf8(mapWidth(selected, direction)));
    } else {
        convertList(direction);
    }
}

void EditCommands::convertList(WidthDirection direction) {
    std::vector<std::string> lines = list_.lines();
    list_.clearList();
    if (lines.empty()) return;

    // The list takes the converted lines as long as they fit; the rest go
    // back unconverted rather than being lost.
    const std::size_t capacity = list_.capacity();
    std::size_t used = 0;
    std::size_t converted = 0;
    for (; converted < lines.size(); ++converted) {
        const std::u16string line = mapWidth(utf8ToUtf16(lines[converted]), direction);
        if (used + line.size() + 1 > capacity) break;
        used += line.size() + 1;
        lines[converted] = utf16ToUtf8(line);
    }
    list_.setLines(lines);
    list_.setModified(true);
    if (converted < lines.size()) throw UserError("RichEdit での行の挿入エラー");
}

}  // namespace kivo
