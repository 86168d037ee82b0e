#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QTest>
#include <QUrl>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "FormControls.h"
#include "ScriptedBoxes.h"
#include "app/TMainForm.h"
#include "files/Cryptogram.h"
#include "platform/FileDialogs.h"
#include "platform/MemoControl.h"

namespace kivo {
namespace {

namespace fs = std::filesystem;
using Answer = Boxes::Answer;

// Dialogs answered from a queue; each use is recorded with its settings. A
// dialog that finds no answer left fails the test and is cancelled.
struct ScriptedDialogs : FileDialogs {
    std::vector<std::optional<QString>> answers;
    std::vector<QString> shown;  // "open:<filter>" or "save:<filter>"
    std::optional<QString> next(const QString& kind, const FileDialogSettings& s) {
        shown.push_back(kind + ":" + s.filter + ":" + s.defaultExtension);
        if (answers.empty()) {
            ADD_FAILURE() << "unanswered " << kind.toStdString()
                          << " dialog: " << s.filter.toStdString();
            return std::nullopt;
        }
        auto a = answers.front();
        answers.erase(answers.begin());
        return a;
    }
    std::optional<QString> openFile(const FileDialogSettings& s) override {
        return next("open", s);
    }
    std::optional<QString> saveFile(const FileDialogSettings& s) override {
        return next("save", s);
    }
};

std::string readAll(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

class FileCommandsTest : public ::testing::Test {
protected:
    ScriptedBoxes boxes;
    ScriptedDialogs dialogs;
    std::unique_ptr<TMainForm> form = makeForm();
    fs::path dir;

    std::unique_ptr<TMainForm> makeForm() {
        auto f = std::make_unique<TMainForm>(boxes);
        f->setFileDialogs(dialogs);
        return f;
    }
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("kivo-files-" + std::to_string(std::random_device{}()) + "-ファイル");
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    QString path(const char* name) const {
        return QString::fromStdString(
            (dir / fs::path(std::u8string(reinterpret_cast<const char8_t*>(name)))).string());
    }
    void write(const QString& p, const std::string& bytes) {
        std::ofstream(p.toStdString(), std::ios::binary) << bytes;
    }
    void run(const char* name) { form->findChild<QAction*>(QString::fromLatin1(name))->trigger(); }
    QStringList lines() const { return ui(*form).Memo->allLines(); }
    // Drops files on the window, or on one of its controls.
    void drop(const QStringList& paths, QWidget* on = nullptr) {
        if (!on) on = form.get();
        QMimeData data;
        QList<QUrl> urls;
        for (const QString& p : paths) urls << QUrl::fromLocalFile(p);
        data.setUrls(urls);
        data.setText(urls.first().toString());  // file managers offer the text too
        // As the desktop does it: the target accepts the drag, then the drop.
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        QCoreApplication::sendEvent(on, &enter);
        ASSERT_TRUE(enter.isAccepted());
        QDropEvent event(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(on, &event);
    }
    std::vector<ScriptedBoxes::Shown> confirms() const {
        std::vector<ScriptedBoxes::Shown> out;
        for (const auto& b : boxes.shown)
            if (b.kind == ScriptedBoxes::Shown::Confirm) out.push_back(b);
        return out;
    }
    // The last confirmation box's text; a command that asked nothing fails
    // the test here rather than crashing it.
    QString lastConfirm() const {
        const auto all = confirms();
        if (all.empty()) {
            ADD_FAILURE() << "no confirmation box was shown";
            return {};
        }
        return all.back().text;
    }
};

TEST_F(FileCommandsTest, NewListAsksOnlyAboutAModifiedList) {
    ui(*form).Memo->setPlainUtf8("犬\n猫");
    ui(*form).Edit1st->setText(QStringLiteral(" 犬"));
    form->SetCurrentFile("/x/list.txt");
    run("mnuNew");
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(ui(*form).Memo->count(), 0);
    EXPECT_TRUE(ui(*form).Edit1st->text().isEmpty());
    EXPECT_EQ(form->windowTitle(), TMainForm::kInitialCaption);
    EXPECT_EQ(form->currentFile(), "/x/list.txt");
    EXPECT_EQ(ui(*form).LabelLineValue->text(), QStringLiteral("0"));

    ui(*form).Memo->setPlainUtf8("犬");
    ui(*form).Memo->setModified(true);
    boxes.answers = {Answer::Cancel};
    run("mnuNew");
    EXPECT_EQ(lines(), QStringList{"犬"});
    EXPECT_TRUE(ui(*form).Memo->isModified());
    ASSERT_EQ(confirms().size(), 1u);
    EXPECT_EQ(confirms()[0].text, QStringLiteral("現在の単語リストを保存しますか？"));

    boxes.answers = {Answer::Yes};
    dialogs.answers = {std::nullopt};  // the save dialog is then cancelled
    run("mnuNew");
    EXPECT_EQ(ui(*form).Memo->count(), 0);
    EXPECT_FALSE(ui(*form).Memo->isModified());
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0],
              QStringLiteral("save:txt ファイル　(*.txt)|*.txt|全てのファイル　(*.*)|*.*:.txt"));
}

TEST_F(FileCommandsTest, ContainerExportAndImportRoundTrip) {
    const QString list = QStringLiteral("犬\n表ソ\n{a\\b}\nｶﾞ😀\n\n한국");
    ui(*form).Memo->setPlainUtf8(list.toStdString());
    ui(*form).Memo->setModified(true);
    const QString target = path("動物.Kivo");
    dialogs.answers = {target};
    run("mnuExportKivo");
    EXPECT_FALSE(ui(*form).Memo->isModified());
    EXPECT_EQ(form->windowTitle(), QStringLiteral("動物.Kivo  >>>  Kivo version 1.33"));
    const std::string stored = readAll(target.toStdString());
    ASSERT_GT(stored.size(), 44u);
    EXPECT_EQ(stored.substr(0, 6), std::string("\x17\x00Kivo", 6));
    EXPECT_EQ(dialogs.shown[0], QStringLiteral("save:Kivo ファイル　(*.Kivo)|*.Kivo:.Kivo"));

    // A fresh window imports it: same lines, and the file is a container
    // again with the same stamp.
    form = makeForm();
    dialogs.answers = {target};
    run("mnuNewInportKivo");
    EXPECT_EQ(lines(), list.split(QLatin1Char('\n')));
    EXPECT_FALSE(ui(*form).Memo->isModified());
    EXPECT_EQ(ui(*form).LabelLineValue->text(), QStringLiteral("6"));
    const std::string again = readAll(target.toStdString());
    EXPECT_EQ(again.substr(0, 10), stored.substr(0, 10));
    EXPECT_EQ(again.size(), stored.size());
    EXPECT_EQ(dialogs.shown.back(), QStringLiteral("open:Kivo ファイル (*.Kivo)|*.Kivo:.Kivo"));
}

TEST_F(FileCommandsTest, AContainerWhoseLoadFailsStaysEnciphered) {
    // A container whose plain content is a Word document cut short.
    const QString target = path("broken.Kivo");
    std::string doc(600, '\0');
    doc.replace(0, 6, "\xD0\xCF\x11\xE0\xA1\xB1");
    write(target, doc);
    ASSERT_TRUE(EncryptFileInPlace(target.toStdString(), "tonic_Kivo_RW7QX214fy"));
    const std::string before = readAll(target.toStdString());
    dialogs.answers = {target};
    run("mnuNewInportKivo");
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, QStringLiteral("ファイルの末尾以降を読み込みました."));
    const std::string after = readAll(target.toStdString());
    EXPECT_EQ(after.substr(0, 6), std::string("\x17\x00Kivo", 6));
    EXPECT_EQ(after.substr(44), before.substr(44));
}

TEST_F(FileCommandsTest, OverwritePromptGuardsBothExports) {
    const QString target = path("old.txt");
    write(target, "old");
    ui(*form).Memo->setPlainUtf8("新");
    ui(*form).Memo->setModified(true);
    ui(*form).LabelLineValue->setText(QStringLiteral("label"));

    dialogs.answers = {target};
    boxes.answers = {Answer::No};
    run("mnuExporttxt");
    EXPECT_EQ(readAll(target.toStdString()), "old");
    EXPECT_FALSE(ui(*form).Memo->isModified());  // cleared although nothing was saved
    EXPECT_EQ(ui(*form).LabelLineValue->text(), QStringLiteral("label"));
    EXPECT_EQ(lastConfirm(), target + QStringLiteral(" は既に存在します。\r\n上書きしますか？"));

    ui(*form).Memo->setModified(true);
    dialogs.answers = {target};
    boxes.answers = {Answer::Cancel};
    run("mnuExportKivo");
    EXPECT_EQ(readAll(target.toStdString()), "old");
    EXPECT_TRUE(ui(*form).Memo->isModified());

    dialogs.answers = {target};
    boxes.answers = {Answer::Yes};
    run("mnuExportKivo");
    const std::string container = readAll(target.toStdString());
    EXPECT_EQ(container.substr(2, 4), "Kivo");  // the switch is off again: RTF inside
}

TEST_F(FileCommandsTest, TextExportIsCodePage932OrUtf8WhenNeeded) {
    ui(*form).Memo->setPlainUtf8("犬\nｶﾞ\n");
    const QString sjis = path("sjis.txt");
    dialogs.answers = {sjis};
    run("mnuExporttxt");
    EXPECT_EQ(readAll(sjis.toStdString()), "\x8C\xA2\r\n\xB6\xDE\r\n");
    EXPECT_EQ(form->currentFile(), sjis.toStdString());

    ui(*form).Memo->setPlainUtf8("犬\n😀");
    const QString utf8 = path("utf8.txt");
    dialogs.answers = {utf8};
    run("mnuExporttxt");
    EXPECT_EQ(readAll(utf8.toStdString()), "\xEF\xBB\xBF犬\r\n😀");
    dialogs.answers = {utf8};
    run("mnuNewInporttxt");
    EXPECT_EQ(lines(), (QStringList{"犬", "😀"}));
    EXPECT_EQ(dialogs.shown.back(),
              QStringLiteral("open:テキストファイル (*.txt)|*.txt|全てのファイル(*.*)|*.*:.txt"));
}

TEST_F(FileCommandsTest, ExportErrorsReachTheErrorBox) {
    const QString target = path("no-such-folder/list.txt");
    dialogs.answers = {target};
    run("mnuExporttxt");
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text,
              QStringLiteral("ファイル ") + target + QStringLiteral(" を作成できません."));
}

