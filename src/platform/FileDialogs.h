#pragma once
// The open and save dialogs behind one interface, so that tests can pick
// the file themselves.
#include <QString>
#include <QStringList>
#include <optional>

namespace kivo {

struct FileDialogSettings {
    // Display names and patterns, "|"-separated: "name|pattern|name|pattern".
    QString filter;
    QString defaultExtension;  // with its dot: ".Kivo"
};

class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    // The chosen path, or nothing when the dialog was cancelled. The open
    // dialog lets any name through; the save dialog asks nothing about an
    // existing file (the commands ask themselves).
    virtual std::optional<QString> openFile(const FileDialogSettings& settings) = 0;
    virtual std::optional<QString> saveFile(const FileDialogSettings& settings) = 0;
};

// The toolkit's dialogs.
class QtFileDialogs : public FileDialogs {
public:
    std::optional<QString> openFile(const FileDialogSettings& settings) override;
    std::optional<QString> saveFile(const FileDialogSettings& settings) override;
};

// The display names of a "|"-separated filter as the toolkit's dialog lists
// them; a name without its patterns in parentheses gets them appended.
QStringList dialogFilters(const QString& filter);

}  // namespace kivo
