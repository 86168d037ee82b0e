#include "TFormAbout.h"

#include <QLabel>

namespace kivo {

TFormAbout::TFormAbout(const QString& versionText, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      FVersionText(versionText) {
    setObjectName(QStringLiteral("FormAbout"));
    // It must never keep the program alive once the main window has closed.
    setAttribute(Qt::WA_QuitOnClose, false);
    setFixedSize(246, 104);
    setBackgroundRole(QPalette::Button);
    setAutoFillBackground(true);
    Label2 = new QLabel(FVersionText, this);
    Label2->setObjectName(QStringLiteral("Label2"));
}

}  // namespace kivo
