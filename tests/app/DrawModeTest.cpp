#include <gtest/gtest.h>

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTableView>
#include <QTest>

#include "FormControls.h"
#include "ScriptedBoxes.h"
#include "app/DrawHistoryWindow.h"
#include "app/MainWindow.h"
#include "app/PresentationWindow.h"
#include "platform/CountdownClock.h"
#include "platform/MemoControl.h"
#include "wordlist/Random.h"

namespace kivo {
namespace {

class DrawModeTest : public ::testing::Test {
protected:
    ScriptedBoxes boxes;
    MainWindow form{boxes};

    QAction* item(const char* name) { return form.findChild<QAction*>(QString::fromLatin1(name)); }
    void draw() { QTest::mouseClick(ui(form).ButtonOK, Qt::LeftButton); }
};

// The pool's rules are the commands' (tests/commands, tests/wordlist): here
// the item shows the switch, the settings keep it, and typing is an edit.
TEST_F(DrawModeTest, SwitchIsCheckedAndRememberedAndTypingStartsThePoolAgain) {
    QAction* noRepeats = item("mnuNoRepeats");
    EXPECT_FALSE(noRepeats->isChecked());
    noRepeats->trigger();
    EXPECT_TRUE(noRepeats->isChecked());
    {
        MainWindow again(boxes);
        EXPECT_TRUE(again.findChild<QAction*>(QStringLiteral("mnuNoRepeats"))->isChecked());
    }

    // One entry is left after a draw, and the next draw would end the round;
    // typing into a line (the length unchanged) makes it a new list.
    ui(form).Memo->setPlainUtf8("犬\n猫\n鳥\n");
    processRandom().setSeed(7);
    draw();
    ui(form).Memo->selectRange(0, 0);
    QTest::keyClicks(ui(form).Memo, QStringLiteral("x"));
    draw();
    EXPECT_TRUE(boxes.shown.empty());
    noRepeats->trigger();  // off again, and so remembered for the tests after
    EXPECT_FALSE(noRepeats->isChecked());
}

// Three boxes with a heading over each, laid out below one another; the
// rules of the draw are the commands'.
TEST_F(DrawModeTest, ThreeTopicsByHeadingShowInTheirOwnBoxesUnderTheirHeadings) {
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    const int before = form.height();
    auto* third = form.findChild<QLineEdit*>(QStringLiteral("Edit3rd"));
    EXPECT_FALSE(third->isVisible());
    item("mnuThreeTopics")->trigger();
    item("mnuByHeading")->trigger();
    QCoreApplication::processEvents();
    EXPECT_TRUE(item("mnuThreeTopics")->isChecked());
    EXPECT_FALSE(item("mnuTwoTopics")->isChecked());
    EXPECT_TRUE(third->isVisible());
    EXPECT_EQ(form.height(), before + 3 * 48 - 68);
    EXPECT_GE(form.centralWidget()->minimumHeight(), form.centralWidget()->height() - 21);

    ui(form).Memo->setPlainUtf8("【人物】\n騎士\n【場所】\n駅\n【もの】\n鍵\n");
    EXPECT_EQ(ui(form).LabelLineValue->text(), QStringLiteral("3（3見出し）"));
    draw();
    const QLineEdit* boxes3[] = {ui(form).Edit1st, ui(form).Edit2nd, third};
    const char* words[] = {" 騎士", " 駅", " 鍵"};
    const char* headings[] = {"【人物】", "【場所】", "【もの】"};
    for (int k = 0; k < 3; ++k) {
        auto* heading = form.findChild<QLabel*>(QStringLiteral("LabelHeading%1").arg(k + 1));
        EXPECT_EQ(boxes3[k]->text(), QString::fromUtf8(words[k]));
        EXPECT_EQ(heading->text(), QString::fromUtf8(headings[k]));
        EXPECT_TRUE(heading->isVisible());
        // Each heading sits right above its box, clear of the box above.
        EXPECT_EQ(heading->geometry().bottom() + 3, boxes3[k]->y());
        if (k > 0) {
            EXPECT_GT(heading->y(), boxes3[k - 1]->geometry().bottom());
        }
    }
    if (const QByteArray path = qgetenv("KIVO_SCREENSHOT"); !path.isEmpty()) {
        form.grab().save(QString::fromLocal8Bit(path));
    }

    item("mnuTwoTopics")->trigger();
    item("mnuByHeading")->trigger();  // off again, and so remembered for the tests after
    QCoreApplication::processEvents();
    EXPECT_FALSE(third->isVisible());
    EXPECT_EQ(form.height(), before);
}

TEST_F(DrawModeTest, HistoryWindowShowsDrawsLatestFirstCopiesAndClears) {
    ui(form).Memo->setPlainUtf8("犬\n猫\n鳥\n魚\n");
    processRandom().setSeed(45296789u);
    draw();
    draw();
    const QString latest2 = ui(form).Edit2nd->text().mid(1);

    item("mnuDrawHistory")->trigger();
    auto* window = form.findChild<DrawHistoryWindow*>();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("お題の履歴"));
    const QAbstractItemModel* rows = window->List->model();
    EXPECT_EQ(rows->headerData(1, Qt::Horizontal).toString(), QStringLiteral("お題その 1"));
    ASSERT_EQ(rows->rowCount(), 2);
    EXPECT_EQ(rows->index(0, 2).data().toString(), latest2);
    EXPECT_EQ(rows->index(0, 0).data().toString().size(), 19);  // 2024/05/01 09:05:07

