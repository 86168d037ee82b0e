#pragma once
// Windows' own parts behind the ports: the system message boxes, the common
// file dialogs, the help document, the browser, the printer, the registry
// and the local clock. Each is small; the window owns one of each and a test
// may put its own in place of the boxes and dialogs.
#include <windows.h>

#include <optional>
#include <string>

#include "commands/Ports.h"
#include "wordlist/DrawPorts.h"

namespace kivo::win32 {

class MemoControl;

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

// The help document beside the program, opened in the user's browser.
class BrowserHelp : public HelpPort {
public:
    explicit BrowserHelp(BoxPort& boxes) : boxes_(boxes) {}
    void showHelpContents() override;
    // The document beside the running executable.
    static std::wstring documentPath();

private:
    BoxPort& boxes_;
};

class ShellUrls : public UrlPort {
public:
    void openUrl(const std::string& url) override;
};

// The registry under HKEY_CURRENT_USER\Software\Quillery\Kivo.
class RegistrySettings : public SettingsStore {
public:
    std::optional<bool> readBool(const std::string& key) override;
    void writeBool(const std::string& key, bool value) override;
};

class LocalClock : public WallClock {
public:
    LocalTime now() override;
};

// The printer set-up dialog and the print job. The list lays itself out on
// the pages (ListPrinting.h).
class SystemPrinter : public PrintPort {
public:
    explicit SystemPrinter(const MemoControl& list) : list_(list) {}
    ~SystemPrinter() override;
    void setOwner(HWND owner) { owner_ = owner; }
    bool setUpPrinter() override;
    void printList() override;

private:
    const MemoControl& list_;
    HWND owner_ = nullptr;
    HGLOBAL devMode_ = nullptr;
    HGLOBAL devNames_ = nullptr;
    HDC printer_ = nullptr;
};

}  // namespace kivo::win32
