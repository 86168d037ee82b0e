#include "HintLine.h"

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

QString HintLine::longHint(const QString& hint) {
    const qsizetype bar = hint.indexOf(QLatin1Char('|'));
    return bar < 0 ? hint : hint.mid(bar + 1);
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
    if (hint == current_) return;
    current_ = hint;
    emit hintChanged();
}

void HintLine::takeHintFromWidget(const QWidget* widget) {
    setCurrentHint(longHint(inheritedHint(widget)));
}

void HintLine::watchMenu(QMenu* menu, bool topLevel) {
    connect(menu, &QMenu::hovered, this,
            [this](QAction* action) { setCurrentHint(longHint(hintOf(action))); });
    // Separators cannot be highlighted, yet a separator with a hint shows it
    // when the pointer passes over it.
    menu->installEventFilter(this);
    if (!topLevel) return;
    // Opening a menu highlights its title; closing it highlights nothing.
    connect(menu, &QMenu::aboutToShow, this,
            [this, menu] { setCurrentHint(longHint(hintOf(menu->menuAction()))); });
    connect(menu, &QMenu::aboutToHide, this, [this] { setCurrentHint(QString()); });
}

void HintLine::watchMenuBar(QMenuBar* bar) {
    menuBar_ = bar;
    // Keyboard navigation of the bar (Alt, F10) highlights titles without
    // opening their menus.
    connect(bar, &QMenuBar::hovered, this, [this](QAction* action) {
        if (inMenuMode()) setCurrentHint(longHint(hintOf(action)));
    });
}

bool HintLine::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseMove) {
        auto* menu = qobject_cast<QMenu*>(watched);
        const auto* move = static_cast<QMouseEvent*>(event);
        if (menu) {
            QAction* action = menu->actionAt(move->position().toPoint());
            if (action && action->isSeparator()) setCurrentHint(longHint(hintOf(action)));
        }
    }
    return QObject::eventFilter(watched, event);
}

bool HintLine::inMenuMode() const {
    return QApplication::activePopupWidget() != nullptr || (menuBar_ && menuBar_->hasFocus());
}

void HintLine::onIdle() {
    // While a menu is open the menu rules own the hint; a modal box runs its
    // own loop and leaves the hint as it was.
    if (inMenuMode() || QApplication::activeModalWidget()) return;
    takeHintFromWidget(QApplication::widgetAt(QCursor::pos()));
}

}  // namespace kivo
