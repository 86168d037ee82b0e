#include "commands/FileCommands.h"

#include <filesystem>
#include <system_error>
#include <utility>

#include "commands/HelpCommands.h"
#include "commands/ListContract.h"
#include "core/Errors.h"
#include "core/KeptCopies.h"
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

// The loader's view of the list: the list itself, within what it may hold.
class FileCommands::LoaderTarget : public WordListTarget {
public:
    explicit LoaderTarget(FileCommands& commands)
        : commands_(commands), costs_(commands.list_.listCosts()) {}
    void clearList() override { commands_.list_.clearList(); }
    void admit(StyledText& text) override { admitted(text); }
    void checkRoom(const TextShape& shape) const override { checkListRoom(shape, false, costs_); }
    // Drawing by heading, a sheet's columns come in as its sections.
    bool sheetColumnsAsSections() const override { return commands_.topics_.byHeading(); }
    void loadWholeText(StyledText text) override { commands_.list_.loadWholeText(std::move(text)); }
    std::size_t capacity() const override { return commands_.list_.capacity(); }
    void appendText(std::string_view lines) override {
        commands_.list_.appendText(lines);
        commands_.list_.setModified(true);
    }
    std::unique_ptr<ListReplacement> replaceList() override {
        // The list's own replacement, marked as appendText marks it.
        class Marked : public ListReplacement {
        public:
            explicit Marked(WordListPort& list) : list_(list), inner_(list.replaceList()) {}
            void add(std::string lines) override {
                added_ = added_ || !lines.empty();
                inner_->add(std::move(lines));
            }
            void commit() override {
                inner_->commit();
                if (added_) list_.setModified(true);
            }

        private:
            WordListPort& list_;
            std::unique_ptr<ListReplacement> inner_;
            bool added_ = false;
        };
        return std::make_unique<Marked>(commands_.list_);
    }
    // Whether the list itself takes what is read, rather than a copy kept
    // aside.
    virtual bool replacesList() const { return true; }

protected:
    // The admit rule, giving the shape the text was judged by.
    TextShape admitted(StyledText& text) const {
        dropListFont(text, kListFontFamily, kListFontHalfPoints);
        const TextShape shape = shapeOf(text.text);
        checkListRoom(shape, !text.ranges.empty(), costs_);
        return shape;
    }

private:
    FileCommands& commands_;
    const ListCosts costs_;
};

// The loader's view of the list in an add-import: the list stays as it is
// while the file is read, and what the loader would put in it is kept here
// instead, unformatted, to go in after the list's own lines.
class FileCommands::AddingTarget : public LoaderTarget {
public:
    using LoaderTarget::LoaderTarget;
    void admit(StyledText& text) override { admittedShape_ = admitted(text); }
    void clearList() override { added_.clear(); }
    void loadWholeText(StyledText text) override {
        added_ = std::move(text.text);
        wholeLoad_ = true;
    }
    bool replacesList() const override { return false; }
    void appendText(std::string_view lines) override { added_.append(lines); }
    // Kept here too, not handed to the list.
    std::unique_ptr<ListReplacement> replaceList() override {
        return WordListTarget::replaceList();
    }

    // The lines as the list would hold them, each ended by "\n", and their
    // shape: the one they were admitted by when they are the admitted text.
    std::string take(TextShape& shape) {
        bool asAdmitted = wholeLoad_;
        if (hasShownLineBreaks(added_)) {
            added_ = breakLinesAsShown(added_);
            asAdmitted = false;
        }
        if (!added_.empty() && added_.back() != '\n') {
            added_.push_back('\n');
            asAdmitted = false;
        }
        shape = asAdmitted ? admittedShape_ : shapeOf(added_);
        return std::move(added_);
    }
    // Whether the file went through the control's whole-file load, which
    // raises what the list takes.
    bool wholeLoad() const { return wholeLoad_; }

private:
    std::string added_;
    bool wholeLoad_ = false;
    TextShape admittedShape_;
};

namespace {

// The lines of a text whose every line ends with "\n".
std::vector<std::string> linesOf(std::string_view text) {
    std::vector<std::string> lines;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = text.find('\n', at);
        lines.emplace_back(text.substr(at, end - at));
        at = end + 1;
    }
    return lines;
}

}  // namespace

