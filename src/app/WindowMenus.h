#pragma once
// The main window's menus, built from the shared tables (WindowLayout.h):
// the shared edit commands, the menu bar, the list's and the topics'
// context menus. Each item runs its command through `run`; the hint line
// watches every menu.
#include <QString>
#include <functional>
#include <span>

#include "commands/EditCommands.h"
#include "commands/WindowLayout.h"

class QAction;
class QActionGroup;
class QMainWindow;
class QMenu;

namespace kivo {

class HintLine;

class WindowMenus {
public:
    WindowMenus(QMainWindow& window, HintLine& hints, std::function<void(CommandId)> run);

    // The menu bar and its items (named "MainMenu1"), with the shared edit
    // commands.
    void createMenuBar();
    // The list's ("PopupMenu1") and the topics' ("PopupMenu2") context menus.
    void createContextMenus();

    QMenu* editMenu() const;
    QMenu* listMenu() const { return listMenu_; }
    QMenu* topicMenu() const { return topicMenu_; }
    // The menu bar's item of this name.
    QAction* item(const char* name) const;
    // The menu bar's item that runs `command`.
    QAction* itemOf(CommandId command) const;
    // The shared edit commands as judged for the focused control.
    void enableEditCommands(const EditEnabling& enabling);
    // The hints that count the topics count this many.
    void showTopicCount(std::size_t topics);

private:
    void createActions();
    QAction* editCommandAction(CommandId command) const;
    // Builds the rows of a menu table into `top` (the menu bar when null).
    void addMenuItems(QMenu* top, std::span<const MenuItem> items);
    QAction* addItem(QMenu* menu, const char* name, const QString& caption, const QString& hint,
                     CommandId command);
    // A menu item showing one of the shared edit commands.
    QAction* addCommandItem(QMenu* menu, const char* name, QAction* command,
                            const QString& ownCaption = QString());
    QAction* addSeparator(QMenu* menu, const char* name, const QString& hint = QString());
    QMenu* addSubMenu(QMenu* parent, const char* name, const QString& caption, const QString& hint);
    QAction* addCommand(const char* name, const QString& caption, const QString& hint,
                        CommandId command);
    void connectCommand(QAction* action, CommandId command);

    QMainWindow& window_;
    HintLine& hints_;
    std::function<void(CommandId)> run_;
    QMenu* listMenu_ = nullptr;
    QMenu* topicMenu_ = nullptr;
    // The radio items next to each other, checked one at a time.
    QActionGroup* radioGroup_ = nullptr;
    // The shared edit commands (category "編集"), in the shared table's order.
    QAction* editCommands_[5] = {};
};

}  // namespace kivo
