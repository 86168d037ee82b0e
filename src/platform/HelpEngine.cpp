#include "platform/HelpEngine.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QScreen>
#include <QWidget>

#include "commands/HelpCommands.h"
#include "platform/Boxes.h"
#include "platform/HelpFile.h"
#include "platform/HelpWindow.h"

namespace kivo {
namespace {

// A little below and to the right of the owner, and whole on its screen.
void placeBelowRight(QWidget& window, const QWidget& owner) {
    QRect frame(owner.frameGeometry().topLeft() + QPoint(40, 40), window.size());
    if (const QScreen* screen = owner.screen()) {
        const QRect desk = screen->availableGeometry();
        frame.setSize(frame.size().boundedTo(desk.size()));
        if (frame.right() > desk.right()) frame.moveRight(desk.right());
        if (frame.bottom() > desk.bottom()) frame.moveBottom(desk.bottom());
        if (frame.left() < desk.left()) frame.moveLeft(desk.left());
        if (frame.top() < desk.top()) frame.moveTop(desk.top());
    }
    window.setGeometry(frame);
}

}  // namespace

QtHelpEngine::QtHelpEngine(Boxes& boxes) : boxes_(boxes) {}

QtHelpEngine::~QtHelpEngine() = default;

QString QtHelpEngine::documentOf(const QString& helpFile) {
    const QFileInfo info(helpFile);
    return info.dir().filePath(info.completeBaseName() + QStringLiteral(".html"));
}

QString QtHelpEngine::missingText(const QString& document) {
    return QString::fromStdString(
        helpMissingText(QDir::toNativeSeparators(document).toStdString()));
}

void QtHelpEngine::showContents(QWidget* owner, const QString& helpFile) {
    const QString document = documentOf(helpFile);
    // One help window for the whole run, as a help viewer keeps. It lives
    // apart from the main window, which stays usable beside it.
    if (!window_) {
        window_ = std::make_unique<HelpWindow>();
        if (owner) placeBelowRight(*window_, *owner);
    }
    if (!window_->open(document)) {
        boxes_.warning(missingText(document));
        return;
    }
    window_->show();
    window_->raise();
    window_->activateWindow();
}

HelpEnginePort::HelpEnginePort(Boxes& boxes, QWidget& mainWindow)
    : mainWindow_(mainWindow), qtEngine_(boxes) {}

void HelpEnginePort::showHelpContents() {
    setApplicationHelpFile(helpFileOfExecutable());
    engine_->showContents(&mainWindow_, applicationHelpFile());
}

std::optional<std::string> HelpEnginePort::exampleListPath(std::string_view fileName) {
    const QString path =
        exampleListOf(QCoreApplication::applicationDirPath(),
                      QString::fromUtf8(fileName.data(), static_cast<qsizetype>(fileName.size())));
    if (path.isEmpty()) return std::nullopt;
    return QDir::toNativeSeparators(path).toStdString();
}

}  // namespace kivo
