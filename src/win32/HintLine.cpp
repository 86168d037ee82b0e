#include "win32/HintLine.h"

#include <commctrl.h>

#include <utility>

#include "win32/Wide.h"

namespace kivo::win32 {

void HintLine::attach(HWND window, HWND statusBar) {
    window_ = window;
    statusBar_ = statusBar;
}

void HintLine::setControlHint(HWND control, std::string hint) {
    controlHints_[control] = std::move(hint);
}

void HintLine::setItemHint(UINT item, std::string hint) { itemHints_[item] = std::move(hint); }

void HintLine::setSubMenuHint(HMENU subMenu, std::string hint) {
    subMenuHints_[subMenu] = std::move(hint);
}

void HintLine::menuSelect(WPARAM wParam, LPARAM lParam) {
    const UINT flags = HIWORD(wParam);
    const auto menu = reinterpret_cast<HMENU>(lParam);
    std::string hint;
    if (flags == 0xFFFF && !menu) {
        hint.clear();  // the menu closed
    } else if (flags & MF_POPUP) {
        const auto found = subMenuHints_.find(GetSubMenu(menu, LOWORD(wParam)));
        if (found != subMenuHints_.end()) hint = found->second;
    } else {
        const auto found = itemHints_.find(LOWORD(wParam));
        if (found != itemHints_.end()) hint = found->second;
    }
    if (rule_.highlight(hint)) ShowLongHint();
}

void HintLine::idle() {
    if (rule_.idle(inMenu_ || modal_ > 0, hintUnderPointer())) ShowLongHint();
}

std::string HintLine::hintUnderPointer() const {
    POINT at{};
    if (!GetCursorPos(&at)) return {};
    // From the control under the pointer out through its parents to the
    // first with a hint; the window itself has none.
    for (HWND hwnd = WindowFromPoint(at); hwnd && hwnd != window_; hwnd = GetParent(hwnd)) {
        const auto found = controlHints_.find(hwnd);
        if (found != controlHints_.end() && !found->second.empty()) return found->second;
    }
    return {};
}

void HintLine::ShowLongHint() {
    SendMessageW(statusBar_, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(wide(rule_.shown()).c_str()));
}

}  // namespace kivo::win32
