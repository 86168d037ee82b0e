#include "platform/FileDialogs.h"

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QIdentityProxyModel>
#include <QLocale>

#include "platform/Boxes.h"

namespace kivo {
namespace {

// The file list's sizes and dates in Japanese: the toolkit writes them in
// the desktop's language, which need not be the program's.
class JapaneseFileList : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex& index, int role) const override {
        const QVariant shown = QIdentityProxyModel::data(index, role);
        const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
        if (role != Qt::DisplayRole || !files || shown.toString().isEmpty()) return shown;
        const QModelIndex source = mapToSource(index);
        const QLocale japanese(QLocale::Japanese, QLocale::Japan);
        switch (index.column()) {
            case 1:
                return japanese.formattedDataSize(files->size(source));
            case 3:
                return japanese.toString(files->lastModified(source), QLocale::ShortFormat);
            default:
                return shown;
        }
    }
};

std::optional<QString> runDialog(const FileDialogSettings& settings, QFileDialog::AcceptMode mode) {
    QFileDialog dialog(QApplication::activeWindow());
    // The toolkit's own dialog, whatever the desktop offers: its texts are
    // the program's, filters and all.
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setProxyModel(new JapaneseFileList(&dialog));
    dialog.setAcceptMode(mode);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    const QStringList filters = dialogFilters(settings.filter);
    dialog.setNameFilters(filters);
    // The dialog tidies the blanks of each filter, turning a full-width space
    // into a narrow one; its list shows them as written. It picks files by
    // the filter's position, not its text.
    if (auto* types = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"))) {
        for (int i = 0; i < types->count() && i < filters.size(); ++i) {
            types->setItemText(i, filters[i]);
        }
    }
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

std::optional<QString> QtFileDialogs::chooseFolder(const QString& title, const QString& start) {
    QFileDialog dialog(QApplication::activeWindow(), title, start);
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setProxyModel(new JapaneseFileList(&dialog));
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly, true);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().first();
}

namespace {

FileDialogSettings qtSettings(const DialogSettings& s) {
    return {QString::fromStdString(s.filter), QString::fromStdString(s.defaultExtension)};
}

std::optional<std::string> chosen(const std::optional<QString>& path) {
    if (!path) return std::nullopt;
    return path->toStdString();
}

}  // namespace

std::optional<std::string> FileDialogsPort::openFile(const DialogSettings& settings) {
    const UsualCursor usual;
    return chosen(dialogs_->openFile(qtSettings(settings)));
}

std::optional<std::string> FileDialogsPort::saveFile(const DialogSettings& settings) {
    const UsualCursor usual;
    return chosen(dialogs_->saveFile(qtSettings(settings)));
}

std::optional<QString> FileDialogsPort::chooseFolder(const QString& title, const QString& start) {
    const UsualCursor usual;
    return dialogs_->chooseFolder(title, start);
}

}  // namespace kivo
