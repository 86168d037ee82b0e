#pragma once
// Windows' own boxes and file dialogs behind the ports: the system message
// boxes and the common open and save dialogs, over the main window. The
// window owns one of each; a test may put its own in their place.
#include <windows.h>

#include <optional>
#include <string>

#include "commands/Ports.h"

namespace kivo::win32 {

// The boxes, and the error box that the command wrapper shows.
class Boxes : public BoxPort {
public:
    virtual void error(const std::string& text) = 0;
};

// MessageBoxW over the main window. On Japanese Windows the system writes
// the buttons' texts (はい(Y), いいえ(N), キャンセル).
class SystemBoxes : public Boxes {
public:
    void setOwner(HWND owner) { owner_ = owner; }
    BoxAnswer confirm(const std::string& text) override;
    void warning(const std::string& text) override;
    void message(const std::string& text) override;
    bool askYesNo(const std::string& caption, const std::string& text) override;
    void error(const std::string& text) override;

private:
    int show(const std::string& text, const std::string& caption, UINT style);
    HWND owner_ = nullptr;
};

// GetOpenFileNameW / GetSaveFileNameW with the command's filter and default
// extension; the read-only box hidden, no check that the file exists and no
// overwrite question (the export commands ask themselves).
class CommonDialogs : public FileDialogPort {
public:
    void setOwner(HWND owner) { owner_ = owner; }
    std::optional<std::string> openFile(const DialogSettings& settings) override;
    std::optional<std::string> saveFile(const DialogSettings& settings) override;

    // "name|pattern|..." as the dialogs take it: NUL between, two at the end.
    static std::wstring filterOf(const std::string& filter);

private:
    std::optional<std::string> run(const DialogSettings& settings, bool save);
    HWND owner_ = nullptr;
};

}  // namespace kivo::win32
