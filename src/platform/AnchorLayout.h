#pragma once
// Places child widgets at fixed design bounds and keeps chosen edges at their
// distance to the parent's edges when the parent is resized, the way the
// window's layout table describes it.
#include <QLayout>
#include <QRect>
#include <QSize>
#include <memory>
#include <vector>

#include "commands/WindowLayout.h"

namespace kivo {

// The anchors (AnchorLeft ... AutoWidth) are the layout table's own.

class AnchorLayout : public QLayout {
public:
    // designSize: the parent's size for which the bounds were laid out.
    AnchorLayout(QWidget* parent, QSize designSize);
    ~AnchorLayout() override;

    void addWidget(QWidget* widget, QRect bounds, unsigned anchors);
    // Lays out again for another design: the parent's design size, and the
    // design bounds of a widget already added.
    void setDesignSize(QSize designSize);
    void setBounds(QWidget* widget, QRect bounds);

    // Where a control with these design bounds and anchors goes in a parent
    // of the given size.
    static QRect place(QRect bounds, unsigned anchors, QSize designSize, QSize actualSize);

    void addItem(QLayoutItem* item) override;
    QLayoutItem* itemAt(int index) const override;
    QLayoutItem* takeAt(int index) override;
    int count() const override;
    QSize sizeHint() const override;
    QSize minimumSize() const override;
    void setGeometry(const QRect& rect) override;

private:
    void keepLabelsInside(std::vector<QRect>& placed, int innerRight) const;

    struct Entry {
        std::unique_ptr<QLayoutItem> item;
        QRect bounds;
        unsigned anchors;
    };
    QSize designSize_;
    std::vector<Entry> entries_;
};

}  // namespace kivo
