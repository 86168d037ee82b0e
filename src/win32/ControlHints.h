#pragma once
// The hints of a window's own standard controls (the history window's
// buttons, the dialogs' fields), which have no hint line: a screen reader
// names each control by what it shows and reads its hint as its
// description, and the pointer resting on it shows the hint as a tip.
#include <windows.h>

#include <string>
#include <string_view>

namespace kivo::win32 {

// A caption as it shows: "参照(&B)..." shows as "参照(B)...", the letter
// after "&" underlined; "&&" shows one "&".
std::wstring shownCaption(std::string_view caption);

class ControlHints {
public:
    // The tips of `window`'s controls, in a tip window it owns (gone with
    // it); a long hint wraps at `tipWidth` pixels.
    ControlHints(HWND window, int tipWidth);
    // `shown`: the caption the control, or the label before it, shows.
    void add(HWND control, std::string_view shown, std::string_view hint);
    HWND tips() const { return tips_; }

private:
    HWND window_;
    HWND tips_ = nullptr;
};

}  // namespace kivo::win32
