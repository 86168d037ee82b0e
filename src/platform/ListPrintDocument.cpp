#include "platform/ListPrintDocument.h"

#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>
#include <memory>

#include "platform/MemoControl.h"

namespace kivo {
namespace {

QTextCharFormat charFormatOf(const TextStyle& style) {
    QTextCharFormat format;
    if (style.bold) format.setFontWeight(QFont::Bold);
    if (style.italic) format.setFontItalic(true);
    if (style.underline) format.setFontUnderline(true);
    if (style.color) format.setForeground(QColor::fromRgb(static_cast<QRgb>(*style.color)));
    if (style.halfPoints > 0) format.setFontPointSize(style.halfPoints / 2.0);
    if (!style.fontFamily.empty()) {
        format.setFontFamilies({QString::fromStdString(style.fontFamily)});
    }
    return format;
}

// The list's text in `font`, each formatted stretch in its own format.
std::unique_ptr<QTextDocument> listDocument(const StyledText& list, const QFont& font) {
    auto doc = std::make_unique<QTextDocument>();
    doc->setDefaultFont(font);
    QTextCursor cursor(doc.get());
    const QString text = QString::fromStdString(list.text);
    const auto size = static_cast<std::size_t>(text.size());
    std::size_t at = 0;
    const auto insert = [&](std::size_t from, std::size_t to, const QTextCharFormat& format) {
        from = std::min(from, size);
        to = std::min(to, size);
        if (from < to) {
            cursor.insertText(
                text.mid(static_cast<qsizetype>(from), static_cast<qsizetype>(to - from)), format);
        }
    };
    const QTextCharFormat plain;
    for (const StyledRange& range : list.ranges) {
        insert(at, range.start, plain);
        const std::size_t start = range.start;
        const std::size_t end = start + range.length;
        insert(std::max(at, start), end, charFormatOf(range.style));
        at = std::max(at, end);
    }
    insert(at, size, plain);
    return doc;
}

}  // namespace

void printStyledList(const StyledText& list, const QFont& font, QPrinter& printer) {
    printDocument(*listDocument(list, font), printer);
}

bool ListPrintPort::setUpPrinter() { return printer_->setUp(&mainWindow_); }

void ListPrintPort::printList() {
    printStyledList(list_.styledText(), list_.font(), printer_->printer());
}

}  // namespace kivo
