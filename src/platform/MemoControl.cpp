#include "platform/MemoControl.h"

#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QUrl>

#include "core/CodePage932.h"
#include "platform/Printing.h"

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

QString MemoControl::rawText() const {
    // The raw text keeps every character (toPlainText would turn no-break
    // spaces into blanks); only the block breaks change.
    QString text = document()->toRawText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    return text;
}

QStringList MemoControl::allLines() const {
    QStringList lines = rawText().split(QLatin1Char('\n'));
    lines.resize(count());
    return lines;
}

bool MemoControl::hasSelection() const { return textCursor().hasSelection(); }

QString MemoControl::selectedListText() const {
    // Line breaks inside a selection come as paragraph separators.
    QString text = textCursor().selectedText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    return text;
}

void MemoControl::replaceSelectionWithoutUndo(const QString& text) {
    QTextCursor cursor = textCursor();
    QTextDocument* doc = document();
    doc->setUndoRedoEnabled(false);
    cursor.insertText(text);
    doc->setUndoRedoEnabled(true);
    setTextCursor(cursor);
}

bool MemoControl::isEmpty() const { return document()->isEmpty(); }

bool MemoControl::canUndo() const { return document()->isUndoAvailable(); }

void MemoControl::printTo(QPrinter& printer) const { printDocument(*document(), printer); }

void MemoControl::clearList() {
    clear();
    setModified(false);
}

bool MemoControl::isModified() const { return document()->isModified(); }

void MemoControl::setModified(bool modified) { document()->setModified(modified); }

qsizetype MemoControl::length() const {
    // The document counts one paragraph separator more than the text holds.
    return document()->characterCount() - 1;
}

bool MemoControl::appendLine(const QString& line) {
    if (length() + line.size() + 1 > capacity_) return false;
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(withLineBreaks(line) + QLatin1Char('\n'));
    return true;
}

QString MemoControl::withLineBreaks(QString text) {
    // One character for another, so positions in the text stay valid.
    for (QChar& c : text) {
        if (c == u'\v' || c == u'\f' || c == QChar::LineSeparator ||
            c == QChar::ParagraphSeparator) {
            c = u'\n';
        }
    }
    return text;
}

void MemoControl::keyPressEvent(QKeyEvent* event) {
    if (!event->matches(QKeySequence::InsertLineSeparator)) {
        QPlainTextEdit::keyPressEvent(event);
        return;
    }
    QKeyEvent plain(event->type(), Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"),
                    event->isAutoRepeat(), static_cast<quint16>(event->count()));
    QPlainTextEdit::keyPressEvent(&plain);
    event->setAccepted(plain.isAccepted());
}

void MemoControl::insertFromMimeData(const QMimeData* source) {
    // A plain-text editor takes only the text of what is pasted or dropped.
    if (!source->hasText()) {
        QPlainTextEdit::insertFromMimeData(source);
        return;
    }
    QMimeData plain;
    plain.setText(withLineBreaks(source->text()));
    QPlainTextEdit::insertFromMimeData(&plain);
}

namespace {

QStringList localFilesOf(const QMimeData* data) {
    QStringList paths;
    if (!data || !data->hasUrls()) return paths;
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile()) paths << url.toLocalFile();
    }
    return paths;
}

// Files are taken where the window takes dropped files, with no drop caret:
// they never go into the text.
bool answeredAsFileDrag(QDragMoveEvent* event, bool windowTakesDrops) {
    if (localFilesOf(event->mimeData()).isEmpty()) return false;
    if (windowTakesDrops) {
        event->acceptProposedAction();
    } else {
        event->ignore();
    }
    return true;
}

}  // namespace

void MemoControl::dragEnterEvent(QDragEnterEvent* event) {
    if (!answeredAsFileDrag(event, window()->acceptDrops())) QPlainTextEdit::dragEnterEvent(event);
}

void MemoControl::dragMoveEvent(QDragMoveEvent* event) {
    if (!answeredAsFileDrag(event, window()->acceptDrops())) QPlainTextEdit::dragMoveEvent(event);
}