TEST_F(FileCommandsTest, AddImportsAppendTheFileToTheList) {
    const QString file = path("two.txt");
    write(file, "四\r\n五\r\n");
    ui(*form).Memo->setPlainUtf8("一\n二\n三");
    ui(*form).Memo->setModified(true);
    dialogs.answers = {file};
    run("mnuAddInporttxt");
    EXPECT_EQ(lines(), (QStringList{"一", "二", "三", "四", "五"}));
    EXPECT_TRUE(ui(*form).Memo->isModified());  // the joined list is in no file yet
    EXPECT_EQ(ui(*form).LabelLineValue->text(), QStringLiteral("5"));
    EXPECT_TRUE(confirms().empty());  // adding asks nothing

    ui(*form).LabelLineValue->setText(QStringLiteral("stale"));
    dialogs.answers = {std::nullopt};
    run("mnuAddInportKivo");  // the dialog is cancelled
    EXPECT_EQ(lines().size(), 5);
    EXPECT_EQ(ui(*form).LabelLineValue->text(), QStringLiteral("5"));
}

TEST_F(FileCommandsTest, DropsTakeTheFirstFileAndTryDecryptionUnlessDotTxt) {
    // The window takes drops from its first show on.
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    const QString upper = path("LIST.TXT");
    write(upper, "a\r\nb");
    drop({upper, path("ignored.txt"), path("also.txt")});
    EXPECT_EQ(lines(), (QStringList{"a", "b"}));
    EXPECT_EQ(readAll(upper.toStdString()), "a\r\nb");  // not a container: unchanged
    EXPECT_EQ(ui(*form).LabelLineValue->text(), QStringLiteral("2"));

    // A container: loaded, and a container again afterwards.
    const QString container = path("c.Kivo");
    ui(*form).Memo->setPlainUtf8("猫");
    dialogs.answers = {container};
    run("mnuExportKivo");
    ui(*form).Memo->clearList();
    drop({container});
    EXPECT_EQ(lines(), QStringList{"猫"});
    EXPECT_EQ(readAll(container.toStdString()).substr(2, 4), "Kivo");

    // A tiny RTF stays plain.
    const QString rtf = path("t.rtf");
    write(rtf, "{\\rtf1 tiny\\par}");
    drop({rtf});
    EXPECT_EQ(lines(), QStringList{"tiny"});
    EXPECT_EQ(readAll(rtf.toStdString()), "{\\rtf1 tiny\\par}");

    // A cancelled save prompt loads nothing.
    ui(*form).Memo->setModified(true);
    boxes.answers = {Answer::Cancel};
    drop({upper});
    EXPECT_EQ(lines(), QStringList{"tiny"});
}

