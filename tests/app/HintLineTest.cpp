#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QEventLoop>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include "FormControls.h"
#include "ScriptedBoxes.h"
#include "app/HintLine.h"
#include "app/MainWindow.h"
#include "platform/MemoControl.h"

namespace kivo {
namespace {

class HintLineTest : public ::testing::Test {
protected:
    ScriptedBoxes boxes;
    MainWindow form{boxes};
    QString panel() const { return ui(form).StatusPanel0->text(); }
};

TEST_F(HintLineTest, ControlUnderThePointerWalksOutToTheFirstHintedParent) {
    HintLine& hints = form.hintLine();
    hints.takeHintFromWidget(ui(form).LabelLineValue);
    EXPECT_EQ(panel(), QStringLiteral("単語の総数です"));
    hints.takeHintFromWidget(ui(form).Label1);
    EXPECT_EQ(panel(), QStringLiteral("単語の総数です"));
    // The list's viewport and scroll bars are parts of the list.
    hints.takeHintFromWidget(ui(form).Memo->viewport());
    EXPECT_EQ(panel(), QStringLiteral("単語リスト"));
    hints.takeHintFromWidget(ui(form).Memo->verticalScrollBar());
    EXPECT_EQ(panel(), QStringLiteral("単語リスト"));
    hints.takeHintFromWidget(ui(form).Label3);
    EXPECT_TRUE(panel().isEmpty());
    hints.takeHintFromWidget(ui(form).Edit2nd);
    EXPECT_EQ(panel(), QStringLiteral("お題その 2"));
    hints.takeHintFromWidget(ui(form).GroupBox1);
    EXPECT_TRUE(panel().isEmpty());
    hints.takeHintFromWidget(nullptr);  // pointer outside the program
    EXPECT_TRUE(panel().isEmpty());
}

// Runs the event loop until it has waited for input at least once.
void idleFor(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

TEST_F(HintLineTest, IdleTimeFollowsTheRealPointer) {
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    QCursor::setPos(ui(form).ButtonOK->mapToGlobal(QPoint(5, 5)));
    idleFor(20);
    EXPECT_EQ(panel(), QStringLiteral("お題をランダムに選出します"));
    QCursor::setPos(ui(form).Label3->mapToGlobal(QPoint(2, 2)));
    idleFor(20);
    EXPECT_TRUE(panel().isEmpty());
    QCursor::setPos(ui(form).LabelLineValue->mapToGlobal(QPoint(1, 1)));
    idleFor(20);
    EXPECT_EQ(panel(), QStringLiteral("単語の総数です"));
}

TEST_F(HintLineTest, ThePanelIsWrittenOnlyWhenTheHintChanges) {
    HintLine& hints = form.hintLine();
    QSignalSpy changes(&hints, &HintLine::hintChanged);
    hints.setCurrentHint(QStringLiteral("短い|長い"));
    hints.setCurrentHint(QStringLiteral("短い|長い"));
    EXPECT_EQ(changes.count(), 1);
    EXPECT_EQ(panel(), QStringLiteral("長い"));
    // Someone else's text on the panel stays until the hint really changes.
    ui(form).StatusPanel0->setText(QStringLiteral("x"));
    hints.setCurrentHint(QStringLiteral("短い|長い"));
    EXPECT_EQ(panel(), QStringLiteral("x"));
}

TEST_F(HintLineTest, MenuHighlightsShowTheItemsHint) {
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    QMenu* file = form.menuBar()->actions()[0]->menu();
    QString whileOpen;
    QTimer::singleShot(50, [&] {
        whileOpen = panel();
        auto* print = form.findChild<QAction*>(QStringLiteral("mnuPrint"));
        file->setActiveAction(print);
        QCoreApplication::processEvents();
        const QString printHint = panel();
        file->close();
        whileOpen += QStringLiteral("/") + printHint;
    });
    file->exec(form.mapToGlobal(QPoint(0, 0)));
    EXPECT_EQ(whileOpen,
              QStringLiteral("語句リストとお題リストをクリアします/単語リストを印刷します"));
    EXPECT_TRUE(form.hintLine().current().isEmpty());  // the menu closed
}

TEST_F(HintLineTest, TheHelpSeparatorCarriesItsOwnHint) {
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    QMenu* help = form.menuBar()->actions()[3]->menu();
    auto* bar5 = form.findChild<QAction*>(QStringLiteral("Bar5"));
    QString seen;
    QTimer::singleShot(50, [&] {
        const QPoint at = help->actionGeometry(bar5).center();
        QMouseEvent move(QEvent::MouseMove, at, help->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QCoreApplication::sendEvent(help, &move);
        seen = panel();
        help->close();
    });
    help->exec(form.mapToGlobal(QPoint(0, 0)));
    EXPECT_EQ(seen, QStringLiteral("Kivo のヘルプを表示します"));
}

TEST_F(HintLineTest, KeyboardHighlightsAndDisabledItemsFollowTheSameRules) {
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    QApplication::setActiveWindow(&form);
    ui(form).Memo->setFocus();
    // Alt alone highlights the first title, as a pointer would.
    QTest::keyClick(ui(form).Memo, Qt::Key_Alt);
    ASSERT_TRUE(form.menuBar()->hasFocus());
    EXPECT_EQ(panel(), QStringLiteral("語句リストとお題リストをクリアします"));
    QTest::keyClick(form.menuBar(), Qt::Key_Escape);

    // Pointing at a disabled item highlights nothing: the panel empties.
    QMenu* edit = form.menuBar()->actions()[1]->menu();
    auto* cut = form.findChild<QAction*>(QStringLiteral("mnuEditCut"));
    auto* full = form.findChild<QAction*>(QStringLiteral("mnuFullWidth"));
    QString seen;
    QTimer::singleShot(50, [&] {
        const auto pointAt = [&](QAction* item) {
            const QPoint at = edit->actionGeometry(item).center();
            QMouseEvent move(QEvent::MouseMove, at, edit->mapToGlobal(at), Qt::NoButton,
                             Qt::NoButton, Qt::NoModifier);
            QCoreApplication::sendEvent(edit, &move);
            seen += panel() + QLatin1Char('/');
        };
        pointAt(full);
        pointAt(cut);
        edit->close();
    });
    edit->exec(form.mapToGlobal(QPoint(0, 0)));
    ASSERT_FALSE(cut->isEnabled());
    EXPECT_EQ(seen, QStringLiteral("カタカナ、英数を全角文字に変換します//"));
}

}  // namespace
}  // namespace kivo
