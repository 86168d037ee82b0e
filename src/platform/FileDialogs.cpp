#include "FileDialogs.h"

#include <QApplication>
#include <QFileDialog>

namespace kivo {
namespace {

std::optional<QString> runDialog(const FileDialogSettings& settings, QFileDialog::AcceptMode mode) {
    QFileDialog dialog(QApplication::activeWindow());
    dialog.setAcceptMode(mode);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    dialog.setNameFilters(dialogFilters(settings.filter));
    QString suffix = settings.defaultExtension;
    if (suffix.startsWith(QLatin1Char('.'))) suffix.remove(0, 1);
    dialog.setDefaultSuffix(suffix);
    dialog.selectFile(QString());  // an empty file-name field every time
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().first();
}

}  // namespace

QStringList dialogFilters(const QString& filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList names;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString& name = parts[i];
        const QString& pattern = parts[i + 1];
        const bool listsPattern = name.endsWith(QLatin1Char(')')) &&
                                  name.contains(QLatin1Char('(') + pattern + QLatin1Char(')'));
        names << (listsPattern ? name : name + QStringLiteral(" (") + pattern + QLatin1Char(')'));
    }
    return names;
}

std::optional<QString> QtFileDialogs::openFile(const FileDialogSettings& settings) {
    return runDialog(settings, QFileDialog::AcceptOpen);
}

std::optional<QString> QtFileDialogs::saveFile(const FileDialogSettings& settings) {
    return runDialog(settings, QFileDialog::AcceptSave);
}

}  // namespace kivo