TEST_F(FileCommandsTest, AFileDroppedOnTheListIsLoadedNotTyped) {
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    const QString rtf = path("words.rtf");
    write(rtf, "{\\rtf1 dog\\par cat\\par}");
    ui(*form).Memo->setFocus();
    QTest::keyClicks(ui(*form).Memo, QStringLiteral("old"));
    boxes.answers = {Answer::No};  // the list is replaced unsaved
    drop({rtf}, ui(*form).Memo->viewport());
    EXPECT_EQ(lines(), (QStringList{"dog", "cat"}));
    EXPECT_EQ(form->windowTitle(), QStringLiteral("words.rtf  >>>  Kivo version 1.33"));
    EXPECT_EQ(ui(*form).LabelLineValue->text(), QStringLiteral("2"));
    EXPECT_FALSE(ui(*form).Memo->isModified());
    EXPECT_EQ(confirms().size(), 1u);
    EXPECT_TRUE(dialogs.shown.empty());  // nothing saved
}

TEST_F(FileCommandsTest, ADroppedDotTxtFileLoadsAsStoredAndClearsTheMark) {
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    // A Word document appends its lines, which leaves the mark set; here
    // the drop clears it.
    std::string doc(1280 + 513, '\0');
    doc.replace(0, 6, "\xD0\xCF\x11\xE0\xA1\xB1");
    doc[516] = 0x69;
    doc.replace(1280, 4, "A\rB\r");
    const QString word = path("doc.txt");
    write(word, doc);
    drop({word});
    EXPECT_EQ(lines(), (QStringList{"A", "B"}));
    EXPECT_FALSE(ui(*form).Memo->isModified());
    EXPECT_EQ(ui(*form).LabelLineValue->text(), QStringLiteral("2"));

    // A container named .txt is not deciphered: its stored bytes load.
    const QString container = path("c.txt");
    ui(*form).Memo->setPlainUtf8("猫");
    dialogs.answers = {container};
    run("mnuExportKivo");
    const std::string stored = readAll(container.toStdString());
    drop({container});
    EXPECT_NE(lines(), QStringList{"猫"});
    EXPECT_EQ(readAll(container.toStdString()), stored);
}

