#include "MemoControl.h"

#include <QTextBlock>

#include "CodePage932.h"

namespace kivo {

MemoControl::MemoControl(QWidget* parent) : QPlainTextEdit(parent) {
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setWordWrapMode(QTextOption::NoWrap);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    connect(this, &QPlainTextEdit::cursorPositionChanged, this, &MemoControl::selectionChange);
    connect(this, &QPlainTextEdit::selectionChanged, this, &MemoControl::selectionChange);
}

int MemoControl::count() const {
    const QTextDocument* doc = document();
    const int blocks = doc->blockCount();
    // The document always holds at least one (possibly empty) block.
    return doc->lastBlock().length() <= 1 ? blocks - 1 : blocks;
}

QString MemoControl::line(int i) const {
    const QTextBlock block = document()->findBlockByNumber(i);
    if (!block.isValid()) return {};
    const QString text = block.text();
    const std::u16string_view units(reinterpret_cast<const char16_t*>(text.utf16()),
                                    static_cast<std::size_t>(text.size()));
    const std::size_t keep = cp932::fittingPrefix(units, kMaxLineBytes);
    return keep == units.size() ? text : text.left(static_cast<qsizetype>(keep));
}

void MemoControl::clearList() {
    clear();
    setModified(false);
}

bool MemoControl::isModified() const { return document()->isModified(); }

void MemoControl::setModified(bool modified) { document()->setModified(modified); }

}  // namespace kivo
