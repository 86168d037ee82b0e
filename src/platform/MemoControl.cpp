#include "platform/MemoControl.h"

#include <QDropEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <algorithm>
#include <cmath>
#include <new>
#include <optional>

#include "commands/ListContract.h"
#include "core/Errors.h"
#include "core/Utf8.h"
#include "editor/ListEditor.h"
#include "platform/BackgroundDocument.h"
#include "platform/FileDrops.h"

namespace kivo {
namespace {

// Only insertions and deletions concern the list.
constexpr long kListEvents = QsciScintillaBase::SC_MOD_INSERTTEXT |
                             QsciScintillaBase::SC_MOD_DELETETEXT |
                             QsciScintillaBase::SC_MOD_BEFOREDELETE;

bool isLineSeparator(QChar c) { return isShownLineBreak(c.unicode()); }

// Typed or dropped text with its separators as line breaks. Detached only
// when there is something to change; one character for another, so
// positions in the text stay valid.
QString withLineBreaks(QString text) {
    const QString& view = text;
    if (std::none_of(view.begin(), view.end(), isLineSeparator)) return text;
    breakLinesAsShown(
        std::span(reinterpret_cast<char16_t*>(text.data()), static_cast<std::size_t>(text.size())),
        u'\n');
    return text;
}

}  // namespace

MemoControl::MemoControl(QWidget* parent) : QsciScintilla(parent) {
    setUtf8(true);
    // A plain list: no margins, no folding, no wrap, no indentation help.
    for (int margin = 0; margin < 5; ++margin) setMarginWidth(margin, 0);
    send(SCI_SETMARGINLEFT, 0, 4);
    send(SCI_SETMARGINRIGHT, 0, 4);
    setFolding(NoFoldStyle);
    setWrapMode(WrapNone);
    setAutoIndent(false);
    setBraceMatching(NoBraceMatch);
    setEolMode(EolUnix);
    // Nor annotations, whose heights the editor would otherwise measure line
    // by line for every document it takes.
    send(SCI_ANNOTATIONSETVISIBLE, ANNOTATION_HIDDEN);
    // Both scroll bars as the text needs them: the horizontal one follows
    // the widest line drawn so far.
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    send(SCI_SETSCROLLWIDTH, 1);
    send(SCI_SETSCROLLWIDTHTRACKING, 1);
    // Formatting changes need no word to anyone.
    send(SCI_SETMODEVENTMASK, kListEvents);
    connect(this, &QsciScintillaBase::SCN_MODIFIED, this,
            [this](int position, int type, const char* text, int length, int, int, int, int, int,
                   int) { onModified(position, type, text, length); });
    connect(this, &QsciScintillaBase::SCN_UPDATEUI, this, [this](int) { noteSelection(); });
    caretPeriod_ = static_cast<int>(send(SCI_GETCARETPERIOD));
    applyBaseStyle();
}

MemoControl::~MemoControl() = default;

long MemoControl::send(unsigned int message, unsigned long wParam, long lParam) const {
    return SendScintilla(message, wParam, lParam);
}

std::intptr_t MemoControl::call(unsigned message, std::uintptr_t wParam,
                                std::intptr_t lParam) const {
    return SendScintilla(message, static_cast<unsigned long>(wParam), static_cast<long>(lParam));
}

void MemoControl::onModified(int position, int type, const char* text, int length) {
    if ((type & SC_MOD_INSERTTEXT) && text) {
        units_ += static_cast<qsizetype>(utf16Length({text, static_cast<std::size_t>(length)}));
        textMoved_ = true;
    }
    if (type & SC_MOD_BEFOREDELETE) {
        units_ -=
            length == send(SCI_GETLENGTH)
                ? units_
                : send(SCI_COUNTCODEUNITS, static_cast<unsigned long>(position), position + length);
        textMoved_ = true;
    }
}

void MemoControl::noteSelection() {
    const long anchor = send(SCI_GETANCHOR);
    const long caret = send(SCI_GETCURRENTPOS);
    if (anchor == lastAnchor_ && caret == lastCaret_ && !textMoved_) return;
    lastAnchor_ = anchor;
    lastCaret_ = caret;
    textMoved_ = false;
    list_.settleCaret(caretPeriod_);
    emit selectionChange();
}

namespace {

std::uint32_t editorColour(const QColor& colour) {
    return static_cast<std::uint32_t>(colour.red() | colour.green() << 8 | colour.blue() << 16);
}

}  // namespace

void MemoControl::applyBaseStyle() {
    const QFont base = font();
    // The editor takes sizes in points; the list's font may be given in
    // pixels of the screen it shows on.
    const int dpi = logicalDpiY() > 0 ? logicalDpiY() : 96;
    const double points = base.pointSizeF() > 0 ? base.pointSizeF() : base.pixelSize() * 72.0 / dpi;
    list_.styles().setBase({.font = base.family().toStdString(),
                            .hundredthsOfPoint = static_cast<int>(std::lround(points * 100)),
                            .weight = base.weight(),
                            .italic = base.italic(),
                            .underline = base.underline(),
                            .fore = editorColour(palette().color(QPalette::Text)),
                            .back = editorColour(palette().color(QPalette::Base))});
    setCaretForegroundColor(palette().color(QPalette::Text));
    setSelectionBackgroundColor(palette().color(QPalette::Highlight));
    setSelectionForegroundColor(palette().color(QPalette::HighlightedText));
}

void MemoControl::setFont(const QFont& font) { QWidget::setFont(font); }

void MemoControl::changeEvent(QEvent* event) {
    QsciScintilla::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::PaletteChange) {
        applyBaseStyle();
    }
}

