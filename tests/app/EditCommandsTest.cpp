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
#include <QTextCursor>

#include "ScriptedBoxes.h"
#include "app/TMainForm.h"
#include "platform/MemoControl.h"

namespace kivo {
namespace {

class EditCommandsTest : public ::testing::Test {
protected:
    ScriptedBoxes boxes;
    TMainForm form{boxes};

    void SetUp() override {
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
        QApplication::setActiveWindow(&form);
    }
    void run(const char* name) { form.findChild<QAction*>(QString::fromLatin1(name))->trigger(); }
    QAction* action(const char* name) {
        return form.findChild<QAction*>(QString::fromLatin1(name));
    }
    QString text() const { return form.Memo->document()->toRawText(); }
    void select(int from, int to) {
        QTextCursor c = form.Memo->textCursor();
        c.setPosition(from);
        c.setPosition(to, QTextCursor::KeepAnchor);
        form.Memo->setTextCursor(c);
    }
    // Opens the Edit menu, as a user would, and closes it again.
    void openEditMenu() {
        QMenu* edit = form.menuBar()->actions()[1]->menu();
        emit edit->aboutToShow();
    }
};

const QChar kBreak = QChar::ParagraphSeparator;

TEST_F(EditCommandsTest, ListModeConvertsEveryLineAndEndsEachWithABreak) {
    form.Memo->setPlainText(QStringLiteral("abc\n\nﾃﾞｰﾀ 漢字\nあ"));
    run("mnuFullWidth");
    EXPECT_EQ(form.Memo->allLines(), (QStringList{"ａｂｃ", "", "データ　漢字", "あ"}));
    EXPECT_TRUE(text().endsWith(kBreak));
    EXPECT_EQ(form.Memo->count(), 4);
    EXPECT_EQ(form.LabelLineValue->text(), QStringLiteral("4"));
    EXPECT_TRUE(form.Memo->isModified());
    run("mnuHalfWidth");
    EXPECT_EQ(form.Memo->allLines(), (QStringList{"abc", "", "ﾃﾞｰﾀ 漢字", "あ"}));
    form.Memo->setPlainText(QStringLiteral("ＡＢＣ　１２３"));
    run("mnuHalfWidth");
    EXPECT_EQ(form.Memo->allLines(), QStringList{"ABC 123"});
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(EditCommandsTest, AnEmptyListStaysEmptyAndUnmodified) {
    form.Memo->setModified(true);
    run("mnuFullWidth");
    EXPECT_EQ(form.Memo->count(), 0);
    EXPECT_FALSE(form.Memo->isModified());
}

TEST_F(EditCommandsTest, LongLinesConvertWhole) {
    // Far beyond both a 255-byte piece and a 4096-byte line read.
    const QString line = QString(3000, QLatin1Char('a')) + QString(3000, QChar(u'ｶ'));
    form.Memo->setPlainText(line + QStringLiteral("\nb"));
    run("mnuFullWidth");
    EXPECT_EQ(form.Memo->allLines(),
              (QStringList{QString(3000, QChar(u'ａ')) + QString(3000, QChar(u'カ')), "ｂ"}));
}

TEST_F(EditCommandsTest, SelectionModeConvertsOnePieceNotUndoably) {
    form.Memo->setPlainText(QStringLiteral("abc\nｶﾞ x\nz"));
    QTest::keyClicks(form.Memo, QStringLiteral("q"));  // something to undo
    form.Memo->setPlainText(QStringLiteral("abc\nｶﾞ x\nz"));
    select(1, 2);
    run("mnuFullWidth");
    EXPECT_EQ(text(), QStringLiteral("aｂc") + kBreak + QStringLiteral("ｶﾞ x") + kBreak + "z");
    EXPECT_EQ(form.Memo->textCursor().position(), 2);
    EXPECT_FALSE(form.Memo->textCursor().hasSelection());
    // Across lines: one piece, the breaks stay.
    select(2, 9);
    run("mnuFullWidth");
    EXPECT_EQ(text(), QStringLiteral("aｂｃ") + kBreak + QStringLiteral("ガ　ｘ") + kBreak + "z");
    run("EditUndoCmd");
    EXPECT_EQ(text(), QStringLiteral("aｂｃ") + kBreak + QStringLiteral("ガ　ｘ") + kBreak + "z");
    // After select all the whole text is the piece.
    run("mnuEditSelectAll");
    run("mnuHalfWidth");
    EXPECT_EQ(text(), QStringLiteral("abc") + kBreak + QStringLiteral("ｶﾞ x") + kBreak + "z");
}

TEST_F(EditCommandsTest, LinesBeyondTheCapacityComeBackUnconverted) {
    form.Memo->setPlainText(QStringLiteral("ab\ncd\nef"));
    form.Memo->setCapacity(6);  // "ａｂ\nｃｄ\n" fits, the third does not
    run("mnuFullWidth");
    EXPECT_EQ(form.Memo->allLines(), (QStringList{"ａｂ", "ｃｄ", "ef"}));
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].kind, ScriptedBoxes::Shown::Error);
    EXPECT_EQ(boxes.shown[0].text, QStringLiteral("RichEdit での行の挿入エラー."));
}

TEST_F(EditCommandsTest, EditCommandsActOnTheListFromBothMenus) {
    form.Memo->setPlainText(QStringLiteral("犬猫"));
    form.Edit1st->setText(QStringLiteral(" topic"));
    form.Edit1st->setFocus();
    form.Edit1st->selectAll();
    select(0, 1);
    run("mnuEditCopy");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("犬"));
    run("mnuPUCut");
    EXPECT_EQ(text(), QStringLiteral("猫"));
    form.Memo->moveCursor(QTextCursor::End);
    run("mnuPUPaste");
    EXPECT_EQ(text(), QStringLiteral("猫犬"));
    run("mnuSelectAll");
    EXPECT_EQ(form.Memo->textCursor().selectedText(), QStringLiteral("猫犬"));
    run("mnuPUUndo");
    EXPECT_EQ(text(), QStringLiteral("猫"));
    EXPECT_EQ(form.Edit1st->text(), QStringLiteral(" topic"));
}