FileCommands::FileCommands(WordListPort& list, MainWindowPort& window, BoxPort& boxes,
                           FileDialogPort& dialogs, TopicCommands& topics)
    : list_(list), window_(window), boxes_(boxes), dialogs_(dialogs), topics_(topics) {}

void FileCommands::setCurrentFile(const std::string& path) {
    currentFile_ = path;
    window_.setCaption(fileNamePart(path) + "  >>>  " + kApplicationTitleText);
}

void FileCommands::openListFile(const std::string& path) {
    const BusyCursor busy(window_);
    LoaderTarget target(*this);
    load(path, target, false);
}

void FileCommands::load(const std::string& path, LoaderTarget& target, bool container) {
    offerKeptCopyOf(path);
    list_.focusList();
    LoadReport report;
    // What the load did is followed up whichever way it ended: a text file
    // that could not be read whole has emptied the list and named itself.
    const auto followUp = [&] {
        if (report.wholeFile) setCurrentFile(path);
    };
    try {
        if (container) {
            importContainer(path, target, report);
        } else {
            loadWordListFile(path, target, report);
        }
    } catch (...) {
        followUp();
        throw;
    }
    followUp();
    if (report.wholeFile && target.replacesList()) list_.setModified(false);
    if (report.linesLeftOut) boxes_.warning(kLinesLeftOutText);
}