int MemoControl::count() const { return static_cast<int>(list_.count()); }

QString MemoControl::line(int i) const {
    if (i < 0) return {};
    const std::string_view read = list_.line(static_cast<std::uint32_t>(i));
    return QString::fromUtf8(read.data(), static_cast<qsizetype>(read.size()));
}

QStringList MemoControl::allLines() const {
    const std::string_view text = list_.text();
    QStringList lines = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()))
                            .split(QLatin1Char('\n'));
    lines.resize(count());
    return lines;
}

bool MemoControl::hasSelection() const { return send(SCI_GETSELECTIONEMPTY) == 0; }

std::string MemoControl::selectedListText() const { return selectedText().toStdString(); }

long MemoControl::bytePosition(qsizetype units) const {
    return send(SCI_POSITIONRELATIVECODEUNITS, 0, static_cast<long>(units));
}

qsizetype MemoControl::unitPosition(long bytes) const { return send(SCI_COUNTCODEUNITS, 0, bytes); }

void MemoControl::selectRange(qsizetype from, qsizetype to) {
    send(SCI_SETSEL, static_cast<unsigned long>(bytePosition(from)), bytePosition(to));
    noteSelection();
}

qsizetype MemoControl::caretPosition() const { return unitPosition(send(SCI_GETCURRENTPOS)); }

void MemoControl::moveCaretToEnd() {
    send(SCI_DOCUMENTEND);
    noteSelection();
}

void MemoControl::replaceSelectionWithoutUndo(std::string_view text) {
    list_.replaceSelection(std::string(text));
    noteSelection();
}

bool MemoControl::isEmpty() const { return send(SCI_GETLENGTH) == 0; }

bool MemoControl::canUndo() const { return send(SCI_CANUNDO) != 0; }

void MemoControl::cut() {
    QsciScintilla::cut();
    noteSelection();
}

void MemoControl::copy() { QsciScintilla::copy(); }

void MemoControl::paste() {
    QsciScintilla::paste();
    noteSelection();
}

void MemoControl::selectAll(bool select) {
    QsciScintilla::selectAll(select);
    noteSelection();
}

void MemoControl::undo() {
    QsciScintilla::undo();
    noteSelection();
}

void MemoControl::clearList() {
    replaceAll({}, {});
    setModified(false);
}

bool MemoControl::isModified() const { return list_.isModified(); }

void MemoControl::setModified(bool modified) { list_.setModified(modified); }

void MemoControl::programChange(const std::function<void()>& change) {
    // Text the program puts in is never the user's edit to undo, and the
    // list tells of the change once, at its end.
    try {
        list_.programChange(change);
    } catch (const std::bad_alloc&) {
        units_ = 0;
        textMoved_ = true;
        emit textChanged();
        noteSelection();
        throw;
    }
    textMoved_ = true;
}

void MemoControl::appendUtf8(std::string_view lines) {
    const auto units = static_cast<qsizetype>(utf16Length(lines));
    try {
        list_.append(lines);
    } catch (const std::bad_alloc&) {
        units_ = 0;
        emit textChanged();
        noteSelection();
        throw;
    }
    units_ += units;
    emit textChanged();
    noteSelection();
}

