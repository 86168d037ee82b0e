#pragma once
// The file commands of the main window: new list, the four imports, the two
// exports, a dropped file and the command-line file, with the save prompt
// that guards the commands replacing the list. Plain C++ over the ports, so
// that every window runs the same rules.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "commands/Ports.h"
#include "commands/TopicCommands.h"
#include "core/FileSystem.h"
#include "core/Titles.h"

namespace kivo {

class WordListTarget;
struct KeptCopy;
struct LoadReport;

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
    // `topics` are the session's, cleared with a new list.
    FileCommands(WordListPort& list, MainWindowPort& window, BoxPort& boxes,
                 FileDialogPort& dialogs, TopicCommands& topics);

    void newList();
    void importContainerAsNewList() { newImport(kOpenContainer, true); }
    void addContainerToList() { addImport(kOpenContainer, true); }
    void importTextAsNewList() { newImport(kOpenText, false); }
    void addTextToList() { addImport(kOpenText, false); }
    void exportContainer();
    void exportText();
    // The first of the dropped files counts.
    void openDroppedFile(const std::vector<std::string>& paths);
    // The file named on the command line, when the window is first shown.
    void loadCommandLineFile(const std::string& path);
    // The example list `fileName`, installed at `path` (nothing when it is
    // missing), read as a text import reads a file, and then a new list of
    // no name: no save writes back into the example.
    void openExampleList(std::string_view fileName, const std::optional<std::string>& path);
    // At start-up: each save that was cut off left the file's old content
    // aside; the user says, file by file, whether to put it back. Cancel
    // leaves the rest for the next start.
    void offerKeptCopies();
    // Where saves in place keep the old content; the user's cache folder
    // unless a test says otherwise.
    void useCacheFolder(std::filesystem::path folder) { cacheFolder_ = std::move(folder); }

    // Raises SilentCancel when the user cancels.
    void confirmSaveList();
    void setCurrentFile(const std::string& path);
    void openListFile(const std::string& path);
    const std::string& currentFile() const { return currentFile_; }

private:
    void newImport(const DialogSettings& settings, bool container);
    void addImport(const DialogSettings& settings, bool container);
    class LoaderTarget;
    class AddingTarget;
    // Reads the file (a container, deciphered, or any file the loader
    // takes) into `target`; then the caption, the mark and the warning as
    // the load reports them. The list has the focus from the start.
    void load(const std::string& path, LoaderTarget& target, bool container);
    void importContainer(const std::string& path, WordListTarget& target, LoadReport& report);
    bool confirmOverwrite(const std::string& path);
    // Before a file is read or saved: the old content a cut-off save of it
    // left aside is offered back first. Raises SilentCancel on Cancel.
    void offerKeptCopyOf(const std::string& path);
    // Yes puts the copy back, No keeps the file as it is; false on Cancel.
    bool offer(const KeptCopy& copy);
    void saveList(const std::string& path);
    // The list belongs to no file: the caption as after a new list.
    void forgetCurrentFile();

    WordListPort& list_;
    MainWindowPort& window_;
    BoxPort& boxes_;
    FileDialogPort& dialogs_;
    TopicCommands& topics_;
    std::string currentFile_;
    std::filesystem::path cacheFolder_ = userCacheFolder();
    const std::string cipherKey_ = "tonic_Kivo_RW7QX214fy";
};

}  // namespace kivo
