#include "about/AuxiliaryCommands.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <QUrl>

#include "platform/Boxes.h"
#include "platform/HelpEngine.h"
#include "platform/HelpFile.h"
#include "platform/Printing.h"
#include "platform/TopMostWindows.h"
#include "platform/UrlOpener.h"

namespace kivo {
namespace {

// Lowers the top-most windows for as long as it lives.
class LoweredTopMost {
public:
    LoweredTopMost(TopMostWindows& windows, const QWidget& mainWindow) : windows_(windows) {
        windows_.lower(&mainWindow);
    }
    ~LoweredTopMost() { windows_.raise(); }
    LoweredTopMost(const LoweredTopMost&) = delete;
    LoweredTopMost& operator=(const LoweredTopMost&) = delete;

private:
    TopMostWindows& windows_;
};

}  // namespace

QString updateQuestion() {
    return QStringList{QStringLiteral("開発者ホームページに接続します"),
                       QString(),
                       QStringLiteral("Kivo の最新情報は TOP ページに設置してあるリンクを辿り、"),
                       QStringLiteral("Software 内コンテンツを御参照下さい"),
                       QString(),
                       QStringLiteral("ブラウザを起動しますか？")}
        .join(QStringLiteral("\r\n"));
}

QString helpFileOf(const QString& programFolder) {
    const QDir folder(programFolder);
    const QString beside = folder.filePath(kHelpFileName);
    if (QFileInfo::exists(QtHelpEngine::documentOf(beside))) return beside;
    // Relative to the program, so an installation under any prefix, or
    // unpacked anywhere, finds its own document.
    const QString installed = QDir::cleanPath(
        folder.filePath(QStringLiteral(KIVO_HELP_FROM_PROGRAM "/") + kHelpFileName));
    if (QFileInfo::exists(QtHelpEngine::documentOf(installed))) return installed;
    return beside;
}

QString helpFileOfExecutable() { return helpFileOf(QCoreApplication::applicationDirPath()); }

void showHelp(QWidget& mainWindow, HelpEngine& help, TopMostWindows& topMost) {
    setApplicationHelpFile(helpFileOfExecutable());
    help.showContents(&mainWindow, applicationHelpFile());
    topMost.lower(&mainWindow);
}

void checkForUpdate(QWidget& mainWindow, Boxes& boxes, UrlOpener& urls, TopMostWindows& topMost) {
    const LoweredTopMost lowered(topMost, mainWindow);
    if (boxes.askYesNo(kUpdateCaption, updateQuestion())) urls.open(QUrl(kMakerHomePage));
}

void printWordList(const QTextDocument& list, PrinterPort& printer, QWidget* owner) {
    if (!printer.setUp(owner)) return;
    printDocument(list, printer.printer());
}

}  // namespace kivo
