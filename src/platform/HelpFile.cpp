#include "platform/HelpFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include "commands/HelpCommands.h"
#include "platform/HelpEngine.h"

namespace kivo {
namespace {
QString& helpFileStore() {
    static QString path;
    return path;
}
}  // namespace

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

QString exampleListOf(const QString& programFolder, const QString& fileName) {
    const QDir folder(programFolder);
    const QString inFolder = QString::fromUtf8(kExampleFolderName) + QLatin1Char('/') + fileName;
    const QString beside = folder.filePath(inFolder);
    if (QFileInfo(beside).isFile()) return beside;
    const QString installed =
        QDir::cleanPath(folder.filePath(QStringLiteral(KIVO_HELP_FROM_PROGRAM "/") + inFolder));
    if (QFileInfo(installed).isFile()) return installed;
    return {};
}

void setApplicationHelpFile(const QString& path) { helpFileStore() = path; }

QString applicationHelpFile() { return helpFileStore(); }

}  // namespace kivo
