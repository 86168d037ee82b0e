#include "about/Auxiliaries.h"

#include "about/HelpDocument.h"

namespace kivo {

Auxiliaries::Auxiliaries(Boxes& boxes, QWidget& mainWindow)
    : mainWindow_(mainWindow), qtHelp_(boxes) {}

void Auxiliaries::showHelpContents() { kivo::showHelpContents(mainWindow_, *help_); }

void Auxiliaries::openUrl(const std::string& url) {
    urls_->open(QUrl(QString::fromStdString(url)));
}

void Auxiliaries::lowerTopMost() { topMost_.lower(&mainWindow_); }

void Auxiliaries::raiseTopMost() { topMost_.raise(); }

}  // namespace kivo
