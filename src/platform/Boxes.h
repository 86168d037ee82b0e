#pragma once
// The modal boxes of the program behind one interface, so that tests can
// answer them with a script instead of a person.
#include <QString>

#include "commands/Ports.h"
#include "core/Titles.h"

class QWidget;

namespace kivo {

// The name the program goes by towards the desktop, and the caption of the
// plain message box and of the error box.
inline const QString kApplicationTitle = QString::fromUtf8(kApplicationTitleText);

class Boxes {
public:
    virtual ~Boxes() = default;
    // Plain message box: title caption, no icon, one "OK" (Enter and Esc).
    virtual void message(const QString& text) = 0;
    // Error box: title caption, stop icon, one OK.
    virtual void error(const QString& text) = 0;
    // Warning box: caption "警告", exclamation icon, one "OK".
    virtual void warning(const QString& text) = 0;

    enum class Answer { Yes, No, Cancel };
    // Confirmation box: caption "確認", question icon, "はい(&Y)" (default),
    // "いいえ(&N)", "キャンセル" (also Esc and the close box).
    virtual Answer confirm(const QString& text) = 0;

    // Yes/no question: the given caption, exclamation icon, "はい(&Y)" (the
    // default) and "いいえ(&N)" (also Esc); true for Yes.
    virtual bool askYesNo(const QString& caption, const QString& text) = 0;
};

// The real boxes, shown modally over the application.
class QtBoxes : public Boxes {
public:
    void message(const QString& text) override;
    void error(const QString& text) override;
    void warning(const QString& text) override;
    Answer confirm(const QString& text) override;
    bool askYesNo(const QString& caption, const QString& text) override;
};

// The boxes as the commands ask for them, in UTF-8. A box shown in the
// middle of long work answers to the usual cursor, not the wait cursor over
// the rest of the program.
class BoxesPort : public BoxPort {
public:
    explicit BoxesPort(Boxes& boxes) : boxes_(boxes) {}
    BoxAnswer confirm(const std::string& text) override;
    void warning(const std::string& text) override;
    void message(const std::string& text) override;
    void error(const std::string& text) override;
    bool askYesNo(const std::string& caption, const std::string& text) override;

private:
    Boxes& boxes_;
};

// The usual cursor for as long as it lives, where the wait cursor shows.
class UsualCursor {
public:
    UsualCursor();
    UsualCursor(const UsualCursor&) = delete;
    UsualCursor& operator=(const UsualCursor&) = delete;
    ~UsualCursor();

private:
    bool busy_;
};

}  // namespace kivo
