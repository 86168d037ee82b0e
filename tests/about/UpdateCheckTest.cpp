#include <gtest/gtest.h>

#include <QAction>
#include <QDesktopServices>
#include <QTest>

#include "AboutDoubles.h"
#include "ScriptedBoxes.h"
#include "app/AboutDialog.h"
#include "app/MainWindow.h"
#include "platform/TopMostWindows.h"

namespace kivo {
namespace {

const QString kQuestion = QStringLiteral(
    "開発者ホームページに接続します\r\n"
    "\r\n"
    "Kivo の最新情報は TOP ページに設置してあるリンクを辿り、\r\n"
    "Software 内コンテンツを御参照下さい\r\n"
    "\r\n"
    "ブラウザを起動しますか？");

// Boxes that note, at each question, whether the About box was top-most.
struct WatchingBoxes : ScriptedBoxes {
    const QWidget* watched = nullptr;
    std::vector<bool> topMostAtQuestion;
    bool askYesNo(const QString& caption, const QString& text) override {
        if (watched) topMostAtQuestion.push_back(TopMostWindows::isTopMost(watched));
        return ScriptedBoxes::askYesNo(caption, text);
    }
};

class UpdateCheckTest : public ::testing::Test {
protected:
    WatchingBoxes boxes;
    MainWindow form{boxes};
    AboutDialog about{QString::fromStdString(form.versionText()), &form};
    RecordingUrlOpener urls;
    ScriptedHelpEngine help;

    void SetUp() override {
        form.setAboutDialog(&about);
        form.setUrlOpener(urls);
        form.setHelpEngine(help);
        boxes.watched = &about;
    }
    void run(const char* item) { form.findChild<QAction*>(QString::fromLatin1(item))->trigger(); }
    int level() { return form.topMost().level(); }
};

TEST_F(UpdateCheckTest, TopMostWindowsStepAsideForTheQuestionAndHelpKeepsThemThere) {
    ASSERT_TRUE(TopMostWindows::isTopMost(&about));
    boxes.yesNoAnswers = {false, false};
    run("mnuNewKivo");
    EXPECT_EQ(boxes.topMostAtQuestion, std::vector<bool>{false});
    EXPECT_TRUE(TopMostWindows::isTopMost(&about));
    EXPECT_EQ(level(), 0);

    // Help lowers and never raises: from now on lower and raise only count.
    run("mnuKivoHelp");
    EXPECT_FALSE(TopMostWindows::isTopMost(&about));
    EXPECT_EQ(level(), 1);
    run("mnuNewKivo");
    EXPECT_EQ(boxes.topMostAtQuestion, (std::vector<bool>{false, false}));
    EXPECT_FALSE(TopMostWindows::isTopMost(&about));
    EXPECT_EQ(level(), 1);
    run("mnuKivoHelp");
    EXPECT_EQ(level(), 2);
    EXPECT_TRUE(about.isHidden());  // lowering never shows a hidden window
}

TEST(TopMostWindows, LowerNestsAndSparesTheMainWindowAndKeepsWindowsShown) {
    QWidget mainWindow(nullptr, Qt::Window | Qt::WindowStaysOnTopHint);
    QWidget onTop(nullptr, Qt::Window | Qt::WindowStaysOnTopHint);
    QWidget ordinary(nullptr, Qt::Window);
    onTop.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&onTop));

    TopMostWindows windows;
    windows.raise();  // at 0, nothing
    EXPECT_EQ(windows.level(), 0);
    EXPECT_TRUE(TopMostWindows::isTopMost(&onTop));

    windows.lower(&mainWindow);
    windows.lower(&mainWindow);
    EXPECT_EQ(windows.level(), 2);
    EXPECT_TRUE(TopMostWindows::isTopMost(&mainWindow));
    EXPECT_FALSE(TopMostWindows::isTopMost(&onTop));
    EXPECT_TRUE(onTop.isVisible());
    EXPECT_FALSE(TopMostWindows::isTopMost(&ordinary));

    windows.raise();
    EXPECT_FALSE(TopMostWindows::isTopMost(&onTop));  // the outer lower still holds
    windows.raise();
    EXPECT_TRUE(TopMostWindows::isTopMost(&onTop));
    EXPECT_TRUE(onTop.isVisible());
    EXPECT_FALSE(TopMostWindows::isTopMost(&ordinary));
    EXPECT_EQ(windows.level(), 0);
}

// Receives what the desktop would have handed to the browser.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    std::vector<QUrl> urls;
public slots:
    void catchUrl(const QUrl& url) { urls.push_back(url); }
};

TEST(UpdateCheckOnTheRealBox, CaptionIconButtonsAndTextAndTheDesktopGetsTheAddress) {
    QtBoxes boxes;
    MainWindow form(boxes);
    UrlCatcher browser;
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &browser, "catchUrl");
    QAction* item = form.findChild<QAction*>(QStringLiteral("mnuNewKivo"));
    ASSERT_NE(item, nullptr);

    BoxProbe no;
    no.arm(QStringLiteral("いいえ(&N)"));
    item->trigger();
    ASSERT_TRUE(no.seen);
    EXPECT_EQ(no.caption, QStringLiteral("Kivo アップデート"));
    EXPECT_EQ(no.icon, QMessageBox::Warning);  // the exclamation mark
    EXPECT_EQ(no.buttons, (QStringList{QStringLiteral("はい(&Y)"), QStringLiteral("いいえ(&N)")}));
    EXPECT_EQ(no.defaultButton, QStringLiteral("はい(&Y)"));
    EXPECT_EQ(no.text, kQuestion);
    EXPECT_TRUE(browser.urls.empty());

    BoxProbe yes;
    yes.arm(QStringLiteral("はい(&Y)"));
    item->trigger();
    ASSERT_TRUE(yes.seen);
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    ASSERT_EQ(browser.urls.size(), 1u);
    EXPECT_EQ(browser.urls[0], QUrl(QStringLiteral("https://quillery.example.jp/")));
}

}  // namespace
}  // namespace kivo

#include "UpdateCheckTest.moc"
