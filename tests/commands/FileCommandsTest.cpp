#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "FakeWindow.h"
#include "commands/FileCommands.h"
#include "core/Errors.h"
#include "core/PathRules.h"
#include "files/Cryptogram.h"

namespace kivo {
namespace {

namespace fs = std::filesystem;
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
    window.answers = {BoxAnswer::Cancel};
    EXPECT_THROW(commands.mnuNewClick(), SilentCancel);
    EXPECT_EQ(window.list, Lines{"犬"});

    window.answers = {BoxAnswer::Yes};
    window.paths = {std::nullopt};  // the save dialog is then cancelled
    commands.mnuNewClick();
    EXPECT_TRUE(window.list.empty());
    EXPECT_EQ(window.caption, kInitialCaption);
    EXPECT_EQ(window.shown, (Lines{"confirm:現在の単語リストを保存しますか？",
                                   "confirm:現在の単語リストを保存しますか？",
                                   "save:" + kSaveText.filter, "topics cleared"}));
}

TEST_F(CommandsTest, NewImportsAskToSaveAModifiedListFirst) {
    const std::string text = at("new.txt");
    write(text, "\x8E\x6C\r\n\x8C\xDC\r\n");  // 四, 五 in code page 932
    const std::string container = at("new.Kivo");
    write(container, EncipherContainer("四\r\n五\r\n", "tonic_Kivo_RW7QX214fy", 0));
    const struct {
        void (FileCommands::*run)();
        std::string file;
        std::string open;
    } imports[] = {
        {&FileCommands::mnuNewInporttxtClick, text, "open:" + kOpenText.filter},
        {&FileCommands::mnuNewInportKivoClick, container, "open:" + kOpenContainer.filter}};
    const std::string prompt = "confirm:現在の単語リストを保存しますか？";
    for (const auto& import : imports) {
        SCOPED_TRACE(import.file);
        const auto modifiedList = [&] {
            window.list = {"犬"};
            window.modified = true;
            window.caption = "old";
            window.shown.clear();
        };
        modifiedList();
        window.answers = {BoxAnswer::Cancel};
        EXPECT_THROW((commands.*import.run)(), SilentCancel);
        EXPECT_EQ(window.list, Lines{"犬"});
        EXPECT_TRUE(window.modified);
        EXPECT_EQ(window.caption, "old");
        EXPECT_EQ(window.shown, Lines{prompt});

        modifiedList();
        window.answers = {BoxAnswer::No};
        window.paths = {import.file};
        (commands.*import.run)();
        EXPECT_EQ(window.list, (Lines{"四", "五"}));
        EXPECT_FALSE(window.modified);
        EXPECT_EQ(window.shown, (Lines{prompt, import.open}));

        modifiedList();
        const std::string saved = at("saved.txt");
        window.answers = {BoxAnswer::Yes};
        window.paths = {saved, import.file};
        (commands.*import.run)();
        EXPECT_EQ(read(saved), "\x8C\xA2\r\n");  // 犬, the list before the import
        EXPECT_EQ(window.list, (Lines{"四", "五"}));
        EXPECT_EQ(window.shown, (Lines{prompt, "save:" + kSaveText.filter, import.open}));
        fs::remove(pathFromUtf8(saved));
    }
}

TEST_F(CommandsTest, AddImportsPutTheFileAfterTheList) {
    const std::string file = at("two.txt");
    write(file, "\x8E\x6C\r\n\x8C\xDC\r\n");  // 四, 五 in code page 932
    window.list = {"一", "二", "三"};
    window.modified = true;
    window.paths = {file};
    commands.mnuAddInporttxtClick();
    EXPECT_EQ(window.list, (Lines{"一", "二", "三", "四", "五"}));
    EXPECT_TRUE(window.modified);  // the joined list is in no file yet
    EXPECT_EQ(window.caption, "two.txt  >>>  Kivo version 1.33");

    window.paths = {std::nullopt};
    commands.mnuAddInportKivoClick();  // cancelled: the list stays
    EXPECT_EQ(window.list.size(), 5u);
    EXPECT_EQ(window.lineCounts, (Lines{"5", "5"}));
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

TEST_F(CommandsTest, AListTooLargeForTheControlLeavesTheOldListAndCaption) {
    const std::string file = at("big.txt");
    write(file, "a\r\nb\r\n");
    window.list = {"犬"};
    window.caption = "old";
    window.costs.memoryBudget = 3;
    window.paths = {file};
    EXPECT_THROW(commands.mnuNewInporttxtClick(), std::bad_alloc);
    EXPECT_EQ(window.list, Lines{"犬"});
    EXPECT_EQ(window.caption, "old");
}

TEST_F(CommandsTest, AWordDocumentMeetsTheSameMemoryRuleAsATextFile) {
    // Eight million paragraph marks, at the fixed places of an old Word
    // document and as line breaks in a text file.
    constexpr std::size_t kBlocks = 8'000'000 / 513 + 1;
    std::string doc(1280 + kBlocks * 513, '\r');
    doc.replace(0, 6, "\xD0\xCF\x11\xE0\xA1\xB1");
    std::fill(doc.begin() + 6, doc.begin() + 1280, '\0');
    doc[516] = '\x69';
    write(at("marks.doc"), doc);
    write(at("marks.txt"), std::string(kBlocks * 513, '\n'));
    window.room = kDefaultCapacity;
    for (const char* name : {"marks.doc", "marks.txt"}) {
        window.list = {"犬"};
        window.modified = true;
        EXPECT_THROW(commands.LoadWordListFile(at(name)), std::bad_alloc) << name;
        EXPECT_EQ(window.list, Lines{"犬"}) << name;
        EXPECT_EQ(window.busy, 0) << name;
    }
}

TEST_F(CommandsTest, LongWorkShowsTheWaitCursorAndTakesItBackOnEveryWayOut) {
    window.list = {"犬"};
    window.paths = {at("a.Kivo")};
    commands.mnuExportKivoClick();
    EXPECT_EQ(window.busyShown, 1);
    EXPECT_EQ(window.busy, 0);
    window.paths = {at("missing.txt")};
    EXPECT_THROW(commands.mnuAddInporttxtClick(), UserError);
    EXPECT_GT(window.busyShown, 1);
    EXPECT_EQ(window.busy, 0);
    // The list a failed add-import was to grow is still there.
    EXPECT_EQ(window.list, Lines{"犬"});
}

std::string fixture(const char* name) {
    std::ifstream in(std::string(KIVO_TEST_DATA_DIR) + "/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

TEST_F(CommandsTest, ADamagedOldWordDocumentGivesAnEmptyListWithoutAMessage) {
    // Nothing at the fixed places, so the document's own structure is read,
    // and that is damaged: the fixed places' empty result stands.
    const std::string doc = fixture("word-libreoffice-list.doc");
    std::size_t fib = 512;  // the WordDocument stream's first sector: the FIB's identifier
    while (fib + 2 < doc.size() && !(doc[fib] == '\xEC' && doc[fib + 1] == '\xA5')) fib += 512;
    ASSERT_LT(fib + 0x9A + 34 * 8, doc.size());
    std::string pieceTablePastTheEnd = doc;
    pieceTablePastTheEnd[fib + 0x9A + 33 * 8 + 3] = '\x7F';
    std::string zeroFib = doc;
    std::fill_n(zeroFib.begin() + static_cast<std::ptrdiff_t>(fib), 0x9A + 34 * 8, '\0');
    for (const auto& [name, bytes] : {std::pair{"directory cut short", doc.substr(0, 4096)},
                                      std::pair{"piece table past the end", pieceTablePastTheEnd},
                                      std::pair{"FIB all zeros", zeroFib}}) {
        window.list = {"犬"};
        write(at("damaged.doc"), bytes);
        EXPECT_NO_THROW(commands.LoadWordListFile(at("damaged.doc"))) << name;
        EXPECT_TRUE(window.list.empty()) << name;
        EXPECT_TRUE(window.shown.empty()) << name;
    }
}

}  // namespace
}  // namespace kivo
