#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTreeWidget>

#include "AboutDoubles.h"
#include "ScriptedBoxes.h"
#include "app/MainWindow.h"
#include "commands/HelpCommands.h"
#include "commands/ShareCommands.h"
#include "commands/TimerCommands.h"
#include "files/FileError.h"
#include "platform/HelpFile.h"
#include "platform/HelpWindow.h"
#include "wordlist/TopicDraw.h"
#include "wordlist/TopicDrawer.h"

namespace kivo {
namespace {

QString readText(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(file.readAll());
}

TEST(HelpCommand, OpensTheHelpFileBesideTheExecutableWhateverTheWorkingFolder) {
    ScriptedBoxes boxes;
    MainWindow form(boxes);
    ScriptedHelpEngine help;
    form.setHelpEngine(help);
    QAction* item = form.findChild<QAction*>(QStringLiteral("mnuKivoHelp"));
    ASSERT_NE(item, nullptr);

    setApplicationHelpFile(QStringLiteral("/opt/kivo-start-up/kHelp.hlp"));
    const QString before = QDir::currentPath();
    QTemporaryDir elsewhere;
    ASSERT_TRUE(QDir::setCurrent(elsewhere.path()));
    item->trigger();
    item->trigger();
    QDir::setCurrent(before);

    const QFileInfo executable(QCoreApplication::applicationFilePath());
    ASSERT_EQ(help.requests.size(), 2u);
    for (const ScriptedHelpEngine::Request& request : help.requests) {
        const QFileInfo helpFile(request.helpFile);
        EXPECT_TRUE(helpFile.isAbsolute());
        EXPECT_EQ(helpFile.fileName(), QStringLiteral("kHelp.hlp"));
        EXPECT_EQ(helpFile.absolutePath(), executable.absolutePath());
        EXPECT_EQ(request.owner, &form);
    }
    EXPECT_EQ(applicationHelpFile(), help.requests.back().helpFile);
    EXPECT_TRUE(boxes.shown.empty());
}

TEST(HelpCommand, AnInstalledProgramFindsTheDocumentInItsDataFolder) {
    QTemporaryDir prefix;
    const QDir root(prefix.path());
    ASSERT_TRUE(root.mkpath(QStringLiteral("bin")));
    ASSERT_TRUE(root.mkpath(QStringLiteral("share/kivo")));
    ASSERT_TRUE(QFile::copy(QStringLiteral(KIVO_HELP_SOURCE),
                            root.filePath(QStringLiteral("share/kivo/kHelp.html"))));
    const QString bin = root.filePath(QStringLiteral("bin"));
    EXPECT_EQ(helpFileOf(bin), root.filePath(QStringLiteral("share/kivo/kHelp.hlp")));

    // A document beside the program, as a build leaves it, comes first.
    ASSERT_TRUE(QFile::copy(QStringLiteral(KIVO_HELP_SOURCE),
                            root.filePath(QStringLiteral("bin/kHelp.html"))));
    EXPECT_EQ(helpFileOf(bin), root.filePath(QStringLiteral("bin/kHelp.hlp")));
}

TEST(HelpCommand, ExampleListsLieBesideTheBuiltProgramOrInTheInstalledDataFolder) {
    const QString built = QFileInfo(QStringLiteral(KIVO_BUILT_HELP)).absolutePath();
    const QString story = QString::fromLatin1(kStoryExampleName);
    const QString drawing = QString::fromLatin1(kDrawingExampleName);
    for (const QString& name : {story, drawing}) {
        const QString found = exampleListOf(built, name);
        EXPECT_EQ(found, QDir(built).filePath(QStringLiteral("examples/") + name));
        EXPECT_EQ(readText(found), readText(QStringLiteral(KIVO_EXAMPLES_SOURCE "/") + name));
    }

    QTemporaryDir prefix;
    const QDir root(prefix.path());
    ASSERT_TRUE(root.mkpath(QStringLiteral("bin")));
    ASSERT_TRUE(root.mkpath(QStringLiteral("share/kivo/examples")));
    const QString installed = root.filePath(QStringLiteral("share/kivo/examples/") + story);
    ASSERT_TRUE(QFile::copy(QStringLiteral(KIVO_EXAMPLES_SOURCE "/") + story, installed));
    const QString bin = root.filePath(QStringLiteral("bin"));
    EXPECT_EQ(exampleListOf(bin, story), installed);
    EXPECT_TRUE(exampleListOf(bin, drawing).isEmpty());
}

class HelpWindowTest : public ::testing::Test {
protected:
    ScriptedBoxes boxes;
    QtHelpEngine engine{boxes};
    QTemporaryDir dir;
    QWidget owner;

