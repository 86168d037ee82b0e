#include "app/HintLine.h"

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QWidget>

namespace kivo {
namespace {
constexpr const char* kHintProperty = "kivoHint";
}

HintLine::HintLine(QObject* parent) : QObject(parent) {
    // "Idle" is the moment the event loop has nothing left to do and is about
    // to wait for input.
    if (auto* dispatcher = QAbstractEventDispatcher::instance()) {
        connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, &HintLine::onIdle);
    }
}

void HintLine::setHint(QObject* object, const QString& hint) {
    object->setProperty(kHintProperty, hint);
}

QString HintLine::hintOf(const QObject* object) {
    return object ? object->property(kHintProperty).toString() : QString();
}

QString HintLine::inheritedHint(const QWidget* widget) {
    for (const QWidget* w = widget; w; w = w->parentWidget()) {
        const QString hint = hintOf(w);
        if (!hint.isEmpty()) return hint;
        if (w->isWindow()) break;
    }
    return {};
}

void HintLine::setCurrentHint(const QString& hint) {
    if (rule_.highlight(hint.toStdString())) emit hintChanged();
}

void HintLine::takeHintFromWidget(const QWidget* widget) { setCurrentHint(inheritedHint(widget)); }

void HintLine::watchMenu(QMenu* menu, bool topLevel) {
    connect(menu, &QMenu::hovered, this,
            [this](QAction* action) { setCurrentHint(hintOf(action)); });
    // Separators cannot be highlighted, yet a separator with a hint shows it
    // when the pointer passes over it; a disabled item or a gap highlights
    // nothing, and the toolkit says nothing about that.
    menu->installEventFilter(this);
    if (!topLevel) return;
    // Opening a menu highlights its title; closing it highlights nothing.
    connect(menu, &QMenu::aboutToShow, this,
            [this, menu] { setCurrentHint(hintOf(menu->menuAction())); });
    connect(menu, &QMenu::aboutToHide, this, [this] { setCurrentHint(QString()); });
}

void HintLine::watchMenuBar(QMenuBar* bar) {
    menuBar_ = bar;
    // Keyboard navigation of the bar (Alt, F10) highlights titles without
    // opening their menus.
    connect(bar, &QMenuBar::hovered, this, [this](QAction* action) {
        if (inMenuMode()) setCurrentHint(hintOf(action));
    });
    // Alt highlights the first title before the bar takes the focus, so the
    // highlight is read again once it has; leaving the bar ends the menus.
    bar->installEventFilter(this);
}

void HintLine::followMenuBarFocus(QEvent::Type type, Qt::FocusReason reason) {
    // A menu opening or closing moves the focus without leaving the bar.
    if (reason == Qt::PopupFocusReason) return;
    if (type == QEvent::FocusIn) {
        setCurrentHint(hintOf(menuBar_->activeAction()));
    } else {
        setCurrentHint(QString());
    }
}

void HintLine::followPointerInMenu(const QMenu& menu, const QPoint& pos) {
    QAction* action = menu.actionAt(pos);
    if (action && action->isSeparator()) {
        setCurrentHint(hintOf(action));
        return;
    }
    if (action && action->isEnabled()) return;  // its hovered signal speaks for it
    // On the way into an open sub-menu its item stays highlighted.
    const QAction* active = menu.activeAction();
    if (active && active->menu() && active->menu()->isVisible()) return;
    setCurrentHint(QString());
}

bool HintLine::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::MouseMove:
            if (const auto* menu = qobject_cast<QMenu*>(watched)) {
                followPointerInMenu(*menu, static_cast<QMouseEvent*>(event)->position().toPoint());
            }
            break;
        case QEvent::FocusIn:
        case QEvent::FocusOut:
            if (watched == menuBar_) {
                followMenuBarFocus(event->type(), static_cast<QFocusEvent*>(event)->reason());
            }
            break;
        default:
            break;
    }
    return QObject::eventFilter(watched, event);
}

bool HintLine::inMenuMode() const {
    return QApplication::activePopupWidget() != nullptr || (menuBar_ && menuBar_->hasFocus());
}

void HintLine::onIdle() {
    const bool menuOrBox = inMenuMode() || QApplication::activeModalWidget();
    const QString hint =
        menuOrBox ? QString() : inheritedHint(QApplication::widgetAt(QCursor::pos()));
    if (rule_.idle(menuOrBox, hint.toStdString())) emit hintChanged();
}

}  // namespace kivo
