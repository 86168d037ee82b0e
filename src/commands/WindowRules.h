#pragma once
// The main window's own rules, the same in every window: what it does as it
// is made, the count label, which edit commands are enabled, and the hint
// line. The window feeds them what only it can see (the focused control,
// the control under the pointer, the highlighted menu item).
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "commands/Ports.h"

namespace kivo {

// As the window is made: the draw seeded from the clock, the first caption.
void FormCreate(MainWindowPort& window);

// The list's entries from what its control reports: its lines, less a last
// line of length 0 (the empty line after a final line break).
std::uint32_t listCount(std::uint32_t reportedLines, std::size_t lastLineLength);

// Vertical tabs, form feeds, U+2028 and U+2029 become `lineBreak`, one unit
// for another: a control would show each as a new line inside one entry,
// and the list holds one entry per line it shows.
inline bool isShownLineBreak(char16_t c) {
    return c == u'\v' || c == u'\f' || c == u'\u2028' || c == u'\u2029';
}
void breakLinesAsShown(std::span<char16_t> text, char16_t lineBreak);
// The same on UTF-8 text, each becoming "\n"; one character for one, so
// UTF-16 positions stay.
bool hasShownLineBreaks(std::string_view utf8);
std::string breakLinesAsShown(std::string_view utf8);

// The count label shows the list's count in plain decimal.
void refreshLineCount(const WordListPort& list, MainWindowPort& window);

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

// The hint line: one current hint for the whole program. A hint may have a
// short part and a long part, "short|long"; the status line shows the long
// one.
class HintRule {
public:
    // The text after the first "|"; a hint without one is its own long part.
    static std::string longHint(std::string_view hint);

    const std::string& current() const { return current_; }
    std::string shown() const { return longHint(current_); }
    // A menu item or title was highlighted (empty: nothing is). True when
    // that changed the hint: the window redraws the line then, and only then.
    bool highlight(std::string_view hint);
    // The program has nothing left to do. While a menu is open the menu
    // decides, and a modal box leaves the hint as it was; otherwise the
    // control under the pointer (the hint of it or of its nearest parent
    // that has one; empty over nothing) does.
    bool idle(bool menuOrBoxOpen, std::string_view hintUnderPointer);

private:
    std::string current_;
};

}  // namespace kivo
