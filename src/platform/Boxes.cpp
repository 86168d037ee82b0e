#include "Boxes.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>

namespace kivo {
namespace {

// Shows a box with one "OK" that is both the default and the escape button,
// centred on the screen rather than over whichever window is active.
void showOkBox(QMessageBox::Icon icon, const QString& text) {
    QMessageBox box(icon, kApplicationTitle, text, QMessageBox::NoButton,
                    QApplication::activeWindow());
    box.setObjectName(icon == QMessageBox::Critical ? QStringLiteral("errorBox")
                                                    : QStringLiteral("messageBox"));
    box.setTextFormat(Qt::PlainText);
    QPushButton* ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.setDefaultButton(ok);
    box.setEscapeButton(ok);
    box.setWindowModality(Qt::ApplicationModal);
    box.adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = box.frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        box.move(frame.topLeft());
    }
    box.exec();
}

}  // namespace

void QtBoxes::message(const QString& text) { showOkBox(QMessageBox::NoIcon, text); }

void QtBoxes::error(const QString& text) { showOkBox(QMessageBox::Critical, text); }

}  // namespace kivo
