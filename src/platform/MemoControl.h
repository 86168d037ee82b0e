#pragma once
// The word-list control: a plain-text editor that may carry character
// formatting, with the list operations every command goes through. The count
// rule and the line-length rule live here and nowhere else.
#include <QPlainTextEdit>

namespace kivo {

class MemoControl : public QPlainTextEdit {
    Q_OBJECT
public:
    // A line is read as at most this many bytes of its code page 932 form.
    static constexpr std::size_t kMaxLineBytes = 4096;

    explicit MemoControl(QWidget* parent = nullptr);

    // Lines of the list; a last line of length 0 is not an entry.
    int count() const;
    // Line i (0 <= i < count) without its line break, cut to kMaxLineBytes
    // bytes of code page 932 at a character boundary.
    QString line(int i) const;
    // Removes all text and clears the modified mark.
    void clearList();

    bool isModified() const;
    void setModified(bool modified);

signals:
    // The caret or the selection moved; the only change the window listens to.
    void selectionChange();
};

}  // namespace kivo
