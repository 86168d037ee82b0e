#include "commands/WindowRules.h"

#include "core/Titles.h"
#include "core/Utf8.h"
#include "wordlist/Random.h"

namespace kivo {

void FormCreate(MainWindowPort& window) {
    SeedRandomFromClock();
    window.setCaption(kInitialCaption);
}

std::uint32_t listCount(std::uint32_t reportedLines, std::size_t lastLineLength) {
    if (reportedLines == 0) return 0;
    return lastLineLength == 0 ? reportedLines - 1 : reportedLines;
}

void breakLinesAsShown(std::span<char16_t> text, char16_t lineBreak) {
    for (char16_t& c : text) {
        if (isShownLineBreak(c)) c = lineBreak;
    }
}

namespace {

// U+2028 and U+2029 in UTF-8: E2 80 A8 and E2 80 A9.
bool isUtf8Separator(std::string_view text, std::size_t at) {
    return text[at] == '\xE2' && at + 2 < text.size() && text[at + 1] == '\x80' &&
           (text[at + 2] == '\xA8' || text[at + 2] == '\xA9');
}

}  // namespace

bool hasShownLineBreaks(std::string_view utf8) {
    if (utf8.find('\v') != std::string_view::npos || utf8.find('\f') != std::string_view::npos)
        return true;
    for (std::size_t at = utf8.find('\xE2'); at != std::string_view::npos;
         at = utf8.find('\xE2', at + 1)) {
        if (isUtf8Separator(utf8, at)) return true;
    }
    return false;
}

std::string breakLinesAsShown(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const char c = utf8[i];
        if (c == '\v' || c == '\f') {
            out.push_back('\n');
        } else if (isUtf8Separator(utf8, i)) {
            out.push_back('\n');
            i += 2;
        } else {
            out.push_back(c);
        }
    }
    return out;
}

void refreshLineCount(const WordListPort& list, MainWindowPort& window) {
    window.showLineCount(std::to_string(list.count()));
}

EditEnabling judgeEditCommands(const EditState& focused, bool clipboardHoldsText) {
    return {.cut = focused.hasSelection,
            .copy = focused.hasSelection,
            .paste = clipboardHoldsText,
            .selectAll = focused.hasText,
            .undo = focused.canUndo};
}

std::string HintRule::longHint(std::string_view hint) {
    const std::size_t bar = hint.find('|');
    return std::string(bar == std::string_view::npos ? hint : hint.substr(bar + 1));
}

bool HintRule::highlight(std::string_view hint) {
    if (hint == current_) return false;
    current_ = hint;
    return true;
}

bool HintRule::idle(bool menuOrBoxOpen, std::string_view hintUnderPointer) {
    if (menuOrBoxOpen) return false;
    return highlight(hintUnderPointer);
}

}  // namespace kivo
