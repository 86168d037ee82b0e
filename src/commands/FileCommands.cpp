#include "commands/FileCommands.h"

#include <filesystem>
#include <system_error>
#include <utility>

#include "commands/WindowRules.h"
#include "core/Errors.h"
#include "core/PathRules.h"
#include "files/Cryptogram.h"
#include "files/ListExport.h"
#include "files/WordListLoader.h"

namespace kivo {

const DialogSettings kOpenContainer{"Kivo ファイル (*.Kivo)|*.Kivo", ".Kivo"};
const DialogSettings kOpenText{"テキストファイル (*.txt)|*.txt|全てのファイル(*.*)|*.*", ".txt"};
const DialogSettings kSaveContainer{"Kivo ファイル　(*.Kivo)|*.Kivo", ".Kivo"};
const DialogSettings kSaveText{"txt ファイル　(*.txt)|*.txt|全てのファイル　(*.*)|*.*", ".txt"};

namespace {

bool isExistingFile(const std::string& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(pathFromUtf8(path), ec);
}

// A chosen path; an empty one counts as cancelled.
std::optional<std::string> chosen(std::optional<std::string> path) {
    if (!path || path->empty()) return std::nullopt;
    return path;
}

}  // namespace

// The loader's view of the list: the list itself, the caption through
// SetCurrentFile, the warning box.
class FileCommands::LoaderTarget : public WordListTarget {
public:
    explicit LoaderTarget(FileCommands& commands)
        : commands_(commands), costs_(commands.list_.listCosts()) {}
    void focusList() override { commands_.list_.focusList(); }
    void clearList() override { commands_.list_.clearList(); }
    void setCurrentFile(const std::string& path) override { commands_.SetCurrentFile(path); }
    void admit(StyledText& text) override {
        dropListFont(text, kListFontFamily, kListFontHalfPoints);
        checkListRoom(shapeOf(text.text), !text.ranges.empty(), costs_);
    }
    void checkRoom(const TextShape& shape) const override { checkListRoom(shape, false, costs_); }
    void loadWholeText(StyledText text) override { commands_.list_.loadWholeText(std::move(text)); }
    void clearModified() override { commands_.list_.setModified(false); }
    std::size_t capacity() const override { return commands_.list_.capacity(); }
    void appendText(std::string_view lines) override {
        commands_.list_.appendText(lines);
        commands_.list_.setModified(true);
    }
    void warn(const std::string& text) override { commands_.boxes_.warning(text); }

private:
    FileCommands& commands_;
    const ListCosts costs_;
};

FileCommands::FileCommands(WordListPort& list, MainWindowPort& window, BoxPort& boxes,
                           FileDialogPort& dialogs)
    : list_(list), window_(window), boxes_(boxes), dialogs_(dialogs) {}

void FileCommands::SetCurrentFile(const std::string& path) {
    FCurrentFile = path;
    window_.setCaption(fileNamePart(path) + "  >>>  " + kApplicationTitleText);
}

void FileCommands::LoadWordListFile(const std::string& path) {
    const BusyCursor busy(window_);
    LoaderTarget target(*this);
    loadWordListFile(path, target);
}

void FileCommands::ConfirmSaveList() {
    if (!list_.isModified()) return;
    switch (boxes_.confirm("現在の単語リストを保存しますか？")) {
        case BoxAnswer::Cancel:
            throw SilentCancel();
        case BoxAnswer::Yes:
            // Whatever comes of the export, the command goes on.
            mnuExporttxtClick();
            return;
        case BoxAnswer::No:
            return;
    }
}

bool FileCommands::confirmOverwrite(const std::string& path) {
    // Anything but a folder counts: a pipe or a link is replaced as well.
    std::error_code ec;
    const std::filesystem::path target = pathFromUtf8(path);
    if (!std::filesystem::exists(target, ec) || std::filesystem::is_directory(target, ec))
        return true;
    return boxes_.confirm(path + " は既に存在します。\r\n上書きしますか？") == BoxAnswer::Yes;
}

void FileCommands::saveList(const std::string& path) {
    const BusyCursor busy(window_);
    writeFileSafely(pathFromUtf8(path), listToText(list_.text()));
}

void FileCommands::importContainer(const std::string& path) {
    // Deciphered in memory: the file on disk stays as it is, whatever
    // becomes of the import, and is never shown enciphered.
    const BusyCursor busy(window_);
    const ContainerContent content =
        ReadContainerFile(pathFromUtf8(path), FCipherKey, kWholeFileLimit);
    if (content.result == kDecrypted) {
        LoaderTarget target(*this);
        loadWordListContent(path, content.plain, target);
        return;
    }
    if (content.headerMatches) throw UserError("ストリームからの読み込みに失敗しました");
    LoadWordListFile(path);
}

void FileCommands::newImport(const DialogSettings& settings, bool container) {
    ConfirmSaveList();
    if (const auto path = chosen(dialogs_.openFile(settings))) {
        if (container) {
            importContainer(*path);
        } else {
            LoadWordListFile(*path);
        }
        list_.setModified(false);
    }
    refreshLineCount(list_, window_);
}

void FileCommands::addImport(const DialogSettings& settings, bool container) {
    std::vector<std::string> lines = list_.lines();
    if (const auto path = chosen(dialogs_.openFile(settings))) {
        const BusyCursor busy(window_);
        const std::size_t before = lines.size();
        const bool wasModified = list_.isModified();
        // The list the file is added to is the user's work: whatever stops
        // the import, it comes back as it was.
        try {
            if (container) {
                importContainer(*path);
            } else {
                LoadWordListFile(*path);
            }
            for (std::string& line : list_.lines()) lines.push_back(std::move(line));
            checkListRoom(shapeOfLines(lines), false, list_.listCosts());
            list_.clearList();
            list_.setLines(lines);
        } catch (...) {
            lines.resize(before);
            list_.clearList();
            list_.setLines(lines);
            list_.setModified(wasModified);
            refreshLineCount(list_, window_);
            throw;
        }
        // The joined list exists in no file yet.
        list_.setModified(true);
    }
    refreshLineCount(list_, window_);
}

void FileCommands::mnuNewClick() {
    ConfirmSaveList();
    list_.clearList();
    window_.clearTopics();
    list_.focusList();
    list_.setModified(false);
    window_.setCaption(kInitialCaption);
    refreshLineCount(list_, window_);
}

void FileCommands::mnuExportKivoClick() {
    if (const auto path = chosen(dialogs_.saveFile(kSaveContainer))) {
        if (!confirmOverwrite(*path)) return;
        const BusyCursor busy(window_);
        writeContainerSafely(pathFromUtf8(*path),
                             listToRtf(list_.styledText(), kListFontFamily, kListFontHalfPoints),
                             FCipherKey);
        list_.setModified(false);
        SetCurrentFile(*path);
    }
    refreshLineCount(list_, window_);
}

void FileCommands::mnuExporttxtClick() {
    if (const auto path = chosen(dialogs_.saveFile(kSaveText))) {
        if (!confirmOverwrite(*path)) {
            list_.setModified(false);
            return;
        }
        saveList(*path);
        list_.setModified(false);
        SetCurrentFile(*path);
    }
    refreshLineCount(list_, window_);
}

void FileCommands::WMDropFiles(const std::vector<std::string>& paths) {
    // Only the first file counts; the rest are ignored without notice.
    if (paths.empty() || paths.front().empty()) return;
    const std::string path = paths.front();
    ConfirmSaveList();
    if (extensionPart(path) == ".txt") {
        LoadWordListFile(path);
        list_.setModified(false);
        refreshLineCount(list_, window_);
        return;
    }
    importContainer(path);
    refreshLineCount(list_, window_);
}

void FileCommands::loadCommandLineFile(const std::string& path) {
    // No save prompt. A container (a file opened from the file manager)
    // shows its list, deciphered in memory; the file itself is never changed.
    if (isExistingFile(path)) importContainer(path);
}

}  // namespace kivo