    // A draw while the window is open shows at once, on top.
    draw();
    ASSERT_EQ(rows->rowCount(), 3);
    EXPECT_EQ(rows->index(0, 1).data().toString(), ui(form).Edit1st->text().mid(1));

    QTest::mouseClick(window->ButtonCopy, Qt::LeftButton);
    const QStringList lines = QGuiApplication::clipboard()->text().split(QLatin1Char('\n'));
    EXPECT_EQ(lines.size(), 4);  // three lines and the empty rest after the last break

    EXPECT_EQ(window->ButtonClear->accessibleName(), QStringLiteral("クリア"));
    QTest::mouseClick(window->ButtonClear, Qt::LeftButton);
    EXPECT_EQ(rows->rowCount(), 0);
    EXPECT_FALSE(window->ButtonCopy->isEnabled());
    EXPECT_TRUE(boxes.shown.empty());
}

// The view's real keys: F11 through the main window's shortcut, Space and
// Esc in the view, which paints the pair the topic boxes show.
TEST_F(DrawModeTest, PresentationViewOpensOnF11DrawsOnSpaceAndClosesOnEscape) {
    ui(form).Memo->setPlainUtf8("犬\n猫\n鳥\n");
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    QTest::keyClick(form.windowHandle(), Qt::Key_F11);
    auto* view = form.findChild<PresentationWindow*>(QStringLiteral("PresentationWindow"));
    ASSERT_TRUE(view && view->isVisible());
    EXPECT_EQ(view->geometry(), form.screen()->geometry());
    EXPECT_TRUE(view->presentationLayout().lines.empty());

    QTest::keyClick(view, Qt::Key_Space);
    const QString shown = ui(form).Edit1st->text().trimmed() + QStringLiteral("\n") +
                          ui(form).Edit2nd->text().trimmed();
    EXPECT_EQ(view->accessibleName(), shown);
    ASSERT_EQ(view->presentationLayout().lines.size(), 2u);
    EXPECT_EQ(QString::fromStdString(view->presentationLayout().lines[0].text),
              ui(form).Edit1st->text().trimmed());
    QTest::keyClick(view, Qt::Key_Escape);
    EXPECT_FALSE(view->isVisible());
}

// A minute counted down in the real view on a clock run 120 times as fast:
// T starts it, the time shows under the topics and turns to the warning
// colour, zero flashes and is told to a screen reader, R resets it.
TEST_F(DrawModeTest, TheViewCountsAMinuteDownToZeroUnderTheTopics) {
    ui(form).Memo->setPlainUtf8("犬\n猫\n鳥\n");
    item("mnuTimer1")->trigger();
    EXPECT_TRUE(item("mnuTimer1")->isChecked());
    form.countdownClock().runFaster(120);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    QTest::keyClick(form.windowHandle(), Qt::Key_F11);
    auto* view = form.findChild<PresentationWindow*>(QStringLiteral("PresentationWindow"));
    ASSERT_TRUE(view && view->isVisible());
    QTest::keyClick(view, Qt::Key_Space);
    EXPECT_EQ(view->countdownFace().text, "1:00");
    // The topics as a line to post, from the view's owner with the list
    // focused: the editor leaves Ctrl+Shift+C to the menu.
    QTest::keyClick(view, Qt::Key_Escape);
    ui(form).Memo->setFocus();
    QTest::keyClick(form.windowHandle(), Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(),
              QStringLiteral("お題：") + ui(form).Edit1st->text().trimmed() +
                  QStringLiteral(" × ") + ui(form).Edit2nd->text().trimmed());
    QTest::keyClick(form.windowHandle(), Qt::Key_F11);
    ASSERT_TRUE(view->presentationLayout().countdown);
    EXPECT_GT(view->presentationLayout().countdown->top,
              view->presentationLayout().lines.back().top);

    const QByteArray screenshot = qgetenv("KIVO_SCREENSHOT");
    const auto pauseAndGrab = [&](const char* suffix) {
        QTest::keyClick(view, Qt::Key_T);
        view->grab().save(QString::fromLocal8Bit(screenshot) + QString::fromLatin1(suffix));
        QTest::keyClick(view, Qt::Key_T);
    };
    if (!screenshot.isEmpty()) QTest::keyClick(view, Qt::Key_Return, Qt::AltModifier);

    QTest::keyClick(view, Qt::Key_T);
    if (!screenshot.isEmpty()) {
        ASSERT_TRUE(QTest::qWaitFor([&] { return view->countdownFace().text == "0:42"; }, 5000));
        pauseAndGrab("-light.png");
        item("mnuDarkPresentation")->trigger();
        ASSERT_TRUE(QTest::qWaitFor([&] { return view->countdownFace().text == "0:05"; }, 5000));
        pauseAndGrab("-dark.png");
        item("mnuDarkPresentation")->trigger();
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return view->countdownFace().warning; }, 5000));
    EXPECT_NE(view->countdownFace().text, "0:00");
    ASSERT_TRUE(QTest::qWaitFor([&] { return view->countdownFace().text == "0:00"; }, 5000));
    EXPECT_TRUE(view->accessibleName().endsWith(QStringLiteral("\n時間です")));
    bool flashedOff = !view->countdownFace().shown;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            flashedOff = flashedOff || !view->countdownFace().shown;
            return flashedOff && view->countdownFace().shown;
        },
        5000));

    QTest::keyClick(view, Qt::Key_R);
    EXPECT_EQ(view->countdownFace().text, "1:00");
    EXPECT_FALSE(view->countdownFace().warning);
    QTest::keyClick(view, Qt::Key_Escape);
    item("mnuTimerOff")->trigger();  // and so remembered for the tests after
}

}  // namespace
}  // namespace kivo
