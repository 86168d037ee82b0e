#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QTest>
#include <QUrl>
#include <filesystem>
#include <fstream>

#include "FormControls.h"
#include "ScriptedBoxes.h"
#include "app/MainWindow.h"
#include "commands/FileCommands.h"
#include "commands/ListContract.h"
#include "files/Cryptogram.h"
#include "platform/FileDialogs.h"
#include "platform/MemoControl.h"
#include "support/Containers.h"
#include "support/TempFolder.h"

namespace kivo {
namespace {

namespace fs = std::filesystem;
using Answer = Boxes::Answer;

// Dialogs answered from a queue; each use is recorded with its settings. A
// dialog that finds no answer left fails the test and is cancelled.
struct ScriptedDialogs : FileDialogs {
    std::vector<std::optional<QString>> answers;
    std::vector<QString> shown;  // "open:<filter>:<extension>", "save:…"
    std::optional<QString> next(const QString& kind, const FileDialogSettings& s) {
        shown.push_back(kind + ":" + s.filter + ":" + s.defaultExtension);
        if (answers.empty()) {
            ADD_FAILURE() << "unanswered " << kind.toStdString()
                          << " dialog: " << s.filter.toStdString();
            return std::nullopt;
        }
        const std::optional<QString> a = answers.front();
        answers.erase(answers.begin());
        return a;
    }
    std::optional<QString> openFile(const FileDialogSettings& s) override {
        return next("open", s);
    }
    std::optional<QString> saveFile(const FileDialogSettings& s) override {
        return next("save", s);
    }
    std::optional<QString> chooseFolder(const QString& title, const QString& start) override {
        return next("folder", {title, start});
    }
};

class FileCommandsTest : public ::testing::Test {
protected:
    ScriptedBoxes boxes;
    ScriptedDialogs dialogs;
    std::unique_ptr<MainWindow> form = std::make_unique<MainWindow>(boxes);
    TempFolder folder;

    void SetUp() override { form->setFileDialogs(dialogs); }
    // Writes a file in the folder and names it.
    QString write(const char* name, const std::string& bytes) {
        std::ofstream(folder.path(name), std::ios::binary) << bytes;
        return QString::fromStdString(folder.utf8(name));
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
};

QString dialog(const char* kind, const DialogSettings& settings) {
    return QString::fromUtf8(kind) + ":" + QString::fromUtf8(settings.filter) + ":" +
           QString::fromUtf8(settings.defaultExtension);
}

TEST_F(FileCommandsTest, EachFileMenuItemReachesItsCommand) {
    const QString text = write("a.txt", "a");
    const QString container = write("c.Kivo", EncipherContainer("c", kContainerKey, 0));
    ui(*form).Memo->setPlainUtf8("x");
    const std::tuple<const char*, QString, QStringList> imports[] = {
        {"mnuNewInporttxt", text, {"a"}},
        {"mnuAddInporttxt", text, {"a", "a"}},
        {"mnuNewInportKivo", container, {"c"}},
        {"mnuAddInportKivo", container, {"c", "c"}},
    };
    boxes.answers = {Answer::No};  // the list an add-import joined is replaced unsaved
    for (const auto& [item, file, after] : imports) {
        dialogs.answers = {file};
        run(item);
        EXPECT_EQ(lines(), after) << item;
    }
    dialogs.answers = {QString::fromStdString(folder.utf8("out.txt")),
                       QString::fromStdString(folder.utf8("out.Kivo"))};
    run("mnuExporttxt");
    EXPECT_TRUE(fs::exists(folder.path("out.txt")));
    run("mnuExportKivo");
    EXPECT_EQ(form->windowTitle(), QStringLiteral("out.Kivo  >>>  Kivo version 1.33"));
    EXPECT_EQ(dialogs.shown,
              (std::vector<QString>{dialog("open", kOpenText), dialog("open", kOpenText),
                                    dialog("open", kOpenContainer), dialog("open", kOpenContainer),
                                    dialog("save", kSaveText), dialog("save", kSaveContainer)}));

    ui(*form).Edit1st->setText(QStringLiteral(" 犬"));
    run("mnuNew");
    EXPECT_EQ(ui(*form).Memo->count(), 0);
    EXPECT_TRUE(ui(*form).Edit1st->text().isEmpty());
    EXPECT_EQ(form->windowTitle(), MainWindow::kInitialCaption);
    // What ends a command early reaches the error box.
    dialogs.answers = {QString::fromStdString(folder.utf8("missing.txt"))};
    run("mnuNewInporttxt");
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(boxes.shown[1].text, QStringLiteral("ファイルが見つかりません."));
}

TEST_F(FileCommandsTest, TheCommandLineFileLoadsOnShowAndDroppedFilesLoad) {
    form->setCommandLine({QStringLiteral("kivo"), write("cmd.txt", "x")});
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    EXPECT_EQ(lines(), QStringList{"x"});
    // The window takes drops from its first show on; the first file counts.
    EXPECT_TRUE(form->acceptDrops());
    drop({write("a.txt", "a\r\nb"), write("ignored.txt", "c")});
    EXPECT_EQ(lines(), (QStringList{"a", "b"}));

    // A file dropped on the list is loaded, not typed.
    ui(*form).Memo->setFocus();
    QTest::keyClicks(ui(*form).Memo, QStringLiteral("old"));
    boxes.answers = {Answer::No};  // typing marked the list: it is replaced unsaved
    drop({write("words.rtf", "{\\rtf1 dog\\par cat\\par}")}, ui(*form).Memo->viewport());
    EXPECT_EQ(lines(), (QStringList{"dog", "cat"}));
    EXPECT_EQ(boxes.shown.size(), 1u);
    EXPECT_TRUE(dialogs.shown.empty());  // nothing saved
}

TEST_F(FileCommandsTest, AWholeFileLoadShowsItsFormatsAndRaisesTheCapacity) {
    form->session().files().openListFile(
        write("list.rtf",
              "{\\rtf1\\ansi\\ansicpg932{\\fonttbl{\\f0\\fcharset128 MS Gothic;}}"
              "\\f0 \\'8c\\'a2\\par {\\b bold}\\par plain}")
            .toStdString());
    EXPECT_TRUE(ui(*form).Memo->styleAt(2).bold);   // "bold" on line 1
    EXPECT_FALSE(ui(*form).Memo->styleAt(7).bold);  // "plain" on line 2
    EXPECT_EQ(ui(*form).Memo->capacity(), kRaisedCapacity);
}

}  // namespace
}  // namespace kivo
