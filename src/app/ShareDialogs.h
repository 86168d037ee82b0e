#pragma once
// The Qt window's share dialog (the stream files' folder and switch, the
// separator, the copied line's lead and hashtag) and the box that asks for
// the countdown's own length. Their texts are the commands' (ShareTexts.h).
#include <QDialog>

#include "commands/Ports.h"

class QCheckBox;
class QLineEdit;
class QSpinBox;

namespace kivo {

class FileDialogsPort;

// The dialog itself, for tests to fill in.
class ShareDialog : public QDialog {
    Q_OBJECT
public:
    ShareDialog(const ShareSettings& settings, FileDialogsPort& folders, QWidget* parent);
    ShareSettings settings() const;

    QCheckBox* StreamOn = nullptr;
    QLineEdit* Folder = nullptr;
    QLineEdit* Separator = nullptr;
    QLineEdit* Lead = nullptr;
    QLineEdit* Hashtag = nullptr;

private:
    void chooseFolder();

    FileDialogsPort& folders_;
};

class ShareDialogs : public ShareDialogPort {
public:
    ShareDialogs(FileDialogsPort& folders, QWidget& parent) : folders_(folders), parent_(parent) {}
    std::optional<ShareSettings> editShareSettings(const ShareSettings& settings) override;
    std::optional<int> askTimerMinutes(int minutes) override;

private:
    FileDialogsPort& folders_;
    QWidget& parent_;
};

}  // namespace kivo
