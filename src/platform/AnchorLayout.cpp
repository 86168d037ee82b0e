#include "platform/AnchorLayout.h"

#include <QWidget>
#include <QWidgetItem>
#include <algorithm>

namespace kivo {
namespace {

Bounds boundsOf(const QRect& r) { return {r.x(), r.y(), r.width(), r.height()}; }
QRect rectOf(const Bounds& b) { return QRect(b.left, b.top, b.width, b.height); }

}  // namespace

AnchorLayout::AnchorLayout(QWidget* parent, QSize designSize)
    : QLayout(parent), designSize_(designSize) {
    setContentsMargins(0, 0, 0, 0);
    setSizeConstraint(QLayout::SetNoConstraint);
}

AnchorLayout::~AnchorLayout() = default;

void AnchorLayout::addWidget(QWidget* widget, QRect bounds, unsigned anchors) {
    addChildWidget(widget);
    entries_.push_back({std::make_unique<QWidgetItem>(widget), bounds, anchors});
    invalidate();
}

void AnchorLayout::setDesignSize(QSize designSize) {
    designSize_ = designSize;
    invalidate();
}

void AnchorLayout::setBounds(QWidget* widget, QRect bounds) {
    for (Entry& e : entries_) {
        if (e.item->widget() == widget) e.bounds = bounds;
    }
    invalidate();
}

QRect AnchorLayout::place(QRect bounds, unsigned anchors, QSize designSize, QSize actualSize) {
    return rectOf(placeControl(boundsOf(bounds), anchors, {designSize.width(), designSize.height()},
                               {actualSize.width(), actualSize.height()}));
}

void AnchorLayout::addItem(QLayoutItem* item) {
    // Items without design bounds keep the place they are given.
    entries_.push_back(
        {std::unique_ptr<QLayoutItem>(item), item->geometry(), AnchorLeft | AnchorTop});
}

QLayoutItem* AnchorLayout::itemAt(int index) const {
    if (index < 0 || index >= count()) return nullptr;
    return entries_[static_cast<std::size_t>(index)].item.get();
}

QLayoutItem* AnchorLayout::takeAt(int index) {
    if (index < 0 || index >= count()) return nullptr;
    QLayoutItem* item = entries_[static_cast<std::size_t>(index)].item.release();
    entries_.erase(entries_.begin() + index);
    return item;
}

int AnchorLayout::count() const { return static_cast<int>(entries_.size()); }

QSize AnchorLayout::sizeHint() const { return designSize_; }

QSize AnchorLayout::minimumSize() const { return QSize(0, 0); }

void AnchorLayout::setGeometry(const QRect& rect) {
    QLayout::setGeometry(rect);
    // Bounds count from the parent's own top-left corner, not from inside a
    // group box's frame and title.
    const QRect area = parentWidget() ? parentWidget()->rect() : rect;
    std::vector<QRect> placed;
    placed.reserve(entries_.size());
    for (const Entry& e : entries_) {
        QRect r = place(e.bounds, e.anchors, designSize_, area.size()).translated(area.topLeft());
        if (QWidget* w = e.item->widget(); w && (e.anchors & AutoWidth)) {
            r.setWidth(w->sizeHint().width());
        }
        placed.push_back(r);
    }
    const int innerRight = parentWidget() ? parentWidget()->contentsRect().right() : rect.right();
    keepLabelsInside(placed, innerRight);
    for (std::size_t k = 0; k < entries_.size(); ++k) {
        // The bounds are exact: a widget item would stretch a 20-pixel button
        // to the style's minimum height.
        if (QWidget* w = entries_[k].item->widget()) {
            w->setGeometry(placed[k]);
        } else {
            entries_[k].item->setGeometry(placed[k]);
        }
    }
}

void AnchorLayout::keepLabelsInside(std::vector<QRect>& placed, int innerRight) const {
    std::vector<Bounds> bounds;
    std::vector<unsigned> anchors;
    for (std::size_t k = 0; k < entries_.size(); ++k) {
        bounds.push_back(boundsOf(placed[k]));
        anchors.push_back(entries_[k].anchors);
    }
    kivo::keepLabelsInside(bounds, anchors, innerRight);
    for (std::size_t k = 0; k < placed.size(); ++k) placed[k] = rectOf(bounds[k]);
}

}  // namespace kivo
