#pragma once
// The modal boxes of the program behind one interface, so that tests can
// answer them with a script instead of a person.
#include <QString>

class QWidget;

namespace kivo {

// The name the program goes by towards the desktop, and the caption of the
// plain message box and of the error box.
inline const QString kApplicationTitle = QStringLiteral("Kivo version 1.33");

class Boxes {
public:
    virtual ~Boxes() = default;
    // Plain message box: title caption, no icon, one "OK" (Enter and Esc).
    virtual void message(const QString& text) = 0;
    // Error box: title caption, stop icon, one OK.
    virtual void error(const QString& text) = 0;
};

// The real boxes, shown modally over the application.
class QtBoxes : public Boxes {
public:
    void message(const QString& text) override;
    void error(const QString& text) override;
};

}  // namespace kivo
