#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>

#include "FileCommandsFixture.h"
#include "core/Errors.h"
#include "core/KeptCopies.h"
#include "files/Cryptogram.h"
#include "support/Containers.h"

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace kivo {
namespace {

namespace fs = std::filesystem;
using CommandsTest = FileCommandsFixture;

const std::string kSavePrompt = "confirm:現在の単語リストを保存しますか？";
// The dialogs as the user meets them: filter and default extension.
const std::string kSaveTextDialog =
    "save:txt ファイル　(*.txt)|*.txt|全てのファイル　(*.*)|*.*:.txt";
const std::string kSaveContainerDialog = "save:Kivo ファイル　(*.Kivo)|*.Kivo:.Kivo";
const std::string kOpenTextDialog =
    "open:テキストファイル (*.txt)|*.txt|全てのファイル(*.*)|*.*:.txt";
const std::string kOpenContainerDialog = "open:Kivo ファイル (*.Kivo)|*.Kivo:.Kivo";

TEST_F(CommandsTest, ANewListAsksToSaveOnlyAModifiedOne) {
    window.list = {"犬", "猫"};
    // The caption names the file before the title; "%1" is text, not a place.
    commands.setCurrentFile("/x/%1%2.txt");
    EXPECT_EQ(window.caption, "%1%2.txt  >>>  Kivo version 1.33");
    commands.newList();
    EXPECT_TRUE(window.list.empty());
    EXPECT_EQ(window.caption, kInitialCaption);
    EXPECT_EQ(commands.currentFile(), "/x/%1%2.txt");
    EXPECT_EQ(window.lineCounts, Lines{"0"});
    EXPECT_EQ(window.shown, Lines{"topics cleared"});

    window.list = {"犬"};
    window.modified = true;
    window.shown.clear();
    window.answers = {BoxAnswer::Cancel};
    EXPECT_THROW(commands.newList(), SilentCancel);
    EXPECT_EQ(window.list, Lines{"犬"});
    EXPECT_TRUE(window.modified);

    window.answers = {BoxAnswer::Yes};
    window.paths = {std::nullopt};  // the save dialog is then cancelled
    commands.newList();
    EXPECT_TRUE(window.list.empty());
    EXPECT_FALSE(window.modified);
    EXPECT_EQ(window.shown, (Lines{kSavePrompt, kSavePrompt, kSaveTextDialog, "topics cleared"}));
}

TEST_F(CommandsTest, NewImportsAskToSaveAModifiedListFirst) {
    const std::string text =
        write("new.txt", "\x8E\x6C\r\n\x8C\xDC\r\n");  // 四, 五 in code page 932
    const std::string container = write("new.Kivo", EncipherContainer("四\r\n五\r\n", kContainerKey, 0));
    const struct {
        void (FileCommands::*run)();
        std::string file;
        std::string open;
    } imports[] = {{&FileCommands::importTextAsNewList, text, kOpenTextDialog},
                   {&FileCommands::importContainerAsNewList, container, kOpenContainerDialog}};
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
        EXPECT_EQ(window.shown, Lines{kSavePrompt});

        modifiedList();
        window.answers = {BoxAnswer::No};
        window.paths = {import.file};
        (commands.*import.run)();
        EXPECT_EQ(window.list, (Lines{"四", "五"}));
        EXPECT_FALSE(window.modified);
        EXPECT_EQ(window.shown, (Lines{kSavePrompt, import.open}));

        modifiedList();
        const std::string saved = at("saved.txt");
        window.answers = {BoxAnswer::Yes};
        window.paths = {saved, import.file};
        (commands.*import.run)();
        EXPECT_EQ(read(saved), "\x8C\xA2\r\n");  // 犬, the list before the import
        EXPECT_EQ(window.list, (Lines{"四", "五"}));
        EXPECT_EQ(window.shown, (Lines{kSavePrompt, kSaveTextDialog, import.open}));
        fs::remove(pathFromUtf8(saved));
    }
}

TEST_F(CommandsTest, AddImportsPutTheFileAfterTheList) {
    const std::string file =
        write("two.txt", "\x8E\x6C\r\n\x8C\xDC\r\n");  // 四, 五 in code page 932
    window.list = {"一", "二", "三"};
    window.modified = true;
    window.room = kRaisedCapacity;  // the file's lines go in at the list's end
    window.paths = {file};
    commands.addTextToList();
    EXPECT_EQ(window.list, (Lines{"一", "二", "三", "四", "五"}));
    EXPECT_TRUE(window.modified);  // the joined list is in no file yet
    EXPECT_EQ(window.caption, "two.txt  >>>  Kivo version 1.33");

    window.paths = {std::nullopt};
    commands.addContainerToList();  // cancelled: the list stays
    EXPECT_EQ(window.list.size(), 5u);
    EXPECT_EQ(window.lineCounts, (Lines{"5", "5"}));
    EXPECT_EQ(window.shown, (Lines{kOpenTextDialog, kOpenContainerDialog}));  // adding asks nothing

    // The file alone fits what the list may cost, the joined list does not:
    // the list and its mark stay as they were.
    window.modified = false;
    window.costs.memoryBudget = 50;
    window.paths = {file};
    EXPECT_THROW(commands.addTextToList(), std::bad_alloc);
    EXPECT_EQ(window.list.size(), 5u);
    EXPECT_FALSE(window.modified);
}

TEST_F(CommandsTest, ExportsAskBeforeOverwritingAndImportsReadTheContainerBack) {
    const std::string target = write("動物.Kivo", "old");
    window.list = {"猫", "ｶﾞ"};
    window.modified = true;
    window.paths = {target};
    window.answers = {BoxAnswer::No};
    commands.exportText();
    EXPECT_EQ(read(target), "old");
    EXPECT_FALSE(window.modified);  // cleared although nothing was saved
    EXPECT_EQ(window.shown.back(), "confirm:" + target + " は既に存在します。\r\n上書きしますか？");

    window.modified = true;
    window.paths = {target};
    window.answers = {BoxAnswer::Cancel};
    commands.exportContainer();
    EXPECT_EQ(read(target), "old");
    EXPECT_TRUE(window.modified);
    EXPECT_TRUE(window.lineCounts.empty());  // neither refusal counts the list again

    window.paths = {target};
    window.answers = {BoxAnswer::Yes};
    commands.exportContainer();
    EXPECT_EQ(read(target).substr(2, 4), "Kivo");
    EXPECT_EQ(commands.currentFile(), target);

    window.list.clear();
    commands.openDroppedFile({target, at("ignored.txt")});
    EXPECT_EQ(window.list, (Lines{"猫", "ｶﾞ"}));
    EXPECT_EQ(read(target).substr(2, 4), "Kivo");
}

TEST_F(CommandsTest, AContainerExportedIsImportedBackUnchanged) {
    const Lines list = {"犬", "表ソ", "{a\\b}", "ｶﾞ😀", "", "한국"};
    window.list = list;
    window.modified = true;
    const std::string target = at("動物.Kivo");
    window.paths = {target};
    commands.exportContainer();
    EXPECT_FALSE(window.modified);
    EXPECT_EQ(window.caption, "動物.Kivo  >>>  Kivo version 1.33");
    EXPECT_EQ(window.shown, Lines{kSaveContainerDialog});
    const std::string stored = read(target);
    ASSERT_GT(stored.size(), 44u);
    EXPECT_EQ(stored.substr(0, 6), std::string("\x17\x00Kivo", 6));

    // A fresh window imports it: the same lines, and the same file.
    FakeWindow fresh;
    TopicCommands freshTopics{fresh, fresh, fresh, fresh, fresh};
    FileCommands freshCommands{fresh, fresh, fresh, fresh, freshTopics};
    fresh.paths = {target};
    freshCommands.importContainerAsNewList();
    EXPECT_EQ(fresh.list, list);
    EXPECT_FALSE(fresh.modified);
    EXPECT_EQ(fresh.lineCounts, Lines{"6"});
    EXPECT_EQ(fresh.shown, Lines{kOpenContainerDialog});
    EXPECT_EQ(read(target), stored);
}

TEST_F(CommandsTest, AContainerWhoseLoadFailsStaysEnciphered) {
    // A container whose plain content is a Word document cut short.
    std::string doc(600, '\0');
    doc.replace(0, 6, "\xD0\xCF\x11\xE0\xA1\xB1");
    const std::string container = EncipherContainer(doc, kContainerKey, 0);
    window.paths = {write("broken.Kivo", container)};
    EXPECT_EQ(errorOf([&] { commands.importContainerAsNewList(); }),
              "ファイルの末尾以降を読み込みました");
    EXPECT_EQ(read(at("broken.Kivo")), container);
}

TEST_F(CommandsTest, TextExportIsCodePage932OrUtf8WhenNeeded) {
    window.list = {"犬", "ｶﾞ"};
    window.paths = {at("sjis.txt")};
    commands.exportText();
    EXPECT_EQ(read(at("sjis.txt")), "\x8C\xA2\r\n\xB6\xDE\r\n");
    EXPECT_EQ(commands.currentFile(), at("sjis.txt"));

    window.list = {"犬", "😀"};
    window.paths = {at("utf8.txt"), at("utf8.txt")};
    commands.exportText();
    EXPECT_EQ(read(at("utf8.txt")), "\xEF\xBB\xBF犬\r\n😀\r\n");
    window.list.clear();
    commands.importTextAsNewList();
    EXPECT_EQ(window.list, (Lines{"犬", "😀"}));
    EXPECT_EQ(window.shown, (Lines{kSaveTextDialog, kSaveTextDialog, kOpenTextDialog}));
}

TEST_F(CommandsTest, AnExportThatCannotWriteSaysWhy) {
    window.paths = {at("no-such-folder/list.txt")};
    EXPECT_EQ(errorOf([&] { commands.exportText(); }),
              "ファイル " + at("no-such-folder/list.txt") + " を作成できません");
}

TEST_F(CommandsTest, DropsTakeTheFirstFileAndTryDecryptionUnlessDotTxt) {
    const std::string upper = write("LIST.TXT", "a\r\nb");
    commands.openDroppedFile({upper, at("ignored.txt"), at("also.txt")});
    EXPECT_EQ(window.list, (Lines{"a", "b"}));
    EXPECT_EQ(read(upper), "a\r\nb");  // not a container: unchanged
    EXPECT_EQ(window.lineCounts.back(), "2");

    // A container: loaded, and left as it is.
    const std::string container = EncipherContainer("猫\r\n", kContainerKey, 0);
    commands.openDroppedFile({write("c.Kivo", container)});
    EXPECT_EQ(window.list, Lines{"猫"});
    EXPECT_EQ(read(at("c.Kivo")), container);

    // A tiny RTF stays plain.
    commands.openDroppedFile({write("t.rtf", "{\\rtf1 tiny\\par}")});
    EXPECT_EQ(window.list, Lines{"tiny"});
    EXPECT_EQ(read(at("t.rtf")), "{\\rtf1 tiny\\par}");

    // A modified list is asked about first: cancelled, nothing loads; left
    // unsaved, it is replaced.
    window.modified = true;
    window.answers = {BoxAnswer::Cancel, BoxAnswer::No};
    EXPECT_THROW(commands.openDroppedFile({upper}), SilentCancel);
    EXPECT_EQ(window.list, Lines{"tiny"});
    commands.openDroppedFile({write("words.rtf", "{\\rtf1 dog\\par cat\\par}")});
    EXPECT_EQ(window.list, (Lines{"dog", "cat"}));
    EXPECT_EQ(window.caption, "words.rtf  >>>  Kivo version 1.33");
    EXPECT_FALSE(window.modified);
    EXPECT_EQ(window.shown, (Lines{kSavePrompt, kSavePrompt}));  // nothing saved
}

TEST_F(CommandsTest, ADroppedDotTxtFileLoadsAsStoredAndClearsTheMark) {
    // A Word document appends its lines, which leaves the mark set; here
    // the drop clears it.
    std::string doc(1280 + 513, '\0');
    doc.replace(0, 6, "\xD0\xCF\x11\xE0\xA1\xB1");
    doc[516] = 0x69;
    doc.replace(1280, 4, "A\rB\r");
    commands.openDroppedFile({write("doc.txt", doc)});
    EXPECT_EQ(window.list, (Lines{"A", "B"}));
    EXPECT_FALSE(window.modified);
    EXPECT_EQ(window.lineCounts.back(), "2");

    // A container named .txt is not deciphered: its stored bytes load.
    const std::string container = EncipherContainer("猫\r\n", kContainerKey, 0);
    commands.openDroppedFile({write("c.txt", container)});
    EXPECT_NE(window.list, Lines{"猫"});
    EXPECT_EQ(read(at("c.txt")), container);
}

TEST_F(CommandsTest, TheCommandLineFileLoadsAndIsNeverChanged) {
    const std::string container = EncipherContainer("x\r\n", kContainerKey, 0);
    commands.loadCommandLineFile(write("cmd.Kivo", container));
    EXPECT_EQ(window.list, Lines{"x"});
    EXPECT_EQ(read(at("cmd.Kivo")), container);

    for (const std::string& arg : {utf8Of(folder.root()), at("missing.txt")}) {
        window.list.clear();
        commands.loadCommandLineFile(arg);
        EXPECT_TRUE(window.list.empty()) << arg;
    }
    EXPECT_TRUE(window.shown.empty());
}

TEST_F(CommandsTest, ImportsDecipherInMemoryAndNeverTouchTheFile) {
    const std::string container = at("読み取り専用.Kivo");
    window.list = {"犬", "猫"};
    window.paths = {container};
    commands.exportContainer();
    // An old leftover of the same name as the earlier temporary file.
    write("読み取り専用.tmp", "leftover");
    const fs::path file = pathFromUtf8(container);
    fs::last_write_time(file, fs::file_time_type::clock::now() - std::chrono::hours(3));
    fs::permissions(file, fs::perms::owner_read | fs::perms::group_read);
    const auto oldTime = fs::last_write_time(file);
    const std::string stored = read(container);
    const auto untouched = [&] {
        EXPECT_EQ(read(container), stored);
        EXPECT_EQ(fs::last_write_time(file), oldTime);
    };
    window.list.clear();
    window.paths = {container};
    commands.importContainerAsNewList();
    EXPECT_EQ(window.list, (Lines{"犬", "猫"}));
    EXPECT_EQ(window.caption, "読み取り専用.Kivo  >>>  Kivo version 1.33");
    untouched();

    window.list = {"一"};
    window.paths = {container};
    commands.addContainerToList();
    EXPECT_EQ(window.list, (Lines{"一", "犬", "猫"}));
    untouched();

    window.list.clear();
    window.modified = false;
    commands.openDroppedFile({container});
    EXPECT_EQ(window.list, (Lines{"犬", "猫"}));
    untouched();
    EXPECT_EQ(window.shown,
              (Lines{kSaveContainerDialog, kOpenContainerDialog, kOpenContainerDialog}));
}

TEST_F(CommandsTest, AContainerOfAWordDocumentImportsItsLines) {
    for (const char* name : {"word-libreoffice-list.doc", "word-libreoffice-list.docx"}) {
        SCOPED_TRACE(name);
        window.paths = {write("word.Kivo", EncipherContainer(testData(name), kContainerKey, 0))};
        commands.importContainerAsNewList();
        ASSERT_EQ(window.list.size(), 15u);
        EXPECT_EQ(window.list.front(), "犬");
        EXPECT_EQ(window.list.back(), "最後");
    }
    EXPECT_EQ(window.shown, (Lines{kOpenContainerDialog, kOpenContainerDialog}));
}

TEST_F(CommandsTest, AContainerOfASpreadsheetImportsItsCells) {
    const std::string sheet =
        write("sheet.Kivo", EncipherContainer(testData("calc-libreoffice-list.ods"), kContainerKey, 0));
    window.paths = {sheet};
    commands.importContainerAsNewList();
    ASSERT_EQ(window.list.size(), 26u);
    EXPECT_EQ(window.list.front(), "犬");

    // Drawing by heading, its columns come in as sections under the first
    // row's cells.
    topics.setByHeading(true);
    window.paths = {sheet};
    commands.importContainerAsNewList();
    EXPECT_EQ(window.list.front(), "【犬】");
    EXPECT_EQ(window.lineCounts.back(), "22（6見出し）");
}

TEST_F(CommandsTest, AContainerThatCannotBeReadIsNeverShownEnciphered) {
    // A header for our key over a body the reader cannot take.
    const std::string container = write("big.Kivo", EncipherContainer("{\\rtf1 a\\par}", kContainerKey, 0));
    fs::resize_file(pathFromUtf8(container), 300u * 1024 * 1024);
    window.list = {"元"};
    window.paths = {container};
    EXPECT_EQ(errorOf([&] { commands.addContainerToList(); }),
              "ストリームからの読み込みに失敗しました");
    EXPECT_EQ(window.list, Lines{"元"});
}

TEST_F(CommandsTest, ExportsWriteThroughLinksAndTakeLongNames) {
#ifndef _WIN32
    // Windows makes links only for those who hold the right to.
    write("real.Kivo", "old");
    fs::create_symlink(folder.path("real.Kivo"), folder.path("link.Kivo"));
    window.list = {"新"};
    window.paths = {at("link.Kivo")};
    window.answers = {BoxAnswer::Yes};
    commands.exportContainer();
    EXPECT_TRUE(window.answers.empty());
    EXPECT_TRUE(fs::is_symlink(folder.path("link.Kivo")));
    window.list.clear();
    window.paths = {at("real.Kivo")};
    commands.importContainerAsNewList();
    EXPECT_EQ(window.list, Lines{"新"});
#endif

    // 80 kanji and ".txt": 244 bytes, within the file system's 255.
    std::string name;
    for (int i = 0; i < 80; ++i) name += "犬";
    window.list = {"新"};
    window.paths = {at(name + ".txt")};
    commands.exportText();
    EXPECT_EQ(read(at(name + ".txt")), "\x90\x56\r\n");
}

#ifndef _WIN32
TEST_F(CommandsTest, APipeIsAskedAboutAndLeftAlone) {
    window.list = {"犬"};
    ASSERT_EQ(::mkfifo(folder.path("pipe.txt").c_str(), 0600), 0);
    window.paths = {at("pipe.txt")};
    window.answers = {BoxAnswer::No};
    commands.exportText();
    EXPECT_EQ(window.shown.back(),
              "confirm:" + at("pipe.txt") + " は既に存在します。\r\n上書きしますか？");
    EXPECT_EQ(fs::status(folder.path("pipe.txt")).type(), fs::file_type::fifo);
}

TEST_F(CommandsTest, AFullDiskShowsItsErrorAndKeepsTheOldFile) {
    if (::geteuid() != 0) GTEST_SKIP() << "mounting a small disk needs root";
    const fs::path disk = folder.path("disk");
    fs::create_directory(disk);
    if (std::system(("mount -t tmpfs -o size=64k tmpfs '" + disk.string() + "'").c_str()) != 0)
        GTEST_SKIP() << "no tmpfs here";
    const struct Unmount {
        fs::path disk;
        ~Unmount() { std::system(("umount '" + disk.string() + "'").c_str()); }
    } unmount{disk};
    const auto listOf = [](int count) {
        Lines words;
        for (int i = 0; i < count; ++i) words.push_back("単語" + std::to_string(i));
        return words;
    };
    const auto exportTo = [&](void (FileCommands::*command)()) {
        window.paths = {write("disk/list", "old")};
        window.answers = {BoxAnswer::Yes};
        const std::string error = errorOf([&] { (commands.*command)(); });
        EXPECT_EQ(std::distance(fs::directory_iterator(disk), fs::directory_iterator()), 1);
        return error;
    };
    // A container that fits once, but not beside a plain copy of itself.
    window.list = listOf(1500);
    EXPECT_EQ(exportTo(&FileCommands::exportContainer), "");
    EXPECT_EQ(read(at("disk/list")).substr(2, 4), "Kivo");

    window.list = listOf(20000);
    for (const auto command :
         {&FileCommands::exportText, &FileCommands::exportContainer}) {
        EXPECT_EQ(exportTo(command), "ディスクがいっぱいです");
        EXPECT_EQ(read(at("disk/list")), "old");
    }
}
#endif

TEST_F(CommandsTest, OldContentACutOffSaveLeftIsOfferedBeforeTheFileIsReadOrSaved) {
    // What a save killed half-way leaves: the file torn, its old content
    // and the record naming it in the cache folder.
    const fs::path cache = folder.path("cache");
    fs::create_directory(cache);
    fs::permissions(cache, fs::perms::owner_all);
    commands.useCacheFolder(cache);
    const auto tear = [&](const std::string& name) {
        const std::string path = write(name, "犬\n猫");
        const fs::path copy = cache / keptCopyName(pathFromUtf8(path), "0123abcd");
        std::ofstream(copy, std::ios::binary) << "犬\n猫\n鳥\n";
        fs::path record;
        int error = 0;
        EXPECT_TRUE(recordKeptCopy(copy, pathFromUtf8(path), fs::file_size(copy), record, error).isOpen());
        return path;
    };
    const std::string torn = tear("torn.txt");
    const std::optional<KeptCopy> offered = keptCopyToOffer(pathFromUtf8(torn), cache);
    ASSERT_TRUE(offered);
    const std::string question = "confirm:" + keptCopyQuestion(*offered);

    // Cancel reads nothing and asks again next time; yes puts it back, then reads it.
    window.paths = {torn, torn};
    window.answers = {BoxAnswer::Cancel, BoxAnswer::Yes};
    EXPECT_THROW(commands.importTextAsNewList(), SilentCancel);
    EXPECT_TRUE(window.list.empty());
    commands.importTextAsNewList();
    EXPECT_EQ(window.list, (Lines{"犬", "猫", "鳥"}));
    EXPECT_EQ(read(torn), "犬\n猫\n鳥\n");
    EXPECT_EQ(window.shown, (std::vector<std::string>{kOpenTextDialog, question, kOpenTextDialog, question}));

    // No keeps the file as it is; a save goes ahead over it, offered nothing more.
    const std::string other = tear("other.txt");
    window.shown.clear();
    window.paths = {other};
    window.answers = {BoxAnswer::Yes, BoxAnswer::No};
    commands.exportText();
    EXPECT_EQ(window.shown.size(), 3u);
    EXPECT_FALSE(keptCopyToOffer(pathFromUtf8(other), cache));
    EXPECT_EQ(read(other), "\x8C\xA2\r\n\x94L\r\n\x92\xB9\r\n");  // the list, in code page 932
}

TEST_F(CommandsTest, AListTooLargeForTheControlLeavesTheOldListAndCaption) {
    const std::string file = write("big.txt", "a\r\nb\r\n");
    window.list = {"犬"};
    window.caption = "old";
    window.costs.memoryBudget = 3;
    window.paths = {file};
    EXPECT_THROW(commands.importTextAsNewList(), std::bad_alloc);
    EXPECT_EQ(window.list, Lines{"犬"});
    EXPECT_EQ(window.caption, "old");
}

TEST_F(CommandsTest, LongWorkShowsTheWaitCursorAndTakesItBackOnEveryWayOut) {
    window.list = {"犬"};
    window.paths = {at("a.Kivo")};
    commands.exportContainer();
    EXPECT_EQ(window.busyShown, 1);
    EXPECT_EQ(window.busy, 0);
    window.paths = {at("missing.txt")};
    EXPECT_THROW(commands.addTextToList(), UserError);
    EXPECT_GT(window.busyShown, 1);
    EXPECT_EQ(window.busy, 0);
    // The list a failed add-import was to grow is still there.
    EXPECT_EQ(window.list, Lines{"犬"});
}

}  // namespace
}  // namespace kivo