    QString helpFile() const { return dir.filePath(QStringLiteral("kHelp.hlp")); }
    QString document() const { return dir.filePath(QStringLiteral("kHelp.html")); }
};

QTreeWidgetItem* findTopic(QTreeWidget* contents, const QString& title) {
    const QList<QTreeWidgetItem*> found =
        contents->findItems(title, Qt::MatchExactly | Qt::MatchRecursive);
    return found.isEmpty() ? nullptr : found.first();
}

TEST_F(HelpWindowTest, ShowsTheDocumentOfTheSameBaseNameWithItsContents) {
    ASSERT_TRUE(QFile::copy(QStringLiteral(KIVO_HELP_SOURCE), document()));
    engine.showContents(&owner, helpFile());
    EXPECT_TRUE(boxes.shown.empty());
    HelpWindow* window = engine.window();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Kivo のヘルプ"));
    EXPECT_TRUE(window->browser()->toPlainText().contains(QStringLiteral("お題の選出")));

    // The headings, nested by level.
    QTreeWidget* contents = window->contents();
    for (const char* title : {"画面の見かた", "メニュー", "ファイル(F) メニュー",
                              "ヘルプ(H) メニュー", "ファイルの扱い", "印刷", "メッセージ一覧"}) {
        EXPECT_NE(findTopic(contents, QString::fromUtf8(title)), nullptr) << title;
    }
    QTreeWidgetItem* fileMenu = findTopic(contents, QStringLiteral("ファイル(F) メニュー"));
    ASSERT_NE(fileMenu, nullptr);
    ASSERT_NE(fileMenu->parent(), nullptr);
    EXPECT_EQ(fileMenu->parent()->text(0), QStringLiteral("メニュー"));

    // Choosing a topic brings its heading to the top of the text.
    window->resize(600, 300);
    QTreeWidgetItem* messages = findTopic(contents, QStringLiteral("メッセージ一覧"));
    ASSERT_NE(messages, nullptr);
    window->showTopic(messages);
    EXPECT_GT(window->browser()->verticalScrollBar()->value(), 0);
    EXPECT_EQ(window->browser()->textCursor().block().text(), QStringLiteral("メッセージ一覧"));

    // The same window serves the next request, with the document read anew.
    window->close();
    engine.showContents(&owner, helpFile());
    EXPECT_EQ(engine.window(), window);
    EXPECT_TRUE(window->isVisible());
    window->close();
}

TEST_F(HelpWindowTest, AMissingDocumentIsReportedInABox) {
    engine.showContents(&owner, helpFile());
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].kind, ScriptedBoxes::Shown::Warning);
    EXPECT_TRUE(boxes.shown[0].text.contains(QDir::toNativeSeparators(document())));
    EXPECT_TRUE(engine.window() == nullptr || !engine.window()->isVisible());
}

TEST(HelpEngine, TheRealBoxSaysTheDocumentIsMissing) {
    QtBoxes boxes;
    QtHelpEngine engine(boxes);
    QTemporaryDir dir;
    BoxProbe probe;
    probe.arm(QStringLiteral("OK"));
    engine.showContents(nullptr, dir.filePath(QStringLiteral("kHelp.hlp")));
    ASSERT_TRUE(probe.seen);
    EXPECT_EQ(probe.caption, QStringLiteral("警告"));
    EXPECT_EQ(probe.icon, QMessageBox::Warning);
    EXPECT_EQ(probe.buttons, QStringList{QStringLiteral("OK")});
    EXPECT_TRUE(probe.text.contains(QStringLiteral("kHelp.html")));
    EXPECT_TRUE(probe.text.contains(QStringLiteral("見つかりません")));
}

