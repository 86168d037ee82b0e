#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>

#include "FormControls.h"
#include "ScriptedBoxes.h"
#include "app/MainWindow.h"
#include "platform/MemoControl.h"

namespace kivo {
namespace {

class EditCommandsTest : public ::testing::Test {
protected:
    ScriptedBoxes boxes;
    MainWindow form{boxes};

    void SetUp() override {
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
        QApplication::setActiveWindow(&form);
    }
    void run(const char* name) { form.findChild<QAction*>(QString::fromLatin1(name))->trigger(); }
    QAction* action(const char* name) {
        return form.findChild<QAction*>(QString::fromLatin1(name));
    }
    QString text() const { return QString::fromStdString(ui(form).Memo->utf8Text()); }
    void select(int from, int to) { ui(form).Memo->selectRange(from, to); }
    // Opens the Edit menu, as a user would, and closes it again.
    void openEditMenu() {
        QMenu* edit = form.menuBar()->actions()[1]->menu();
        emit edit->aboutToShow();
    }
    // Alt, right, down from `from`: the Edit menu opens with the focus on
    // the menu bar.
    QMenu* openEditMenuByKeyboard(QWidget* from) {
        QTest::keyClick(from, Qt::Key_Alt);
        QTest::keyClick(form.menuBar(), Qt::Key_Right);
        QTest::keyClick(form.menuBar(), Qt::Key_Down);
        return form.menuBar()->actions()[1]->menu();
    }
};

const QChar kBreak = QLatin1Char('\n');

TEST_F(EditCommandsTest, ListModeConvertsEveryLineAndEndsEachWithABreak) {
    ui(form).Memo->setPlainUtf8("abc\n\nﾃﾞｰﾀ 漢字\nあ");
    run("mnuFullWidth");
    EXPECT_EQ(ui(form).Memo->allLines(), (QStringList{"ａｂｃ", "", "データ　漢字", "あ"}));
    EXPECT_TRUE(text().endsWith(kBreak));
    EXPECT_EQ(ui(form).Memo->count(), 4);
    EXPECT_EQ(ui(form).LabelLineValue->text(), QStringLiteral("4"));
    EXPECT_TRUE(ui(form).Memo->isModified());
    run("mnuHalfWidth");
    EXPECT_EQ(ui(form).Memo->allLines(), (QStringList{"abc", "", "ﾃﾞｰﾀ 漢字", "あ"}));
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(EditCommandsTest, SelectionModeConvertsOnePieceNotUndoably) {
    ui(form).Memo->setPlainUtf8("abc\nｶﾞ x\nz");
    QTest::keyClicks(ui(form).Memo, QStringLiteral("q"));  // something to undo
    ui(form).Memo->setPlainUtf8("abc\nｶﾞ x\nz");
    ui(form).Memo->setModified(false);
    select(1, 2);
    run("mnuFullWidth");
    EXPECT_EQ(text(), QStringLiteral("aｂc") + kBreak + QStringLiteral("ｶﾞ x") + kBreak + "z");
    // The editor empties its undo buffer, and with it its save point; the
    // list is changed all the same.
    EXPECT_TRUE(ui(form).Memo->isModified());
    EXPECT_EQ(ui(form).Memo->caretPosition(), 2);
    EXPECT_FALSE(ui(form).Memo->hasSelection());
    run("EditUndoCmd");
    EXPECT_EQ(text(), QStringLiteral("aｂc") + kBreak + QStringLiteral("ｶﾞ x") + kBreak + "z");
    // After select all the whole text is the piece: no break is added.
    run("mnuEditSelectAll");
    run("mnuFullWidth");
    EXPECT_EQ(text(), QStringLiteral("ａｂｃ") + kBreak + QStringLiteral("ガ　ｘ") + kBreak + "ｚ");
}

TEST_F(EditCommandsTest, EditCommandsActOnTheListFromBothMenus) {
    ui(form).Memo->setPlainUtf8("犬猫");
    ui(form).Edit1st->setText(QStringLiteral(" topic"));
    ui(form).Edit1st->setFocus();
    ui(form).Edit1st->selectAll();
    select(0, 1);
    run("mnuEditCopy");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("犬"));
    run("mnuPUCut");
    EXPECT_EQ(text(), QStringLiteral("猫"));
    ui(form).Memo->moveCaretToEnd();
    run("mnuPUPaste");
    EXPECT_EQ(text(), QStringLiteral("猫犬"));
    run("mnuSelectAll");
    EXPECT_EQ(ui(form).Memo->selectedListText(), "猫犬");
    run("mnuPUUndo");
    EXPECT_EQ(text(), QStringLiteral("猫"));
    EXPECT_EQ(ui(form).Edit1st->text(), QStringLiteral(" topic"));
    // The paste key runs the same command, which judges what comes in.
    ui(form).Memo->setFocus();
    ui(form).Memo->moveCaretToEnd();
    QGuiApplication::clipboard()->setText(QString(8'000'000, QLatin1Char('\n')));
    QTest::keyClick(ui(form).Memo, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(text(), QStringLiteral("猫"));
    ASSERT_FALSE(boxes.shown.empty());
    EXPECT_EQ(boxes.shown.back().text, QStringLiteral("メモリが不足しています."));
    QGuiApplication::clipboard()->setText(QStringLiteral("鳥"));
    QTest::keyClick(ui(form).Memo, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(text(), QStringLiteral("猫鳥"));
}

TEST_F(EditCommandsTest, EnablingFollowsTheFocusedEditControlWhenAMenuOpens) {
    QGuiApplication::clipboard()->setText(QStringLiteral("x"));
    ui(form).Memo->setPlainUtf8("犬");
    ui(form).Memo->setFocus();
    ui(form).Memo->moveCaretToEnd();
    openEditMenu();
    EXPECT_FALSE(action("mnuEditCut")->isEnabled());
    EXPECT_FALSE(action("mnuPUCopy")->isEnabled());
    EXPECT_TRUE(action("mnuEditPaste")->isEnabled());
    EXPECT_TRUE(action("mnuEditSelectAll")->isEnabled());
    EXPECT_FALSE(action("mnuEditUndo")->isEnabled());  // a fresh text has no undo

    ui(form).Edit1st->setText(QStringLiteral(" 犬"));
    ui(form).Edit1st->setFocus();
    ui(form).Edit1st->selectAll();
    QGuiApplication::clipboard()->clear();
    openEditMenu();
    EXPECT_TRUE(action("mnuEditCopy")->isEnabled());
    EXPECT_FALSE(action("mnuEditPaste")->isEnabled());
    // The copy still takes the list's selection, which is empty.
    QGuiApplication::clipboard()->setText(QStringLiteral("kept"));
    run("mnuEditCopy");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("kept"));

    // With the focus on a button every command keeps its state.
    ui(form).ButtonOK->setFocus();
    openEditMenu();
    EXPECT_TRUE(action("mnuEditCopy")->isEnabled());
    EXPECT_FALSE(action("mnuEditPaste")->isEnabled());
    // The conversions are always there.
    EXPECT_TRUE(action("mnuFullWidth")->isEnabled());
}

TEST_F(EditCommandsTest, AMenuReachedByKeyboardJudgesTheControlThatHadTheFocus) {
    // Copy enabled and paste disabled from a selection in a topic field.
    ui(form).Edit1st->setText(QStringLiteral(" 犬"));
    ui(form).Edit1st->setFocus();
    ui(form).Edit1st->selectAll();
    QGuiApplication::clipboard()->clear();
    openEditMenu();
    ASSERT_TRUE(action("mnuEditCopy")->isEnabled());

    QGuiApplication::clipboard()->setText(QStringLiteral("x"));
    ui(form).Memo->setFocus();
    QMenu* edit = openEditMenuByKeyboard(ui(form).Memo);
    ASSERT_TRUE(edit->isVisible());
    EXPECT_FALSE(action("mnuEditCopy")->isEnabled());
    EXPECT_FALSE(action("mnuEditCut")->isEnabled());
    EXPECT_TRUE(action("mnuEditPaste")->isEnabled());
    edit->close();
}

TEST_F(EditCommandsTest, AMenuClosedWithEscLeavesTheTopicFieldItsSelection) {
    ui(form).Edit1st->setText(QStringLiteral("犬と猫"));
    ui(form).Edit1st->setFocus();
    ui(form).Edit1st->selectAll();
    QMenu* edit = openEditMenuByKeyboard(ui(form).Edit1st);
    ASSERT_TRUE(edit->isVisible());
    QTest::keyClick(edit, Qt::Key_Escape);
    EXPECT_EQ(ui(form).Edit1st->selectedText(), QStringLiteral("犬と猫"));
    openEditMenu();
    EXPECT_TRUE(action("mnuEditCopy")->isEnabled());
    EXPECT_TRUE(action("mnuEditCut")->isEnabled());
}

}  // namespace
}  // namespace kivo
