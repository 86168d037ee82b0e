#pragma once
// The word-list control: an editor built for large texts (QScintilla),
// configured as a plain list that may carry character formatting, with the
// list operations every command goes through. The count rule and the
// line-length rule live here and nowhere else.
#include <Qsci/qsciscintilla.h>

#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "commands/ListContract.h"
#include "core/ListReplacement.h"
#include "core/TextStyle.h"
#include "editor/ListEditor.h"
#include "editor/ScintillaList.h"

namespace kivo {

class MemoControl : public QsciScintilla, private ScintillaCalls {
    Q_OBJECT
public:
    explicit MemoControl(QWidget* parent = nullptr);
    ~MemoControl() override;

    // Lines of the list; a last line of length 0 is not an entry.
    int count() const;
    // Line i (0 <= i < count) without its line break, cut to kMaxLineBytes
    // bytes of code page 932 at a character boundary.
    QString line(int i) const;
    // Every line of the list, whole, without line breaks.
    QStringList allLines() const;
    // The entries in order (UTF-8), without a trailing empty line.
    std::vector<std::string> lines() const { return list_.lines(); }
    // Replaces the list with these lines, unformatted.
    void setLines(const std::vector<std::string>& lines) { setPlainUtf8(joinedLines(lines)); }
    // Removes all text and clears the modified mark.
    void clearList();

    bool isModified() const;
    void setModified(bool modified) override;

    // How many characters the list takes (see ListContract.h).
    std::size_t capacity() const { return capacity_; }
    void setCapacity(std::size_t characters) { capacity_ = characters; }
    // What a list costs the editor: its line index, and the memory a whole
    // list may take (its text, its formatting and its line index).
    ListCosts costs() const;
    // Characters (UTF-16 units) in the list, line breaks included.
    qsizetype length() const { return units_; }
    // Puts lines (UTF-8, each ended by "\n") at the end of the text, in one
    // insertion.
    void appendUtf8(std::string_view lines);
    // The list's new lines, taken into a document of their own on another
    // thread while more are read; at commit the list shows that document,
    // as after clearList and appendUtf8. Dropped uncommitted, it leaves the
    // list as it was; out of memory at commit, it empties it and throws
    // std::bad_alloc, as appendUtf8 does.
    std::unique_ptr<ListReplacement> replacement();
    // Replaces the whole text (UTF-8), unformatted, with nothing left to
    // undo.
    void setPlainUtf8(std::string_view text);
    // The text as UTF-8 with LF between lines, every character kept.
    std::string utf8Text() const;
    // The whole content with its formatting, for a save.
    StyledText styledText() const;
    // Replaces the whole content, formatting included. Not undoable, as a
    // freshly loaded document has nothing to undo. What the list may hold is
    // the commands' to judge before; an editor that runs out of memory
    // meanwhile throws std::bad_alloc with the list emptied.
    // The text is UTF-8, as the loader has it: no second copy of it.
    void setStyledUtf8(std::string_view text, const std::vector<StyledRange>& ranges);
    // The format shown at character `position` (UTF-16 units from the start).
    TextStyle styleAt(qsizetype position) const;
    // Distinct formats the text uses now, the plain one included.
    int stylesInUse() const;

    // The selection, for the commands that work on it. Its line breaks
    // read as "\n" and go back in as line breaks.
    bool hasSelection() const;
    std::string selectedListText() const;
    // Selects characters [from, to) (UTF-16 units); the caret ends at `to`.
    void selectRange(qsizetype from, qsizetype to);
    // The caret's place in characters (UTF-16 units) from the start.
    qsizetype caretPosition() const;
    void moveCaretToEnd();
    // Puts `text` in place of the selection. Not undoable, and it leaves
    // nothing behind to undo.
    void replaceSelectionWithoutUndo(std::string_view text);
    bool isEmpty() const;
    bool canUndo() const;

    // Tab moves the focus on rather than into the text.
    bool tabChangesFocus() const { return tabChangesFocus_; }
    void setTabChangesFocus(bool on) { tabChangesFocus_ = on; }
    // The list's font: every format without a font or size of its own
    // shows in it.
    void setFont(const QFont& font);

public slots:
    void cut() override;
    void copy() override;
    void paste() override;
    void selectAll(bool select = true) override;
    void undo() override;

protected:
    bool focusNextPrevChild(bool next) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    QByteArray fromMimeData(const QMimeData* source, bool& rectangular) const override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;
    // Files dragged onto the list are the window's to load, never text to
    // insert.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    long send(unsigned int message, unsigned long wParam = 0, long lParam = 0) const;
    void onModified(int position, int type, const char* text, int length);
    // Tells the window when the caret, the selection or the text moved.
    void noteSelection();
    // Runs a change the program makes to the text: not undoable, told once.
    // Throws std::bad_alloc, with the list emptied, when the editor ran out
    // of memory in it.
    void programChange(const std::function<void()>& change);
    void replaceAll(std::string_view text, const std::vector<StyledRange>& ranges);
    long bytePosition(qsizetype units) const;
    qsizetype unitPosition(long bytes) const;
    void applyBaseStyle();
    std::intptr_t call(unsigned message, std::uintptr_t wParam,
                       std::intptr_t lParam) const override;

    ScintillaList list_{*this};
    std::size_t capacity_ = kDefaultCapacity;
    qsizetype units_ = 0;  // UTF-16 units of the text
    bool tabChangesFocus_ = false;
    long lastAnchor_ = -1, lastCaret_ = -1;
    bool textMoved_ = false;
    int caretPeriod_ = 500;

signals:
    // The caret or the selection moved; the only change the window listens to.
    void selectionChange();
    // Local files were dropped on the list (their paths, in order).
    void filesDropped(const QStringList& paths);
    // A paste key was pressed in the list.
    void pasteRequested();
};

}  // namespace kivo