// Every caption of the menus as the document writes it: without the access
// key's ampersand, "新規作成(&N)" as "新規作成(N)".
QStringList menuCaptions(const MainWindow& form) {
    QStringList captions;
    for (const QAction* action : form.findChildren<QAction*>()) {
        if (action->isSeparator() || action->text().isEmpty()) continue;
        // The shared edit commands show through the menu items that carry them.
        if (action->objectName().endsWith(QStringLiteral("Cmd"))) continue;
        captions << QString(action->text()).remove(QLatin1Char('&'));
    }
    return captions;
}

TEST(HelpDocument, LiesBesideTheProgramAndCoversEveryCommandAndMessage) {
    const QString built = readText(QStringLiteral(KIVO_BUILT_HELP));
    ASSERT_FALSE(built.isEmpty()) << "the build puts kHelp.html beside the program";
    EXPECT_EQ(built, readText(QStringLiteral(KIVO_HELP_SOURCE)));
    QTextDocument document;
    document.setHtml(built);
    const QString text = document.toPlainText();

    ScriptedBoxes boxes;
    MainWindow form(boxes);
    const QStringList captions = menuCaptions(form);
    EXPECT_GT(captions.size(), 30);
    for (const QString& caption : captions) {
        EXPECT_TRUE(text.contains(caption)) << caption.toStdString();
    }

    QStringList messages;
    for (DrawOutcome outcome : {DrawOutcome::NoEntries, DrawOutcome::OneEntry,
                                DrawOutcome::TooFewEntries, DrawOutcome::EmptyEntry}) {
        messages << QString::fromStdString(drawMessage(outcome));
    }
    DrawResult missing;
    missing.outcome = DrawOutcome::MissingSection;
    for (std::size_t section : {1, 2}) {
        missing.missingSection = section;
        messages << QString::fromStdString(drawMessage(missing));
    }
    messages << QString::fromUtf8(kReseedMessage) << QString::fromUtf8(kPoolRestartMessage)
             << QString::fromUtf8(kPoolRestartMessageThree)
             << QString::fromUtf8(kSectionPoolRestartTail) << QString::fromUtf8(kNoTopicsToCopyText)
             << QString::fromUtf8(kNoHistoryText) << QString::fromUtf8(kNoTimerLengthText)
             << QString::fromUtf8(kStreamNeedsFolderText) << QString::fromUtf8(kStreamStoppedText)
             << QString::fromUtf8(kCountdownEndedText);
    for (int code : {kFileNotFound, kPathNotFound, kTooManyOpenFiles, kAccessDenied, kReadPastEnd,
                     kNotNumeric, kDiskFull}) {
        messages << QString::fromStdString(fileErrorText(code));
    }
    messages << QString::fromStdString(updateQuestion())
                    .split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    messages << QString::fromUtf8(kUpdateCaption)
             << QStringList{QStringLiteral("I/O エラー"),
                            QStringLiteral("行数が長すぎてファイルが開けません"),
                            QStringLiteral("現在の単語リストを保存しますか？"),
                            QStringLiteral("は既に存在します。"),
                            QStringLiteral("上書きしますか？"),
                            QStringLiteral("は開けません"),
                            QStringLiteral("ストリームからの読み込みに失敗しました"),
                            QStringLiteral("を作成できません"),
                            QStringLiteral("RichEdit での行の挿入エラー"),
                            QStringLiteral("プリンタに出力できません"),
                            QStringLiteral("印刷中にエラーが発生しました"),
                            QStringLiteral("メモリが不足しています"),
                            QStringLiteral("予期しないエラーが発生しました")};
    for (const QString& message : messages) {
        EXPECT_TRUE(text.contains(message)) << message.toStdString();
    }
}

}  // namespace
}  // namespace kivo
