#include <gtest/gtest.h>

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTableView>
#include <QTest>

#include "FormControls.h"
#include "ScriptedBoxes.h"
#include "app/DrawHistoryWindow.h"
#include "app/PresentationWindow.h"
#include "app/MainWindow.h"
#include "platform/MemoControl.h"
#include "wordlist/Random.h"
#include "wordlist/TopicDrawer.h"

namespace kivo {
namespace {

class DrawModeTest : public ::testing::Test {
protected:
    ScriptedBoxes boxes;
    MainWindow form{boxes};

    QAction* item(const char* name) { return form.findChild<QAction*>(QString::fromLatin1(name)); }
    void draw() { QTest::mouseClick(ui(form).ButtonOK, Qt::LeftButton); }
    int roundsEnded() const {
        return static_cast<int>(std::count_if(boxes.shown.begin(), boxes.shown.end(), [](auto& s) {
            return s.text == QString::fromUtf8(kPoolRestartMessage);
        }));
    }
};

TEST_F(DrawModeTest, SwitchIsRememberedAndAnEditStartsThePoolAgain) {
    QAction* noRepeats = item("mnuNoRepeats");
    ASSERT_TRUE(noRepeats->isCheckable());
    EXPECT_FALSE(noRepeats->isChecked());
    noRepeats->trigger();
    EXPECT_TRUE(noRepeats->isChecked());
    {
        MainWindow again(boxes);
        EXPECT_TRUE(again.findChild<QAction*>(QStringLiteral("mnuNoRepeats"))->isChecked());
    }

    ui(form).Memo->setPlainUtf8("犬\n猫\n鳥\n");
    processRandom().setSeed(7);
    draw();
    draw();  // one entry left: the round ends and the draw starts again
    EXPECT_EQ(roundsEnded(), 1);
    EXPECT_EQ(boxes.shown.size(), 1u);
    EXPECT_NE(ui(form).Edit1st->text(), ui(form).Edit2nd->text());

    // One entry is left again; typing into a line makes it a new list.
    ui(form).Memo->selectRange(0, 0);
    QTest::keyClicks(ui(form).Memo, QStringLiteral("x"));
    draw();
    EXPECT_EQ(roundsEnded(), 1);

    // Switched off, the list repeats freely again and nothing ends a round.
    noRepeats->trigger();
    for (int i = 0; i < 5; ++i) draw();
    EXPECT_EQ(boxes.shown.size(), 1u);
}

TEST_F(DrawModeTest, HistoryWindowShowsDrawsLatestFirstCopiesAndClears) {
    ui(form).Memo->setPlainUtf8("犬\n猫\n鳥\n魚\n");
    processRandom().setSeed(45296789u);
    draw();
    const QString first1 = ui(form).Edit1st->text().mid(1);
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
    EXPECT_EQ(rows->index(1, 1).data().toString(), first1);
    EXPECT_EQ(rows->index(0, 0).data().toString().size(), 19);  // 2024/05/01 09:05:07

    // A draw while the window is open shows at once, on top.
    draw();
    ASSERT_EQ(rows->rowCount(), 3);
    EXPECT_EQ(rows->index(0, 1).data().toString(), ui(form).Edit1st->text().mid(1));

    QTest::mouseClick(window->ButtonCopy, Qt::LeftButton);
    const QStringList lines = QGuiApplication::clipboard()->text().split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 4);  // three lines and the empty rest after the last break
    EXPECT_EQ(lines[2], rows->index(2, 0).data().toString() + QLatin1Char('\t') + first1 +
                            QLatin1Char('\t') + rows->index(2, 2).data().toString());

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

}  // namespace
}  // namespace kivo
