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
