#pragma once
// The file commands of the main window: new list, the four imports, the two
// exports, a dropped file and the command-line file, with the save prompt
// that guards the commands replacing the list. Plain C++ over the ports, so
// that every window runs the same rules.
#include <string>
#include <vector>

#include "commands/Ports.h"
#include "core/Titles.h"

namespace kivo {

class WordListTarget;

// The dialogs' settings, exactly as the user sees them.
extern const DialogSettings kOpenContainer;
extern const DialogSettings kOpenText;
extern const DialogSettings kSaveContainer;
extern const DialogSettings kSaveText;

// The list's own font, named in the RTF it saves.
inline constexpr const char* kListFontFamily = "ＭＳ ゴシック";
inline constexpr int kListFontHalfPoints = 24;

class FileCommands {
public:
    FileCommands(WordListPort& list, MainWindowPort& window, BoxPort& boxes,
                 FileDialogPort& dialogs);

    void mnuNewClick();
    void mnuNewInportKivoClick() { newImport(kOpenContainer, true); }
    void mnuAddInportKivoClick() { addImport(kOpenContainer, true); }
    void mnuNewInporttxtClick() { newImport(kOpenText, false); }
    void mnuAddInporttxtClick() { addImport(kOpenText, false); }
    void mnuExportKivoClick();
    void mnuExporttxtClick();
    // The first of the dropped files counts.
    void WMDropFiles(const std::vector<std::string>& paths);
    // The file named on the command line, when the window is first shown.
    void loadCommandLineFile(const std::string& path);

    // Raises SilentCancel when the user cancels.
    void ConfirmSaveList();
    void SetCurrentFile(const std::string& path);
    void LoadWordListFile(const std::string& path);
    const std::string& currentFile() const { return FCurrentFile; }

private:
    void newImport(const DialogSettings& settings, bool container);
    void addImport(const DialogSettings& settings, bool container);
    void importContainer(const std::string& path, WordListTarget& target);
    class LoaderTarget;
    class AddingTarget;
    bool confirmOverwrite(const std::string& path);
    void saveList(const std::string& path);

    WordListPort& list_;
    MainWindowPort& window_;
    BoxPort& boxes_;
    FileDialogPort& dialogs_;
    std::string FCurrentFile;
    const std::string FCipherKey = "tonic_Kivo_RW7QX214fy";
};

}  // namespace kivo