TEST_F(FileCommandsTest, TheCommandLineFileLoadsAndIsNeverChanged) {
    const QString container = path("cmd.Kivo");
    ui(*form).Memo->setPlainUtf8("x");
    dialogs.answers = {container};
    run("mnuExportKivo");
    const std::string stored = readAll(container.toStdString());

    auto fresh = makeForm();
    fresh->setCommandLine({QStringLiteral("kivo"), container});
    fresh->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(fresh.get()));
    EXPECT_EQ(readAll(container.toStdString()), stored);
    EXPECT_EQ(ui(*fresh).Memo->allLines(), QStringList{"x"});
    EXPECT_TRUE(fresh->acceptDrops());

    for (const QString& arg : {QString::fromStdString(dir.string()), path("missing.txt")}) {
        auto other = makeForm();
        other->setCommandLine({QStringLiteral("kivo"), arg});
        other->show();
        EXPECT_EQ(ui(*other).Memo->count(), 0);
    }
    EXPECT_TRUE(boxes.shown.empty());
}

// --- Nothing lost, nothing reported as success that failed ----------------

TEST_F(FileCommandsTest, ImportsDecipherInMemoryAndNeverTouchTheFile) {
    ui(*form).Memo->setPlainUtf8("犬\n猫");
    const QString container = path("読み取り専用.Kivo");
    dialogs.answers = {container};
    run("mnuExportKivo");
    // An old leftover of the same name as the earlier temporary file.
    write(path("読み取り専用.tmp"), "leftover");
    const auto oldTime = fs::file_time_type::clock::now() - std::chrono::hours(3);
    fs::last_write_time(container.toStdString(), oldTime);
    fs::permissions(container.toStdString(), fs::perms::owner_read | fs::perms::group_read);
    const std::string stored = readAll(container.toStdString());

    const auto untouched = [&] {
        EXPECT_EQ(readAll(container.toStdString()), stored);
        EXPECT_EQ(fs::last_write_time(container.toStdString()), oldTime);
    };
    form = makeForm();
    dialogs.answers = {container};
    run("mnuNewInportKivo");
    EXPECT_EQ(lines(), (QStringList{"犬", "猫"}));
    EXPECT_EQ(form->windowTitle(), QStringLiteral("読み取り専用.Kivo  >>>  Kivo version 1.33"));
    untouched();

    ui(*form).Memo->setPlainUtf8("一");
    dialogs.answers = {container};
    run("mnuAddInportKivo");
    EXPECT_EQ(lines(), (QStringList{"一", "犬", "猫"}));
    untouched();

    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    ui(*form).Memo->clearList();
    drop({container});
    EXPECT_EQ(lines(), (QStringList{"犬", "猫"}));
    untouched();
    EXPECT_TRUE(boxes.shown.empty());
    fs::permissions(container.toStdString(), fs::perms::owner_write, fs::perm_options::add);
}