TEST_F(EditCommandsTest, EnablingFollowsTheFocusedEditControlWhenAMenuOpens) {
    QGuiApplication::clipboard()->setText(QStringLiteral("x"));
    form.Memo->setPlainText(QStringLiteral("犬"));
    form.Memo->setFocus();
    form.Memo->moveCursor(QTextCursor::End);
    openEditMenu();
    EXPECT_FALSE(action("mnuEditCut")->isEnabled());
    EXPECT_FALSE(action("mnuPUCopy")->isEnabled());
    EXPECT_TRUE(action("mnuEditPaste")->isEnabled());
    EXPECT_TRUE(action("mnuEditSelectAll")->isEnabled());
    EXPECT_FALSE(action("mnuEditUndo")->isEnabled());  // a fresh text has no undo

    form.Edit1st->setText(QStringLiteral(" 犬"));
    form.Edit1st->setFocus();
    form.Edit1st->selectAll();
    QGuiApplication::clipboard()->clear();
    openEditMenu();
    EXPECT_TRUE(action("mnuEditCopy")->isEnabled());
    EXPECT_FALSE(action("mnuEditPaste")->isEnabled());
    // The copy still takes the list's selection, which is empty.
    QGuiApplication::clipboard()->setText(QStringLiteral("kept"));
    run("mnuEditCopy");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("kept"));

    // With the focus on a button every command keeps its state.
    form.ButtonOK->setFocus();
    openEditMenu();
    EXPECT_TRUE(action("mnuEditCopy")->isEnabled());
    EXPECT_FALSE(action("mnuEditPaste")->isEnabled());
    // The conversions are always there.
    EXPECT_TRUE(action("mnuFullWidth")->isEnabled());
}

TEST_F(EditCommandsTest, AMenuReachedByKeyboardJudgesTheControlThatHadTheFocus) {
    // Copy enabled and paste disabled from a selection in a topic field.
    form.Edit1st->setText(QStringLiteral(" 犬"));
    form.Edit1st->setFocus();
    form.Edit1st->selectAll();
    QGuiApplication::clipboard()->clear();
    openEditMenu();
    ASSERT_TRUE(action("mnuEditCopy")->isEnabled());

    // Alt, right, down: the Edit menu opens with the focus on the menu bar.
    QGuiApplication::clipboard()->setText(QStringLiteral("x"));
    form.Memo->setFocus();
    QTest::keyClick(form.Memo, Qt::Key_Alt);
    QTest::keyClick(form.menuBar(), Qt::Key_Right);
    QTest::keyClick(form.menuBar(), Qt::Key_Down);
    QMenu* edit = form.menuBar()->actions()[1]->menu();
    ASSERT_TRUE(edit->isVisible());
    EXPECT_FALSE(action("mnuEditCopy")->isEnabled());
    EXPECT_FALSE(action("mnuEditCut")->isEnabled());
    EXPECT_TRUE(action("mnuEditPaste")->isEnabled());
    edit->close();
}

}  // namespace
}  // namespace kivo
