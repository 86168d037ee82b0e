#pragma once
// The Win32 side of the hint line: the hints of the window's controls and
// menu items, and what feeds the hint rule (the item highlighted in a menu,
// the control under the pointer when the program goes idle, whether a menu
// or a modal box is open). The status bar shows the rule's hint, redrawn
// only when it changes.
#include <windows.h>

#include <map>
#include <string>

#include "commands/HintRule.h"

namespace kivo::win32 {

class HintLine {
public:
    // Over `window`, whose own area has no hint, into its status bar.
    void attach(HWND window, HWND statusBar);

    void setControlHint(HWND control, std::string hint);
    void setItemHint(UINT item, std::string hint);
    void setSubMenuHint(HMENU subMenu, std::string hint);

    // WM_MENUSELECT: the item or sub-menu highlighted, or the menu closed.
    void menuSelect(WPARAM wParam, LPARAM lParam);
    // Between WM_ENTERMENULOOP and WM_EXITMENULOOP the menu decides.
    void menuOpen(bool open) { inMenu_ = open; }
    // The program has nothing left to do: the hint follows the pointer.
    void idle();

    // A modal box or dialog is open for as long as one of these lives; the
    // hint stays as it was meanwhile.
    class ModalOpen {
    public:
        explicit ModalOpen(HintLine& line) : line_(line) { ++line_.modal_; }
        ~ModalOpen() { --line_.modal_; }
        ModalOpen(const ModalOpen&) = delete;
        ModalOpen& operator=(const ModalOpen&) = delete;

    private:
        HintLine& line_;
    };

private:
    std::string hintUnderPointer() const;
    void ShowLongHint();

    HWND window_ = nullptr;
    HWND statusBar_ = nullptr;
    std::map<HWND, std::string> controlHints_;
    std::map<UINT, std::string> itemHints_;
    std::map<HMENU, std::string> subMenuHints_;
    HintRule rule_;
    bool inMenu_ = false;
    int modal_ = 0;
};

}  // namespace kivo::win32
