#pragma once
// The Qt side of the hint line: the hints carried by widgets and menu items,
// and what feeds the hint rule (the control under the pointer when the
// application goes idle, the menu item that is highlighted). The status bar
// shows the rule's hint; tooltips never do.
#include <QEvent>
#include <QObject>
#include <QPointer>
#include <QString>

#include "commands/HintRule.h"

class QAction;
class QMenu;
class QMenuBar;
class QWidget;

namespace kivo {

class HintLine : public QObject {
    Q_OBJECT
public:
    explicit HintLine(QObject* parent = nullptr);

    static void setHint(QObject* object, const QString& hint);
    static QString hintOf(const QObject* object);
    // The hint of the widget or of its first parent that has one.
    static QString inheritedHint(const QWidget* widget);

    QString current() const { return QString::fromStdString(rule_.current()); }
    // The long part of the current hint, as the status line shows it.
    QString shown() const { return QString::fromStdString(rule_.shown()); }
    // Makes `hint` current; announces the change only when it is one.
    void setCurrentHint(const QString& hint);

    // Idle-time rule: the control under the pointer (or none) decides.
    void takeHintFromWidget(const QWidget* widget);
    // Follows highlights in a menu; top-level menus also end the menu mode.
    void watchMenu(QMenu* menu, bool topLevel);
    void watchMenuBar(QMenuBar* bar);

signals:
    void hintChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void followMenuBarFocus(QEvent::Type type, Qt::FocusReason reason);
    void followPointerInMenu(const QMenu& menu, const QPoint& pos);
    void onIdle();
    bool inMenuMode() const;

    HintRule rule_;
    QPointer<QMenuBar> menuBar_;
};

}  // namespace kivo
