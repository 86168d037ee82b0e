#include "platform/TopMostWindows.h"

#include <QApplication>

namespace kivo {
namespace {

void setTopMost(QWidget* window, bool topMost) {
    const bool visible = window->isVisible();
    window->setWindowFlag(Qt::WindowStaysOnTopHint, topMost);
    // New window flags hide a window; one that was up stays up.
    if (visible) window->show();
}

}  // namespace

bool TopMostWindows::isTopMost(const QWidget* window) {
    return window->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
}

void TopMostWindows::lower(const QWidget* mainWindow) {
    if (++level_ != 1) return;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        // Menus and tooltips come and go by themselves.
        const Qt::WindowType type = window->windowType();
        if (window == mainWindow || type == Qt::Popup || type == Qt::ToolTip) continue;
        if (!isTopMost(window)) continue;
        setTopMost(window, false);
        lowered_.emplace_back(window);
    }
}

void TopMostWindows::raise() {
    if (level_ == 0) return;
    if (--level_ != 0) return;
    for (const QPointer<QWidget>& window : lowered_) {
        if (window) setTopMost(window, true);
    }
    lowered_.clear();
}

}  // namespace kivo
