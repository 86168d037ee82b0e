#include "win32/WindowMenus.h"

#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "win32/HintLine.h"
#include "win32/Wide.h"

namespace kivo::win32 {
namespace {

// A key as the table names it ("F11", "Ctrl+Shift+C"): modifiers, then a
// letter, a digit or a function key. Nothing for a name it does not know.
std::optional<ACCEL> acceleratorOf(std::string_view key, CommandId command) {
    BYTE flags = FVIRTKEY;
    for (const auto& [prefix, flag] : {std::pair<std::string_view, BYTE>{"Ctrl+", FCONTROL},
                                       {"Shift+", FSHIFT},
                                       {"Alt+", FALT}}) {
        if (key.substr(0, prefix.size()) == prefix) {
            flags |= flag;
            key.remove_prefix(prefix.size());
        }
    }
    WORD virtualKey = 0;
    if (key.size() == 1 && ((key[0] >= 'A' && key[0] <= 'Z') || (key[0] >= '0' && key[0] <= '9'))) {
        virtualKey = static_cast<WORD>(key[0]);  // the letter's own key code
    } else if (key.size() >= 2 && key[0] == 'F') {
        const int number = std::atoi(std::string(key.substr(1)).c_str());
        if (number < 1 || number > 24) return std::nullopt;
        virtualKey = static_cast<WORD>(VK_F1 + number - 1);
    } else {
        return std::nullopt;
    }
    return ACCEL{flags, virtualKey, static_cast<WORD>(command)};
}

}  // namespace

WindowMenus::~WindowMenus() {
    if (shortcuts_) DestroyAcceleratorTable(shortcuts_);
    // The menu bar goes with its window; the context menus are ours.
    for (HMENU menu : {listMenu_, topicMenu_}) {
        if (menu) DestroyMenu(menu);
    }
}

void WindowMenus::create(HWND window) {
    menuBar_ = build(mainMenuItems(), true);
    SetMenu(window, menuBar_);
    createShortcuts();
    listMenu_ = build(listMenuItems(), false);
    topicMenu_ = build(topicMenuItems(), false);
}

HMENU WindowMenus::build(std::span<const MenuItem> items, bool bar) {
    // The menu each depth adds to; a sub-menu opens the next depth.
    std::vector<HMENU> parents{bar ? CreateMenu() : CreatePopupMenu()};
    for (const MenuItem& item : items) {
        parents.resize(static_cast<std::size_t>(item.depth) + 1);
        const HMENU parent = parents.back();
        const std::wstring caption = wide(captionOf(item));
        const std::string hint(hintOf(item));
        switch (item.kind) {
            case MenuKind::SubMenu: {
                const HMENU sub = CreatePopupMenu();
                AppendMenuW(parent, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(sub),
                            caption.c_str());
                hints_.setSubMenuHint(sub, hint);
                parents.push_back(sub);
                break;
            }
            case MenuKind::Separator:
                AppendMenuW(parent, MF_SEPARATOR, nextSeparatorId_, nullptr);
                hints_.setItemHint(nextSeparatorId_++, hint);
                break;
            case MenuKind::Item:
            case MenuKind::CheckItem:
            case MenuKind::RadioItem: {
                const auto id = static_cast<UINT>(item.command);
                std::wstring shown = caption;
                if (const char* key = shortcutOf(item.command)) shown += L"\t" + wide(key);
                AppendMenuW(parent, MF_STRING, id, shown.c_str());
                if (item.kind == MenuKind::RadioItem) {
                    // Checked, it shows a dot rather than a tick.
                    MENUITEMINFOW info{};
                    info.cbSize = sizeof info;
                    info.fMask = MIIM_FTYPE;
                    info.fType = MFT_STRING | MFT_RADIOCHECK;
                    SetMenuItemInfoW(parent, id, FALSE, &info);
                }
                hints_.setItemHint(id, hint);
                break;
            }
        }
    }
    return parents.front();
}

void WindowMenus::showTopicCount(std::size_t topics) {
    for (const std::span<const MenuItem> menu : {mainMenuItems(), topicMenuItems()}) {
        for (const MenuItem& item : menu) {
            if (item.command == CommandId::None || editCommandText(item.command)) continue;
            hints_.setItemHint(static_cast<UINT>(item.command), std::string(hintOf(item, topics)));
        }
    }
}

void WindowMenus::createShortcuts() {
    std::vector<ACCEL> keys;
    for (const MenuItem& item : mainMenuItems()) {
        const char* key = shortcutOf(item.command);
        if (!key) continue;
        if (const auto accelerator = acceleratorOf(key, item.command)) keys.push_back(*accelerator);
    }
    if (!keys.empty())
        shortcuts_ = CreateAcceleratorTableW(keys.data(), static_cast<int>(keys.size()));
}

bool WindowMenus::translateShortcut(HWND window, MSG& msg) {
    // Only in the main window and its controls; the other windows have
    // keys of their own.
    if (!shortcuts_ || !(msg.hwnd == window || IsChild(window, msg.hwnd))) return false;
    return TranslateAcceleratorW(window, shortcuts_, &msg) != 0;
}

void WindowMenus::enableEditCommands(HMENU opening, const EditEnabling& enabling) {
    for (const auto& [command, enabled] : enablingByCommand(enabling)) {
        for (HMENU shown : {opening, menuBar_, listMenu_}) {
            EnableMenuItem(shown, static_cast<UINT>(command),
                           MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
        }
    }
}

void WindowMenus::showContextMenu(HWND window, HMENU menu, HWND where, POINT at) {
    if (at.x == -1 && at.y == -1) {
        // From the keyboard: at the control's corner.
        RECT r{};
        GetWindowRect(where, &r);
        at = {r.left + 4, r.top + 4};
    }
    TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0, window, nullptr);
}

}  // namespace kivo::win32
