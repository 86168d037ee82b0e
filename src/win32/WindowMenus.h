#pragma once
// The main window's menus, built from the shared tables (WindowLayout.h):
// the menu bar with its shortcut keys, the list's and the topics' context
// menus, and the shared edit commands enabled in all of them. Each item's
// identifier is its command's; separators have identifiers of their own,
// above the commands', so that one can carry a hint.
#include <windows.h>

#include <span>
#include <vector>

#include "commands/EditCommands.h"
#include "commands/WindowLayout.h"

namespace kivo::win32 {

class HintLine;

class WindowMenus {
public:
    static constexpr UINT kFirstSeparatorId = 900;

    explicit WindowMenus(HintLine& hints) : hints_(hints) {}
    ~WindowMenus();
    WindowMenus(const WindowMenus&) = delete;
    WindowMenus& operator=(const WindowMenus&) = delete;

    // Builds every menu; the menu bar goes on `window`.
    void create(HWND window);
    HMENU menuBar() const { return menuBar_; }
    HMENU listMenu() const { return listMenu_; }
    HMENU topicMenu() const { return topicMenu_; }
    // Whether a WM_COMMAND identifier is a menu command's.
    static bool isCommand(UINT id) {
        return id >= static_cast<UINT>(CommandId::New) && id < kFirstSeparatorId;
    }

    // A shortcut key of the window's (F11, Ctrl+Shift+C), run; false for any
    // other message.
    bool translateShortcut(HWND window, MSG& msg);
    // The edit commands as judged, in `opening` and every menu that shows them.
    void enableEditCommands(HMENU opening, const EditEnabling& enabling);
    // The hints that count the topics count this many.
    void showTopicCount(std::size_t topics);
    // The context menu of the control `where` at screen point `at`
    // (-1, -1 from the keyboard): the list's or the topics'.
    void showContextMenu(HWND window, HMENU menu, HWND where, POINT at);

private:
    HMENU build(std::span<const MenuItem> items, bool bar);
    void createShortcuts();

    HintLine& hints_;
    HMENU menuBar_ = nullptr;
    HMENU listMenu_ = nullptr;
    HMENU topicMenu_ = nullptr;
    HACCEL shortcuts_ = nullptr;
    UINT nextSeparatorId_ = kFirstSeparatorId;
};

}  // namespace kivo::win32
