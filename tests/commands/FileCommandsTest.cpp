#include <gtest/gtest.h>

#include <filesystem>

#include "FileCommandsFixture.h"
#include "core/Errors.h"
#include "files/Cryptogram.h"

namespace kivo {
namespace {

namespace fs = std::filesystem;
using CommandsTest = FileCommandsFixture;

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
    const std::string text =
        write("new.txt", "\x8E\x6C\r\n\x8C\xDC\r\n");  // 四, 五 in code page 932
    const std::string container =
        write("new.Kivo", EncipherContainer("四\r\n五\r\n", "tonic_Kivo_RW7QX214fy", 0));
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
    const std::string file =
        write("two.txt", "\x8E\x6C\r\n\x8C\xDC\r\n");  // 四, 五 in code page 932
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
    const std::string target = write("動物.Kivo", "old");
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
    const std::string file = write("big.txt", "a\r\nb\r\n");
    window.list = {"犬"};
    window.caption = "old";
    window.costs.memoryBudget = 3;
    window.paths = {file};
    EXPECT_THROW(commands.mnuNewInporttxtClick(), std::bad_alloc);
    EXPECT_EQ(window.list, Lines{"犬"});
    EXPECT_EQ(window.caption, "old");
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

}  // namespace
}  // namespace kivo
