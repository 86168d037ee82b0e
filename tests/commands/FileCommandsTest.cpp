#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "commands/FileCommands.h"
#include "core/Errors.h"
#include "core/PathRules.h"

namespace kivo {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

// The window as a few fields: the list's lines, its mark and switch, the
// caption, and scripted boxes and dialogs that record what was shown.
struct FakeWindow : WordListPort, FileWindowPort, BoxPort, FileDialogPort {
    Lines list;
    bool modified = false;
    bool plain = false;
    std::string caption;
    int countRefreshes = 0;
    std::vector<std::string> shown;  // boxes and dialogs, in order
    std::deque<BoxAnswer> answers;
    std::deque<std::optional<std::string>> paths;

    void focusList() override {}
    void clearList() override {
        list.clear();
        modified = false;
    }
    void loadWholeText(StyledText text) override {
        std::istringstream in(text.text);
        for (std::string line; std::getline(in, line);) list.push_back(line);
    }
    bool appendLine(std::string_view line) override {
        list.emplace_back(line);
        modified = true;
        return true;
    }
    std::size_t appendLines(std::span<const std::string> lines) override {
        for (const std::string& line : lines) appendLine(line);
        return lines.size();
    }
    void warning(const std::string& text) override { shown.push_back("warning:" + text); }
    bool isModified() const override { return modified; }
    void setModified(bool m) override { modified = m; }
    Lines lines() const override { return list; }
    void setLines(const Lines& lines) override {
        list = lines;
        modified = true;
    }
    bool plainTextMode() const override { return plain; }
    void setPlainTextMode(bool on) override { plain = on; }
    std::string text() const override {
        std::string out;
        for (const std::string& line : list) out += line + "\n";
        return out;
    }
    StyledText styledText() const override { return {text(), {}}; }
    void setCaption(const std::string& c) override { caption = c; }
    void refreshLineCount() override { ++countRefreshes; }
    void clearTopics() override { shown.push_back("topics cleared"); }
    BoxAnswer confirm(const std::string& text) override {
        shown.push_back("confirm:" + text);
        if (answers.empty()) return BoxAnswer::Cancel;
        const BoxAnswer a = answers.front();
        answers.pop_front();
        return a;
    }
    std::optional<std::string> next(const std::string& kind, const DialogSettings& s) {
        shown.push_back(kind + ":" + s.filter);
        if (paths.empty()) return std::nullopt;
        auto p = paths.front();
        paths.pop_front();
        return p;
    }
    std::optional<std::string> openFile(const DialogSettings& s) override {
        return next("open", s);
    }
    std::optional<std::string> saveFile(const DialogSettings& s) override {
        return next("save", s);
    }
};

class CommandsTest : public ::testing::Test {
protected:
    FakeWindow window;
    FileCommands commands{window, window, window, window};
    fs::path dir = fs::temp_directory_path() /
                   ("kivo-commands-" + std::to_string(std::random_device{}()) + "-語句");

    void SetUp() override { fs::create_directories(dir); }
    void TearDown() override { fs::remove_all(dir); }
    std::string at(const char* name) const { return utf8Of(dir / pathFromUtf8(name)); }
    static void write(const std::string& path, const std::string& bytes) {
        std::ofstream(pathFromUtf8(path), std::ios::binary) << bytes;
    }
    static std::string read(const std::string& path) {
        std::ifstream in(pathFromUtf8(path), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
};

TEST_F(CommandsTest, TheSavePromptCancelsSavesOrGoesOn) {
    window.list = {"犬"};
    window.modified = true;
    EXPECT_THROW(commands.mnuNewClick(), SilentCancel);
    EXPECT_EQ(window.list, Lines{"犬"});

    window.answers = {BoxAnswer::Yes};  // the save dialog is then cancelled
    commands.mnuNewClick();
    EXPECT_TRUE(window.list.empty());
    EXPECT_FALSE(window.plain);
    EXPECT_EQ(window.caption, kInitialCaption);
    EXPECT_EQ(window.shown, (Lines{"confirm:現在の単語リストを保存しますか？",
                                   "confirm:現在の単語リストを保存しますか？",
                                   "save:" + kSaveText.filter, "topics cleared"}));
}

TEST_F(CommandsTest, AddImportsPutTheFileAfterTheList) {
    const std::string file = at("two.txt");
    write(file, "\x8E\x6C\r\n\x8C\xDC\r\n");  // 四, 五 in code page 932
    window.list = {"一", "二", "三"};
    window.modified = true;
    window.paths = {file};
    commands.mnuAddInporttxtClick();
    EXPECT_EQ(window.list, (Lines{"一", "二", "三", "四", "五"}));
    EXPECT_FALSE(window.modified);
    EXPECT_EQ(window.caption, "two.txt  >>>  Kivo version 1.33");

    commands.mnuAddInportKivoClick();  // cancelled: the list stays
    EXPECT_EQ(window.list.size(), 5u);
    EXPECT_EQ(window.countRefreshes, 2);
}

TEST_F(CommandsTest, ExportsAskBeforeOverwritingAndImportsReadTheContainerBack) {
    const std::string target = at("動物.Kivo");
    write(target, "old");
    window.list = {"猫", "ｶﾞ"};
    window.modified = true;
    window.paths = {target};
    window.answers = {BoxAnswer::No};
    commands.mnuExporttxtClick();
    EXPECT_EQ(read(target), "old");
    EXPECT_FALSE(window.modified);  // cleared although nothing was saved
    EXPECT_FALSE(window.plain);
    EXPECT_EQ(window.shown.back(), "confirm:" + target + " は既に存在します。\r\n上書きしますか？");

    window.paths = {target};
    window.answers = {BoxAnswer::Yes};
    commands.mnuExportKivoClick();
    EXPECT_EQ(read(target).substr(2, 4), "Kivo");
    EXPECT_EQ(commands.currentFile(), target);

    window.list.clear();
    commands.WMDropFiles({target, at("ignored.txt")});
    EXPECT_EQ(window.list, (Lines{"猫", "ｶﾞ"}));
    EXPECT_EQ(read(target).substr(2, 4), "Kivo");
}

}  // namespace
}  // namespace kivo
