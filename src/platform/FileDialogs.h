#pragma once
// The open and save dialogs behind one interface, so that tests can pick
// the file themselves.
#include <QString>
#include <QStringList>
#include <optional>

#include "commands/Ports.h"

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
    // A folder, the dialog titled `title` and opened at `start`.
    virtual std::optional<QString> chooseFolder(const QString& title, const QString& start) = 0;
};

// The toolkit's dialogs.
class QtFileDialogs : public FileDialogs {
public:
    std::optional<QString> openFile(const FileDialogSettings& settings) override;
    std::optional<QString> saveFile(const FileDialogSettings& settings) override;
    std::optional<QString> chooseFolder(const QString& title, const QString& start) override;
};

// The dialogs as the commands ask for them, in UTF-8, under the usual
// cursor; the dialogs themselves may be swapped (tests pick the file).
class FileDialogsPort : public FileDialogPort {
public:
    explicit FileDialogsPort(FileDialogs& dialogs) : dialogs_(&dialogs) {}
    void use(FileDialogs& dialogs) { dialogs_ = &dialogs; }
    std::optional<std::string> openFile(const DialogSettings& settings) override;
    std::optional<std::string> saveFile(const DialogSettings& settings) override;
    std::optional<QString> chooseFolder(const QString& title, const QString& start);

private:
    FileDialogs* dialogs_;
};

// The display names of a "|"-separated filter as the toolkit's dialog lists
// them; a name without its patterns in parentheses gets them appended.
QStringList dialogFilters(const QString& filter);

}  // namespace kivo
