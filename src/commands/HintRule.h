#pragma once
// What the status line shows, the same in every window. The window feeds
// the rule what only it can see: the highlighted menu item, whether a menu
// or a modal box is open, the hint of the control under the pointer.
#include <string>
#include <string_view>

namespace kivo {

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
