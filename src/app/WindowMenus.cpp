#include "app/WindowMenus.h"

#include <QAction>
#include <QActionGroup>
#include <QKeySequence>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <utility>
#include <vector>

#include "app/HintLine.h"

namespace kivo {
namespace {

template <typename T>
T* named(T* object, const char* name) {
    object->setObjectName(QString::fromLatin1(name));
    return object;
}

}  // namespace

WindowMenus::WindowMenus(QMainWindow& window, HintLine& hints, std::function<void(CommandId)> run)
    : window_(window), hints_(hints), run_(std::move(run)) {}

void WindowMenus::createMenuBar() {
    createActions();
    QMenuBar* bar = named(window_.menuBar(), "MainMenu1");
    hints_.watchMenuBar(bar);
    addMenuItems(nullptr, mainMenuItems());
}

void WindowMenus::createContextMenus() {
    listMenu_ = named(new QMenu(&window_), "PopupMenu1");
    hints_.watchMenu(listMenu_, true);
    addMenuItems(listMenu_, listMenuItems());

    topicMenu_ = named(new QMenu(&window_), "PopupMenu2");
    hints_.watchMenu(topicMenu_, true);
    addMenuItems(topicMenu_, topicMenuItems());
}

QMenu* WindowMenus::editMenu() const {
    return window_.findChild<QMenu*>(QStringLiteral("mnuEditMenu"));
}

QAction* WindowMenus::item(const char* name) const {
    return window_.findChild<QAction*>(QString::fromLatin1(name));
}

QAction* WindowMenus::itemOf(CommandId command) const {
    for (const MenuItem& row : mainMenuItems()) {
        if (row.command == command) return item(row.name);
    }
    return nullptr;
}

void WindowMenus::enableEditCommands(const EditEnabling& enabling) {
    for (const auto& [command, enabled] : enablingByCommand(enabling)) {
        if (QAction* action = editCommandAction(command)) action->setEnabled(enabled);
    }
}

void WindowMenus::showTopicCount(std::size_t topics) {
    for (const std::span<const MenuItem> menu : {mainMenuItems(), topicMenuItems()}) {
        for (const MenuItem& row : menu) {
            QAction* action = item(row.name);
            if (action && !editCommandText(row.command)) {
                HintLine::setHint(action, QString::fromUtf8(hintOf(row, topics)));
            }
        }
    }
}

void WindowMenus::createActions() {
    std::size_t next = 0;
    for (const EditCommandText& command : editCommandTexts()) {
        editCommands_[next++] = addCommand(command.name, QString::fromUtf8(command.caption),
                                           QString::fromUtf8(command.hint), command.command);
    }
}

QAction* WindowMenus::editCommandAction(CommandId command) const {
    // In the order of the shared table, as createActions made them.
    const std::span<const EditCommandText> texts = editCommandTexts();
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (texts[i].command == command) return editCommands_[i];
    }
    return nullptr;
}

void WindowMenus::addMenuItems(QMenu* top, std::span<const MenuItem> items) {
    // The menu each depth adds to; a sub-menu opens the next depth.
    std::vector<QMenu*> parents{top};
    for (const MenuItem& item : items) {
        parents.resize(static_cast<std::size_t>(item.depth) + 1);
        QMenu* parent = parents.back();
        const QString caption = QString::fromUtf8(captionOf(item));
        const QString hint = QString::fromUtf8(hintOf(item));
        if (item.kind == MenuKind::SubMenu) {
            parents.push_back(addSubMenu(parent, item.name, caption, hint));
        } else if (item.kind == MenuKind::Separator) {
            addSeparator(parent, item.name, hint);
        } else if (QAction* command = editCommandAction(item.command)) {
            addCommandItem(parent, item.name, command, item.caption ? caption : QString());
        } else {
            QAction* action = addItem(parent, item.name, caption, hint, item.command);
            action->setCheckable(item.kind == MenuKind::CheckItem ||
                                 item.kind == MenuKind::RadioItem);
            if (item.kind == MenuKind::RadioItem) {
                if (!radioGroup_) radioGroup_ = new QActionGroup(&window_);
                radioGroup_->addAction(action);
            } else {
                radioGroup_ = nullptr;
            }
            if (const char* key = shortcutOf(item.command)) {
                action->setShortcut(QKeySequence(QString::fromLatin1(key)));
            }
        }
    }
}

QAction* WindowMenus::addCommand(const char* name, const QString& caption, const QString& hint,
                               CommandId handler) {
    auto* command = named(new QAction(caption, &window_), name);
    command->setProperty("category", QStringLiteral("編集"));
    HintLine::setHint(command, hint);
    connectCommand(command, handler);
    return command;
}

QAction* WindowMenus::addItem(QMenu* menu, const char* name, const QString& caption,
                            const QString& hint, CommandId handler) {
    auto* item = named(new QAction(caption, &window_), name);
    HintLine::setHint(item, hint);
    connectCommand(item, handler);
    menu->addAction(item);
    return item;
}

QAction* WindowMenus::addCommandItem(QMenu* menu, const char* name, QAction* command,
                                   const QString& ownCaption) {
    // Each menu item is an object of its own that follows its command: the
    // command's caption (unless the item names its own), hint and enabling.
    auto* item =
        named(new QAction(ownCaption.isEmpty() ? command->text() : ownCaption, &window_), name);
    HintLine::setHint(item, HintLine::hintOf(command));
    item->setEnabled(command->isEnabled());
    QObject::connect(command, &QAction::changed, item, [item, command, ownCaption] {
        item->setEnabled(command->isEnabled());
        if (ownCaption.isEmpty()) item->setText(command->text());
    });
    QObject::connect(item, &QAction::triggered, command, &QAction::trigger);
    menu->addAction(item);
    return item;
}

QAction* WindowMenus::addSeparator(QMenu* menu, const char* name, const QString& hint) {
    auto* separator = named(new QAction(&window_), name);
    separator->setSeparator(true);
    HintLine::setHint(separator, hint);
    menu->addAction(separator);
    return separator;
}

QMenu* WindowMenus::addSubMenu(QMenu* parent, const char* name, const QString& caption,
                             const QString& hint) {
    auto* menu = new QMenu(caption, &window_);
    menu->setObjectName(QString::fromLatin1(name) + QStringLiteral("Menu"));
    named(menu->menuAction(), name);
    HintLine::setHint(menu->menuAction(), hint);
    if (parent) {
        parent->addMenu(menu);
    } else {
        window_.menuBar()->addMenu(menu);
    }
    hints_.watchMenu(menu, parent == nullptr);
    return menu;
}

void WindowMenus::connectCommand(QAction* action, CommandId command) {
    QObject::connect(action, &QAction::triggered, &window_, [this, command] { run_(command); });
}

}  // namespace kivo
