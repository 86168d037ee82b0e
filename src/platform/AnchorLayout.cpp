#include "platform/AnchorLayout.h"

#include <QWidget>
#include <QWidgetItem>
#include <algorithm>

namespace kivo {
namespace {

// One axis: an edge anchored on both sides stretches, one anchored on the
// far side moves with it, one anchored on neither keeps its centre in
// proportion, as the original form designer does.
void placeAxis(int& pos, int& len, bool nearEdge, bool farEdge, int designExtent,
               int actualExtent) {
    const int grow = actualExtent - designExtent;
    if (nearEdge && farEdge) {
        len = std::max(0, len + grow);
    } else if (farEdge) {
        pos += grow;
    } else if (!nearEdge && designExtent > 0) {
        const int centre = pos + len / 2;
        pos = centre * actualExtent / designExtent - len / 2;
    }
}

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

QRect AnchorLayout::place(QRect bounds, unsigned anchors, QSize designSize, QSize actualSize) {
    int x = bounds.x(), w = bounds.width(), y = bounds.y(), h = bounds.height();
    placeAxis(x, w, anchors & AnchorLeft, anchors & AnchorRight, designSize.width(),
              actualSize.width());
    placeAxis(y, h, anchors & AnchorTop, anchors & AnchorBottom, designSize.height(),
              actualSize.height());
    return QRect(x, y, w, h);
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
    // A label that grows past the right edge (a long count) moves left to end
    // inside it, and pushes the labels before it on its row along rather than
    // covering them; no text is cut.
    constexpr int kGap = 1;
    std::vector<std::size_t> labels;
    for (std::size_t k = 0; k < entries_.size(); ++k) {
        if (entries_[k].anchors & AutoWidth) labels.push_back(k);
    }
    std::sort(labels.begin(), labels.end(), [&](std::size_t a, std::size_t b) {
        if (placed[a].top() != placed[b].top()) return placed[a].top() < placed[b].top();
        return placed[a].left() > placed[b].left();
    });
    int limit = innerRight;
    for (std::size_t i = 0; i < labels.size(); ++i) {
        QRect& r = placed[labels[i]];
        if (i > 0 && r.top() != placed[labels[i - 1]].top()) limit = innerRight;
        if (r.right() > limit) r.moveRight(std::max(limit, r.width() - 1));
        limit = r.left() - kGap;
    }
}

}  // namespace kivo
