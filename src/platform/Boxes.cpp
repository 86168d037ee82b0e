#include "platform/Boxes.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>

namespace kivo {
namespace {

// A box centred on the screen rather than over whichever window is active.
// The toolkit settles a box's size only as it shows it (wrapping a long text
// then), so the place is worked out at that moment.
class CentredBox : public QMessageBox {
public:
    CentredBox(Icon icon, const QString& caption, const QString& text)
        : QMessageBox(icon, caption, text, NoButton, QApplication::activeWindow()) {
        setWindowModality(Qt::ApplicationModal);
        setTextFormat(Qt::PlainText);
    }

protected:
    void showEvent(QShowEvent* event) override {
        QMessageBox::showEvent(event);
        const QScreen* screen = this->screen();
        if (!screen) screen = QGuiApplication::primaryScreen();
        if (!screen) return;
        // The frame counts: moving a window places its frame's corner.
        QRect outer(QPoint(), frameGeometry().size());
        outer.moveCenter(screen->availableGeometry().center());
        move(outer.topLeft());
    }
};

// Shows a box with one "OK" that is both the default and the escape button.
void showOkBox(QMessageBox::Icon icon, const QString& caption, const QString& text) {
    CentredBox box(icon, caption, text);
    QPushButton* ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.setDefaultButton(ok);
    box.setEscapeButton(ok);
    box.exec();
}

}  // namespace

void QtBoxes::message(const QString& text) {
    showOkBox(QMessageBox::NoIcon, kApplicationTitle, text);
}

void QtBoxes::error(const QString& text) {
    showOkBox(QMessageBox::Critical, kApplicationTitle, text);
}

void QtBoxes::warning(const QString& text) {
    showOkBox(QMessageBox::Warning, QStringLiteral("警告"), text);
}

Boxes::Answer QtBoxes::confirm(const QString& text) {
    CentredBox box(QMessageBox::Question, QStringLiteral("確認"), text);
    QPushButton* yes = box.addButton(QStringLiteral("はい(&Y)"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("いいえ(&N)"), QMessageBox::NoRole);
    QPushButton* cancel = box.addButton(QStringLiteral("キャンセル"), QMessageBox::RejectRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(cancel);  // Esc and the close box
    box.exec();
    if (box.clickedButton() == yes) return Answer::Yes;
    if (box.clickedButton() == no) return Answer::No;
    return Answer::Cancel;
}

bool QtBoxes::askYesNo(const QString& caption, const QString& text) {
    CentredBox box(QMessageBox::Warning, caption, text);
    QPushButton* yes = box.addButton(QStringLiteral("はい(&Y)"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("いいえ(&N)"), QMessageBox::NoRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(no);  // Esc and the close box
    box.exec();
    return box.clickedButton() == yes;
}

UsualCursor::UsualCursor() : busy_(QGuiApplication::overrideCursor() != nullptr) {
    if (busy_) QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
}

UsualCursor::~UsualCursor() {
    if (busy_) QGuiApplication::restoreOverrideCursor();
}

namespace {

QString qt(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

BoxAnswer BoxesPort::confirm(const std::string& text) {
    const UsualCursor usual;
    switch (boxes_.confirm(qt(text))) {
        case Boxes::Answer::Yes:
            return BoxAnswer::Yes;
        case Boxes::Answer::No:
            return BoxAnswer::No;
        case Boxes::Answer::Cancel:
            break;
    }
    return BoxAnswer::Cancel;
}

void BoxesPort::warning(const std::string& text) {
    const UsualCursor usual;
    boxes_.warning(qt(text));
}

void BoxesPort::message(const std::string& text) {
    const UsualCursor usual;
    boxes_.message(qt(text));
}

void BoxesPort::error(const std::string& text) {
    const UsualCursor usual;
    boxes_.error(qt(text));
}

bool BoxesPort::askYesNo(const std::string& caption, const std::string& text) {
    const UsualCursor usual;
    return boxes_.askYesNo(qt(caption), qt(text));
}

}  // namespace kivo