void FileCommands::confirmSaveList() {
    if (!list_.isModified()) return;
    switch (boxes_.confirm("現在の単語リストを保存しますか？")) {
        case BoxAnswer::Cancel:
            throw SilentCancel();
        case BoxAnswer::Yes:
            // Whatever comes of the export, the command goes on.
            exportText();
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

bool FileCommands::offer(const KeptCopy& copy) {
    switch (boxes_.confirm(keptCopyQuestion(copy))) {
        case BoxAnswer::Yes: {
            const BusyCursor busy(window_);
            restoreKeptCopy(copy);
            return true;
        }
        case BoxAnswer::No:
            declineKeptCopy(copy);
            return true;
        case BoxAnswer::Cancel:
            break;
    }
    return false;
}

void FileCommands::offerKeptCopyOf(const std::string& path) {
    if (const std::optional<KeptCopy> copy = keptCopyToOffer(pathFromUtf8(path), cacheFolder_)) {
        if (!offer(*copy)) throw SilentCancel();
    }
}

void FileCommands::offerKeptCopies() {
    for (const KeptCopy& copy : keptCopiesToOffer(cacheFolder_)) {
        if (!offer(copy)) return;
    }
}

void FileCommands::saveList(const std::string& path) {
    offerKeptCopyOf(path);
    const BusyCursor busy(window_);
    writeFileSafely(pathFromUtf8(path), listToText(list_.text()));
}

void FileCommands::importContainer(const std::string& path, WordListTarget& target,
                                   LoadReport& report) {
    // Deciphered in memory: the file on disk stays as it is, whatever
    // becomes of the import, and is never shown enciphered.
    const BusyCursor busy(window_);
    const ContainerContent content =
        ReadContainerFile(pathFromUtf8(path), cipherKey_, kWholeFileLimit);
    if (content.result == kDecrypted) {
        loadWordListContent(content.plain, target, report);
        return;
    }
    if (content.headerMatches) throw UserError("ストリームからの読み込みに失敗しました");
    loadWordListFile(path, target, report);
}

void FileCommands::newImport(const DialogSettings& settings, bool container) {
    confirmSaveList();
    if (const auto path = chosen(dialogs_.openFile(settings))) {
        if (container) {
            LoaderTarget target(*this);
            load(*path, target, true);
        } else {
            openListFile(*path);
        }
        list_.setModified(false);
    }
    topics_.count().refresh();
}

void FileCommands::addImport(const DialogSettings& settings, bool container) {
    if (const auto path = chosen(dialogs_.openFile(settings))) {
        const BusyCursor busy(window_);
        const bool wasModified = list_.isModified();
        const bool wasEmpty = list_.count() == 0;
        // The list the file is added to is the user's work: the file is read
        // beside it, and whatever stops the import, it comes back as it was.
        StyledText old;
        bool changed = false;
        try {
            AddingTarget target(*this);
            load(*path, target, container);
            TextShape more;
            std::string added = target.take(more);
            if (wasEmpty) {
                // The file's lines are the whole list.
                checkListRoom(more, false, list_.listCosts());
                changed = true;
                if (target.wholeLoad()) {
                    list_.loadWholeText({std::move(added), {}});
                } else {
                    list_.clearList();
                    if (!added.empty()) list_.appendText(added);
                }
            } else {
                old = list_.styledText();
                // A last line without its break gets one, as every line has
                // in the joined list.
                const bool ownBreak = !old.text.empty() && old.text.back() != '\n';
                if (ownBreak) old.text.push_back('\n');
                // Judged as the joined text.
                TextShape shape = shapeOf(old.text);
                shape.append(more);
                checkListRoom(shape, false, list_.listCosts());
                changed = true;
                // Formats of either part are not kept. A plain list takes the
                // file's lines at its end in one call, unless they come from
                // the whole-file load and the list is yet to take as much.
                const bool raises = target.wholeLoad() && list_.capacity() < kRaisedCapacity;
                if (old.ranges.empty() && !raises) {
                    if (ownBreak) added.insert(0, 1, '\n');
                    if (!added.empty()) list_.appendText(added);
                } else {
                    std::string joined = old.text + added;
                    if (target.wholeLoad()) {
                        list_.loadWholeText({std::move(joined), {}});
                    } else {
                        list_.clearList();
                        list_.setLines(linesOf(joined));
                    }
                }
            }
        } catch (...) {
            if (changed) {
                list_.clearList();
                list_.setLines(linesOf(old.text));
            }
            list_.setModified(wasModified);
            topics_.count().refresh();
            throw;
        }
        // The joined list exists in no file yet.
        list_.setModified(true);
    }
    topics_.count().refresh();
}

void FileCommands::newList() {
    confirmSaveList();
    list_.clearList();
    topics_.clearTopics();
    list_.focusList();
    list_.setModified(false);
    window_.setCaption(kInitialCaption);
    topics_.count().refresh();
}

void FileCommands::forgetCurrentFile() {
    currentFile_.clear();
    window_.setCaption(kInitialCaption);
}

void FileCommands::openExampleList(std::string_view fileName,
                                   const std::optional<std::string>& path) {
    // Told before the save question: a missing example replaces nothing.
    if (!path) {
        throw UserError(
            cannotOpenText(std::filesystem::path(kExampleFolderName) / pathFromUtf8(fileName)));
    }
    confirmSaveList();
    try {
        openListFile(*path);
    } catch (...) {
        // A load that emptied the list named it after the example; one that
        // failed before leaves the user's list, and its name, as they were.
        if (currentFile_ == *path) forgetCurrentFile();
        topics_.count().refresh();
        throw;
    }
    forgetCurrentFile();
    topics_.clearTopics();
    list_.setModified(false);
    topics_.count().refresh();
}

void FileCommands::exportContainer() {
    if (const auto path = chosen(dialogs_.saveFile(kSaveContainer))) {
        if (!confirmOverwrite(*path)) return;
        offerKeptCopyOf(*path);
        const BusyCursor busy(window_);
        writeContainerSafely(pathFromUtf8(*path),
                             listToRtf(list_.styledText(), kListFontFamily, kListFontHalfPoints),
                             cipherKey_);
        list_.setModified(false);
        setCurrentFile(*path);
    }
    topics_.count().refresh();
}

void FileCommands::exportText() {
    if (const auto path = chosen(dialogs_.saveFile(kSaveText))) {
        if (!confirmOverwrite(*path)) {
            list_.setModified(false);
            return;
        }
        saveList(*path);
        list_.setModified(false);
        setCurrentFile(*path);
    }
    topics_.count().refresh();
}

void FileCommands::openDroppedFile(const std::vector<std::string>& paths) {
    // Only the first file counts; the rest are ignored without notice.
    if (paths.empty() || paths.front().empty()) return;
    const std::string path = paths.front();
    confirmSaveList();
    if (extensionPart(path) == ".txt") {
        openListFile(path);
        list_.setModified(false);
        topics_.count().refresh();
        return;
    }
    LoaderTarget target(*this);
    load(path, target, true);
    topics_.count().refresh();
}

void FileCommands::loadCommandLineFile(const std::string& path) {
    // No save prompt. A container (a file opened from the file manager)
    // shows its list, deciphered in memory; the file itself is never changed.
    if (!isExistingFile(path)) return;
    LoaderTarget target(*this);
    load(path, target, true);
}

}  // namespace kivo
