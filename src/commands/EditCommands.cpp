#include "commands/EditCommands.h"

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

void EditCommands::convertWidth(WidthDirection direction) {
    if (list_.hasSelection()) {
        list_.replaceSelection(mapWidth(list_.selectedText(), direction));
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
        std::string line = mapWidth(lines[converted], direction);
        const std::size_t length = utf16Length(line) + 1;
        if (used + length > capacity) break;
        used += length;
        lines[converted] = std::move(line);
    }
    list_.setLines(lines);
    list_.setModified(true);
    if (converted < lines.size()) throw UserError("RichEdit での行の挿入エラー");
}

}  // namespace kivo