std::unique_ptr<ListReplacement> MemoControl::replacement() {
    class Replacement : public ListReplacement {
    public:
        explicit Replacement(MemoControl& memo) : memo_(memo) {}
        void add(std::string lines) override {
            if (lines.empty()) return;
            if (!document_) {
                document_.emplace(
                    memo_.send(SCI_CREATELOADER, lines.size(), SC_DOCUMENTOPTION_STYLES_NONE));
            }
            document_->add(std::move(lines));
        }
        void commit() override {
            if (!document_) {
                memo_.clearList();
                return;
            }
            BackgroundDocument::Finished done{};
            try {
                done = document_->finish();
            } catch (const std::bad_alloc&) {
                // As appendUtf8 leaves it, and the list a control without
                // this road clears before appending: empty.
                memo_.clearList();
                throw;
            }
            memo_.programChange([&] {
                memo_.list_.useDocument(done.document);
                memo_.list_.styles().reset();
                memo_.units_ = static_cast<qsizetype>(done.units);
            });
            // The lines change the list as appended lines do.
            memo_.list_.setModified(true);
            emit memo_.textChanged();
            memo_.noteSelection();
        }

    private:
        MemoControl& memo_;
        std::optional<BackgroundDocument> document_;
    };
    return std::make_unique<Replacement>(*this);
}

ListCosts MemoControl::costs() const { return kEditorCosts; }

void MemoControl::replaceAll(std::string_view text, const std::vector<StyledRange>& ranges) {
    const auto units = static_cast<qsizetype>(utf16Length(text));
    units_ = 0;
    try {
        list_.replaceAll(text, ranges);
    } catch (const std::bad_alloc&) {
        emit textChanged();
        noteSelection();
        throw;
    }
    units_ = units;
    textMoved_ = true;
    emit textChanged();
    noteSelection();
}

void MemoControl::setPlainUtf8(std::string_view text) { replaceAll(text, {}); }

void MemoControl::setStyledUtf8(std::string_view text, const std::vector<StyledRange>& ranges) {
    replaceAll(text, ranges);
    setModified(false);
}

StyledText MemoControl::styledText() const { return list_.styledText(); }

TextStyle MemoControl::styleAt(qsizetype position) const {
    return list_.styles().styleAt(static_cast<std::size_t>(bytePosition(position)));
}

int MemoControl::stylesInUse() const {
    return list_.styles().inUse(static_cast<std::size_t>(send(SCI_GETLENGTH)));
}

std::string MemoControl::utf8Text() const { return std::string(list_.text()); }

bool MemoControl::focusNextPrevChild(bool next) {
    if (tabChangesFocus_) return QWidget::focusNextPrevChild(next);
    return QsciScintilla::focusNextPrevChild(next);
}

void MemoControl::keyPressEvent(QKeyEvent* event) {
    // The paste keys run the window's paste, which judges what comes in.
    if (event->matches(QKeySequence::Paste)) {
        event->accept();
        emit pasteRequested();
        return;
    }
    QsciScintilla::keyPressEvent(event);
    noteSelection();
}

void MemoControl::inputMethodEvent(QInputMethodEvent* event) {
    const QString commit = withLineBreaks(event->commitString());
    if (commit != event->commitString()) {
        QInputMethodEvent plain(event->preeditString(), event->attributes());
        plain.setCommitString(commit, event->replacementStart(), event->replacementLength());
        QsciScintilla::inputMethodEvent(&plain);
    } else {
        QsciScintilla::inputMethodEvent(event);
    }
    noteSelection();
}

QByteArray MemoControl::fromMimeData(const QMimeData* source, bool& rectangular) const {
    // A plain list takes only the text of what is pasted or dropped, its
    // separators as line breaks.
    const QByteArray text = QsciScintilla::fromMimeData(source, rectangular);
    return withLineBreaks(QString::fromUtf8(text)).toUtf8();
}

void MemoControl::mousePressEvent(QMouseEvent* event) {
    QsciScintilla::mousePressEvent(event);
    noteSelection();
}

void MemoControl::mouseReleaseEvent(QMouseEvent* event) {
    QsciScintilla::mouseReleaseEvent(event);
    noteSelection();
}

void MemoControl::mouseMoveEvent(QMouseEvent* event) {
    QsciScintilla::mouseMoveEvent(event);
    noteSelection();
}

void MemoControl::dragEnterEvent(QDragEnterEvent* event) {
    if (!answeredAsFileDrag(event, window()->acceptDrops())) QsciScintilla::dragEnterEvent(event);
}

void MemoControl::dragMoveEvent(QDragMoveEvent* event) {
    if (!answeredAsFileDrag(event, window()->acceptDrops())) QsciScintilla::dragMoveEvent(event);
}

void MemoControl::dropEvent(QDropEvent* event) {
    const QStringList paths = localFilesOf(event->mimeData());
    if (paths.isEmpty()) {
        QsciScintilla::dropEvent(event);
        noteSelection();
        return;
    }
    if (!window()->acceptDrops()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    emit filesDropped(paths);
}

}  // namespace kivo
