#include "platform/MemoControl.h"

#include <QDropEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <algorithm>
#include <cmath>
#include <new>
#include <optional>

#include "commands/WindowRules.h"
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

MemoControl::MemoControl(QWidget* parent) : QsciScintilla(parent), styles_(*this) {
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
    // Each blink repaints the caret's line, and a line is drawn whole: on a
    // very long one the caret stands still, so an idle list stays idle.
    const long line = send(SCI_LINEFROMPOSITION, static_cast<unsigned long>(caret));
    const bool steady = send(SCI_LINELENGTH, static_cast<unsigned long>(line)) >
                        static_cast<long>(kSteadyCaretLine);
    send(SCI_SETCARETPERIOD, steady ? 0 : static_cast<unsigned long>(caretPeriod_));
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
    styles_.setBase({.font = base.family().toStdString(),
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

static_assert(EditorStyles::kDefaultStyle == QsciScintillaBase::STYLE_DEFAULT &&
              EditorStyles::kLastReservedStyle == QsciScintillaBase::STYLE_LASTPREDEFINED);
static_assert(QsciScintillaBase::SC_FONT_SIZE_MULTIPLIER == 100);

void MemoControl::defineStyle(int number, const StyleLook& look) {
    const auto n = static_cast<unsigned long>(number);
    SendScintilla(SCI_STYLESETFONT, n, look.font.c_str());
    send(SCI_STYLESETSIZEFRACTIONAL, n, look.hundredthsOfPoint);
    send(SCI_STYLESETWEIGHT, n, look.weight);
    send(SCI_STYLESETITALIC, n, look.italic);
    send(SCI_STYLESETUNDERLINE, n, look.underline);
    send(SCI_STYLESETFORE, n, static_cast<long>(look.fore));
    send(SCI_STYLESETBACK, n, static_cast<long>(look.back));
}

void MemoControl::resetStylesToDefault() { send(SCI_STYLECLEARALL); }

void MemoControl::setStyling(std::size_t from, std::size_t length, int style) {
    send(SCI_STARTSTYLING, static_cast<unsigned long>(from), 0);
    send(SCI_SETSTYLING, static_cast<unsigned long>(length), style);
}

int MemoControl::styleNumberAt(std::size_t position) const {
    return static_cast<int>(send(SCI_GETSTYLEAT, static_cast<unsigned long>(position)));
}

void MemoControl::styledBytes(std::size_t from, std::size_t to, char* out) const {
    SendScintilla(SCI_GETSTYLEDTEXT, static_cast<unsigned long>(from), static_cast<long>(to), out);
}

void MemoControl::setFont(const QFont& font) { QWidget::setFont(font); }

void MemoControl::changeEvent(QEvent* event) {
    QsciScintilla::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::PaletteChange) {
        applyBaseStyle();
    }
}

int MemoControl::count() const {
    const long lines = send(SCI_GETLINECOUNT);
    const auto last = static_cast<unsigned long>(lines - 1);
    const long lastLength = send(SCI_GETLINEENDPOSITION, last) - send(SCI_POSITIONFROMLINE, last);
    return static_cast<int>(
        listCount(static_cast<std::uint32_t>(lines), static_cast<std::size_t>(lastLength)));
}

QString MemoControl::line(int i) const {
    if (i < 0 || i >= send(SCI_GETLINECOUNT)) return {};
    const long start = send(SCI_POSITIONFROMLINE, static_cast<unsigned long>(i));
    const long end = send(SCI_GETLINEENDPOSITION, static_cast<unsigned long>(i));
    const long length = std::min<long>(end - start, static_cast<long>(kLineBytesRead));
    const auto* bytes = reinterpret_cast<const char*>(
        send(SCI_GETRANGEPOINTER, static_cast<unsigned long>(start), length));
    if (!bytes) return {};
    const std::string_view read =
        lineAsRead({bytes, static_cast<std::size_t>(length)}, length < end - start);
    return QString::fromUtf8(read.data(), static_cast<qsizetype>(read.size()));
}

std::string_view MemoControl::wholeText() const {
    const long length = send(SCI_GETLENGTH);
    const auto* bytes = reinterpret_cast<const char*>(send(SCI_GETRANGEPOINTER, 0, length));
    return bytes ? std::string_view(bytes, static_cast<std::size_t>(length)) : std::string_view();
}

QStringList MemoControl::allLines() const {
    const std::string_view text = wholeText();
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
    send(SCI_SETUNDOCOLLECTION, 0);
    SendScintilla(SCI_REPLACESEL, static_cast<unsigned long>(0), std::string(text).c_str());
    send(SCI_EMPTYUNDOBUFFER);
    send(SCI_SETUNDOCOLLECTION, 1);
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

bool MemoControl::isModified() const { return forcedModified_ || send(SCI_GETMODIFY) != 0; }

void MemoControl::setModified(bool modified) {
    forcedModified_ = modified;
    if (!modified) send(SCI_SETSAVEPOINT);
}

void MemoControl::programChange(const std::function<void()>& change) {
    // Text the program puts in is never the user's edit to undo. Nobody
    // hears of each piece either: the editor's accessibility notice counts
    // the characters up to every insertion, which made a load in pieces
    // quadratic. The list tells of the change once, at its end.
    send(SCI_SETUNDOCOLLECTION, 0);
    send(SCI_SETMODEVENTMASK, 0);
    struct Restore {
        MemoControl& memo;
        ~Restore() {
            memo.send(SCI_EMPTYUNDOBUFFER);
            memo.send(SCI_SETUNDOCOLLECTION, 1);
            memo.send(SCI_SETMODEVENTMASK, kListEvents);
            memo.textMoved_ = true;
        }
    } restore{*this};
    change();
    if (send(SCI_GETSTATUS) == SC_STATUS_BADALLOC) {
        // The editor catches its own allocation failures and only records
        // them; a list cut off part-way is no list, so none is kept.
        send(SCI_SETSTATUS, SC_STATUS_OK);
        send(SCI_CLEARALL);
        send(SCI_SETSTATUS, SC_STATUS_OK);
        styles_.reset();
        units_ = 0;
        emit textChanged();
        noteSelection();
        throw std::bad_alloc();
    }
}

void MemoControl::appendUtf8(std::string_view lines) {
    // Copied only when there is something to change.
    std::string changed;
    std::string_view text = lines;
    if (hasShownLineBreaks(lines)) {
        changed = breakLinesAsShown(lines);
        text = changed;
    }
    programChange([&] {
        // Room for it all at once, rather than the buffer growing step by
        // step under a large text.
        send(SCI_ALLOCATE, static_cast<unsigned long>(send(SCI_GETLENGTH)) + text.size() + 1);
        SendScintilla(SCI_APPENDTEXT, static_cast<unsigned long>(text.size()), text.data());
        units_ += static_cast<qsizetype>(utf16Length(text));
    });
    // Appended lines change the list as an edit would.
    forcedModified_ = true;
    emit textChanged();
    noteSelection();
}

void MemoControl::startDocument(bool styled) {
    // A list without formatting needs no style byte beside each byte of its
    // text; the editor keeps them only in a document made with them. A large
    // list is let go of whole rather than deleted line by line.
    const bool hasStyles = (send(SCI_GETDOCUMENTOPTIONS) & SC_DOCUMENTOPTION_STYLES_NONE) == 0;
    if (hasStyles == styled && send(SCI_GETLENGTH) < static_cast<long>(kFreshDocumentBytes)) {
        send(SCI_CLEARALL);
        return;
    }
    const long document = send(SCI_CREATEDOCUMENT, 0,
                               styled ? SC_DOCUMENTOPTION_DEFAULT : SC_DOCUMENTOPTION_STYLES_NONE);
    if (document == 0) throw std::bad_alloc();
    useDocument(document);
}

void MemoControl::useDocument(long document) {
    send(SCI_CLEARALL);  // the first document stays with the editor's wrapper
    send(SCI_SETDOCPOINTER, 0, document);
    send(SCI_RELEASEDOCUMENT, 0, document);
    // What belongs to a document rather than to the editor.
    send(SCI_SETCODEPAGE, SC_CP_UTF8);
    send(SCI_SETEOLMODE, SC_EOL_LF);
    send(SCI_SETUNDOCOLLECTION, 0);
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
                memo_.useDocument(done.document);
                memo_.styles_.reset();
                memo_.units_ = static_cast<qsizetype>(done.units);
            });
            // The lines change the list as appended lines do.
            memo_.forcedModified_ = true;
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

void MemoControl::replaceAll(std::string_view loaded, const std::vector<StyledRange>& ranges) {
    std::string normalized;
    std::string_view text = loaded;
    const auto units = static_cast<qsizetype>(utf16Length(text));
    if (hasShownLineBreaks(text)) {
        normalized = breakLinesAsShown(text);
        text = normalized;
    }

    programChange([&] {
        startDocument(!ranges.empty());
        styles_.reset();
        units_ = 0;
        send(SCI_ALLOCATE, static_cast<unsigned long>(text.size() + 1));
        SendScintilla(SCI_APPENDTEXT, static_cast<unsigned long>(text.size()), text.data());
        if (send(SCI_GETSTATUS) == SC_STATUS_BADALLOC) return;
        units_ = units;
        styles_.apply(text, ranges);
    });
    emit textChanged();
    // At the top, caret first; no scrolling to the caret, which would lay
    // out the first line before it is shown.
    send(SCI_SETFIRSTVISIBLELINE, 0);
    send(SCI_SETXOFFSET, 0);
    noteSelection();
}

void MemoControl::setPlainUtf8(std::string_view text) { replaceAll(text, {}); }

void MemoControl::setStyledUtf8(std::string_view text, const std::vector<StyledRange>& ranges) {
    replaceAll(text, ranges);
    setModified(false);
}

StyledText MemoControl::styledText() const {
    const std::string_view text = wholeText();
    return {std::string(text), styles_.ranges(send(SCI_GETLENGTH))};
}

TextStyle MemoControl::styleAt(qsizetype position) const {
    return styles_.styleAt(bytePosition(position));
}

int MemoControl::stylesInUse() const { return styles_.inUse(send(SCI_GETLENGTH)); }

std::string MemoControl::utf8Text() const { return std::string(wholeText()); }

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
