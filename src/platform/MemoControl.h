#pragma once
// The word-list control: a plain-text editor that may carry character
// formatting, with the list operations every command goes through. The count
// rule and the line-length rule live here and nowhere else.
#include <QPlainTextEdit>
#include <vector>

class QPrinter;

#include "core/TextStyle.h"

namespace kivo {

class MemoControl : public QPlainTextEdit {
    Q_OBJECT
public:
    // A line is read as at most this many bytes of its code page 932 form.
    static constexpr std::size_t kMaxLineBytes = 4096;
    // Characters the list takes before the first whole-file load, and after.
    static constexpr qsizetype kDefaultCapacity = 16 * 1024 * 1024;
    static constexpr qsizetype kRaisedCapacity = 0x7FFFFFF0;

    explicit MemoControl(QWidget* parent = nullptr);

    // Lines of the list; a last line of length 0 is not an entry.
    int count() const;
    // Line i (0 <= i < count) without its line break, cut to kMaxLineBytes
    // bytes of code page 932 at a character boundary.
    QString line(int i) const;
    // Every line of the list, whole, without line breaks.
    QStringList allLines() const;
    // Removes all text and clears the modified mark.
    void clearList();

    bool isModified() const;
    void setModified(bool modified);

    // How many characters the list takes; appends beyond it are refused.
    qsizetype capacity() const { return capacity_; }
    void setCapacity(qsizetype characters) { capacity_ = characters; }
    // Characters in the list, line breaks included.
    qsizetype length() const;
    // Puts the line and a line break at the end of the text; false, with
    // nothing changed, when that would go beyond the capacity.
    bool appendLine(const QString& line);
    // Appends lines in order, as appendLine would one by one, until one
    // does not fit; returns how many it added. One insertion for them all.
    qsizetype appendLines(const QStringList& lines);
    // The text with LF between lines, every character kept.
    QString rawText() const;
    // While on, a save writes plain text rather than RTF.
    bool plainTextMode() const { return plainTextMode_; }
    void setPlainTextMode(bool on) { plainTextMode_ = on; }
    // The whole content with its formatting, for a save.
    StyledText styledText() const;
    // Replaces the whole content, formatting included. Not undoable, as a
    // freshly loaded document has nothing to undo.
    void setStyledText(const QString& text, const std::vector<StyledRange>& ranges);

    // The text with vertical tabs, form feeds, U+2028 and U+2029 turned into
    // line breaks. The editor would show each as a new line inside one
    // entry; the list holds one entry per line it shows.
    static QString withLineBreaks(QString text);

    // The selection, for the commands that work on it. Its line breaks
    // read as "\n" and go back in as line breaks.
    bool hasSelection() const;
    QString selectedListText() const;
    // Puts `text` in place of the selection. Not undoable, and it leaves
    // nothing behind to undo.
    void replaceSelectionWithoutUndo(const QString& text);
    bool isEmpty() const;
    bool canUndo() const;

    // Prints the whole list, formats included, as one job on `printer`.
    void printTo(QPrinter& printer) const;

protected:
    // Shift+Return ends the line as Return does, rather than inserting U+2028.
    void keyPressEvent(QKeyEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;
    // Files dragged onto the list are the window's to load, never text to
    // insert.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    qsizetype capacity_ = kDefaultCapacity;
    bool plainTextMode_ = false;

signals:
    // The caret or the selection moved; the only change the window listens to.
    void selectionChange();
    // Local files were dropped on the list (their paths, in order).
    void filesDropped(const QStringList& paths);
};

}  // namespace kivo