TEST_F(FileCommandsTest, AContainerOfAWordDocumentImportsItsLines) {
    for (const char* name : {"word-libreoffice-list.doc", "word-libreoffice-list.docx"}) {
        SCOPED_TRACE(name);
        std::ifstream in(std::string(KIVO_TEST_DATA_DIR) + "/" + name, std::ios::binary);
        const std::string document{std::istreambuf_iterator<char>(in), {}};
        const QString container = path("word.Kivo");
        write(container, EncipherContainer(document, "tonic_Kivo_RW7QX214fy", 0));
        dialogs.answers = {container};
        run("mnuNewInportKivo");
        ASSERT_EQ(lines().size(), 15);
        EXPECT_EQ(lines().front(), QStringLiteral("犬"));
        EXPECT_EQ(lines().back(), QStringLiteral("最後"));
    }
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(FileCommandsTest, AContainerThatCannotBeReadIsNeverShownEnciphered) {
    // A header for our key over a body the reader cannot take.
    const QString container = path("big.Kivo");
    write(container, EncipherContainer("{\\rtf1 a\\par}", "tonic_Kivo_RW7QX214fy", 0));
    fs::resize_file(container.toStdString(), 300u * 1024 * 1024);
    ui(*form).Memo->setPlainUtf8("元");
    dialogs.answers = {container};
    run("mnuAddInportKivo");
    EXPECT_EQ(lines(), QStringList{"元"});
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, QStringLiteral("ストリームからの読み込みに失敗しました."));
}