void MemoControl::dropEvent(QDropEvent* event) {
    const QStringList paths = localFilesOf(event->mimeData());
    if (paths.isEmpty()) {
        QPlainTextEdit::dropEvent(event);
        return;
    }
    if (!window()->acceptDrops()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    emit filesDropped(paths);
}

qsizetype MemoControl::appendLines(const QStringList& lines) {
    qsizetype room = capacity_ - length();
    qsizetype fitting = 0;
    qsizetype characters = 0;
    for (const QString& line : lines) {
        if (line.size() + 1 > room) break;
        room -= line.size() + 1;
        characters += line.size() + 1;
        ++fitting;
    }
    if (fitting == 0) return 0;
    QString text;
    text.reserve(characters);
    for (qsizetype i = 0; i < fitting; ++i) {
        text += withLineBreaks(lines[i]);
        text += QLatin1Char('\n');
    }
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(text);
    return fitting;
}

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

// What a character format sets beyond the control's own font and colour.
TextStyle styleOf(const QTextCharFormat& format) {
    TextStyle style;
    style.bold = format.hasProperty(QTextFormat::FontWeight) && format.fontWeight() >= QFont::Bold;
    style.italic = format.fontItalic();
    style.underline = format.fontUnderline();
    if (format.hasProperty(QTextFormat::ForegroundBrush)) {
        style.color = format.foreground().color().rgb() & 0xFFFFFF;
    }
    if (format.hasProperty(QTextFormat::FontPointSize)) {
        style.halfPoints = static_cast<int>(format.fontPointSize() * 2 + 0.5);
    }
    if (format.hasProperty(QTextFormat::FontFamilies)) {
        const QStringList families = format.fontFamilies().toStringList();
        if (!families.isEmpty()) style.fontFamily = families.first().toStdString();
    }
    return style;
}

}  // namespace

StyledText MemoControl::styledText() const {
    // A list that holds no formatting at all (the usual case) needs no walk
    // through its fragments.
    bool anyStyle = false;
    for (const QTextFormat& format : document()->allFormats()) {
        if (format.isCharFormat() && !styleOf(format.toCharFormat()).isPlain()) {
            anyStyle = true;
            break;
        }
    }
    if (!anyStyle) return {rawText().toStdString(), {}};

    StyledText out;
    out.text.reserve(static_cast<std::size_t>(document()->characterCount()) * 2);
    std::size_t units = 0;
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
        if (block != document()->begin()) {
            out.text.push_back('\n');
            if (!out.ranges.empty() &&
                out.ranges.back().start + out.ranges.back().length == units) {
                ++out.ranges.back().length;  // the break continues the stretch
            }
            ++units;
        }
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QString text = fragment.text();
            out.text += text.toStdString();
            const auto length = static_cast<std::size_t>(text.size());
            addStyledRange(out.ranges, units, length, styleOf(fragment.charFormat()));
            units += length;
        }
    }
    return out;
}

void MemoControl::setStyledText(const QString& loaded, const std::vector<StyledRange>& ranges) {
    const QString text = withLineBreaks(loaded);
    QTextDocument* doc = document();
    doc->setUndoRedoEnabled(false);
    if (ranges.empty()) {
        setPlainText(text);
    } else {
        // Inserting each stretch with its format costs no more than the
        // plain load; formatting afterwards would walk the text again.
        clear();
        QTextCursor cursor(doc);
        cursor.beginEditBlock();
        const QTextCharFormat plain = cursor.charFormat();
        std::size_t at = 0;
        const auto size = static_cast<std::size_t>(text.size());
        auto insert = [&](std::size_t from, std::size_t to, const QTextCharFormat& format) {
            from = std::min(from, size);
            to = std::min(to, size);
            if (from < to) {
                cursor.insertText(
                    text.mid(static_cast<qsizetype>(from), static_cast<qsizetype>(to - from)),
                    format);
            }
        };
        for (const StyledRange& range : ranges) {
            insert(at, range.start, plain);
            insert(std::max(at, range.start), range.start + range.length,
                   charFormatOf(range.style));
            at = std::max(at, range.start + range.length);
        }
        insert(at, size, plain);
        cursor.endEditBlock();
    }
    doc->setUndoRedoEnabled(true);
    doc->setModified(false);
    moveCursor(QTextCursor::Start);
}

}  // namespace kivo