TEST_F(FileCommandsTest, ExportsWriteThroughLinksAndTakeLongNames) {
    ui(*form).Memo->setPlainUtf8("新");
    const QString real = path("real.Kivo");
    write(real, "old");
    const QString link = path("link.Kivo");
    fs::create_symlink(real.toStdString(), link.toStdString());
    dialogs.answers = {link};
    boxes.answers = {Answer::Yes};
    run("mnuExportKivo");
    EXPECT_TRUE(fs::is_symlink(link.toStdString()));
    form = makeForm();
    dialogs.answers = {real};
    run("mnuNewInportKivo");
    EXPECT_EQ(lines(), QStringList{"新"});

    // 80 kanji and ".txt": 244 bytes, within the file system's 255.
    QString name;
    for (int i = 0; i < 80; ++i) name += QChar(0x72AC);
    const QString longName = QString::fromStdString(dir.string()) + "/" + name + ".txt";
    dialogs.answers = {longName};
    run("mnuExporttxt");
    EXPECT_EQ(readAll(longName.toStdString()), "\x90\x56");
    EXPECT_TRUE(boxes.shown.size() == 1 && boxes.shown[0].kind == ScriptedBoxes::Shown::Confirm);
}

#ifndef _WIN32
TEST_F(FileCommandsTest, APipeIsAskedAboutAndLeftAlone) {
    ui(*form).Memo->setPlainUtf8("犬");
    const QString pipe = path("pipe.txt");
    ASSERT_EQ(::mkfifo(pipe.toStdString().c_str(), 0600), 0);
    dialogs.answers = {pipe};
    boxes.answers = {Answer::No};
    run("mnuExporttxt");
    EXPECT_EQ(lastConfirm(), pipe + QStringLiteral(" は既に存在します。\r\n上書きしますか？"));
    EXPECT_EQ(fs::status(pipe.toStdString()).type(), fs::file_type::fifo);
}

TEST_F(FileCommandsTest, AFullDiskShowsItsErrorAndKeepsTheOldFile) {
    if (::geteuid() != 0) GTEST_SKIP() << "mounting a small disk needs root";
    const fs::path disk = dir / "disk";
    fs::create_directory(disk);
    if (std::system(("mount -t tmpfs -o size=64k tmpfs '" + disk.string() + "'").c_str()) != 0)
        GTEST_SKIP() << "no tmpfs here";
    const auto unmount = [&] { std::system(("umount '" + disk.string() + "'").c_str()); };
    const auto listOf = [](int count) {
        QStringList words;
        for (int i = 0; i < count; ++i) words << QStringLiteral("単語%1").arg(i);
        return words.join(QLatin1Char('\n'));
    };
    const QString target = QString::fromStdString((disk / "list").string());
    const auto exportTo = [&](const char* command) {
        write(target, "old");
        boxes.shown.clear();
        dialogs.answers = {target};
        boxes.answers = {Answer::Yes};
        run(command);
        EXPECT_EQ(std::distance(fs::directory_iterator(disk), fs::directory_iterator()), 1);
    };
    // A container that fits once, but not beside a plain copy of itself.
    ui(*form).Memo->setPlainUtf8(listOf(1500).toStdString());
    exportTo("mnuExportKivo");
    EXPECT_EQ(readAll(target.toStdString()).substr(2, 4), "Kivo");
    EXPECT_EQ(boxes.shown.size(), 1u);

    ui(*form).Memo->setPlainUtf8(listOf(20000).toStdString());
    for (const char* command : {"mnuExporttxt", "mnuExportKivo"}) {
        SCOPED_TRACE(command);
        exportTo(command);
        ASSERT_EQ(boxes.shown.size(), 2u);
        EXPECT_EQ(boxes.shown[1].text, QStringLiteral("ディスクがいっぱいです."));
        EXPECT_EQ(readAll(target.toStdString()), "old");
    }
    unmount();
}
#endif

}  // namespace
}  // namespace kivo
