#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QLabel>
#include <QTest>

#include "FormControls.h"
#include "ScriptedBoxes.h"
#include "app/TMainForm.h"
#include "platform/MemoControl.h"

namespace kivo {
namespace {

TEST(MemoControl, CountLeavesOutOnlyATrailingEmptyLine) {
    MemoControl memo;
    EXPECT_EQ(memo.count(), 0);
    memo.setPlainText(QStringLiteral("犬\n猫\n"));
    EXPECT_EQ(memo.count(), 2);
    memo.setPlainText(QStringLiteral("犬\n\n猫"));
    EXPECT_EQ(memo.count(), 3);
    memo.setPlainText(QStringLiteral("犬\n猫\n\n\n"));
    EXPECT_EQ(memo.count(), 4);
    EXPECT_EQ(memo.line(2), QString());
    memo.setPlainText(QStringLiteral("\n"));
    EXPECT_EQ(memo.count(), 1);
}

TEST(MemoControl, LineIsCutAt4096BytesOfCodePage932NeverInsideACharacter) {
    MemoControl memo;
    const QString kanji(3000, QChar(u'語'));
    memo.setPlainText(QStringLiteral("ab\n") + QStringLiteral("a") + kanji + QStringLiteral("\n") +
                      QString(5000, QLatin1Char('x')));
    EXPECT_EQ(memo.line(0), QStringLiteral("ab"));
    // 1 + 2047 * 2 bytes = 4095; the next character would need 4097.
    EXPECT_EQ(memo.line(1), QStringLiteral("a") + QString(2047, QChar(u'語')));
    EXPECT_EQ(memo.line(2), QString(4096, QLatin1Char('x')));
}

TEST(MemoControl, ClearRemovesTextAndModifiedMark) {
    MemoControl memo;
    memo.setPlainText(QStringLiteral("犬"));
    memo.setModified(true);
    memo.clearList();
    EXPECT_EQ(memo.count(), 0);
    EXPECT_FALSE(memo.isModified());
}

TEST(MemoControl, TypingSetsTheModifiedMarkAndRefreshesTheLineCount) {
    ScriptedBoxes boxes;
    TMainForm form(boxes);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    ui(form).Memo->setFocus();
    QTest::keyClicks(ui(form).Memo, QStringLiteral("dog"));
    QTest::keyClick(ui(form).Memo, Qt::Key_Return);
    // Japanese arrives from the input method as a committed string.
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("猫"));
    QCoreApplication::sendEvent(ui(form).Memo, &commit);
    EXPECT_TRUE(ui(form).Memo->isModified());
    EXPECT_EQ(ui(form).LabelLineValue->text(), QStringLiteral("2"));
    QTest::keyClick(ui(form).Memo, Qt::Key_Return);
    EXPECT_EQ(ui(form).LabelLineValue->text(), QStringLiteral("2"));  // trailing empty line
    QTest::keyClick(ui(form).Memo, Qt::Key_Return);
    EXPECT_EQ(ui(form).LabelLineValue->text(), QStringLiteral("3"));
    EXPECT_TRUE(boxes.shown.empty());
}

TEST(MemoControl, EveryLineShownIsAnEntry) {
    ScriptedBoxes boxes;
    TMainForm form(boxes);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    ui(form).Memo->setFocus();
    QTest::keyClicks(ui(form).Memo, QStringLiteral("dog"));
    QTest::keyClick(ui(form).Memo, Qt::Key_Return, Qt::ShiftModifier);  // U+2028 in a plain editor
    QTest::keyClicks(ui(form).Memo, QStringLiteral("cat"));
    EXPECT_EQ(ui(form).LabelLineValue->text(), QStringLiteral("2"));
    QTest::keyClick(ui(form).Memo, Qt::Key_Return);
    QGuiApplication::clipboard()->setText(QStringLiteral("a\u2028b\u2029c\vd\fe"));
    ui(form).Memo->paste();
    EXPECT_EQ(ui(form).Memo->allLines(), (QStringList{"dog", "cat", "a", "b", "c", "d", "e"}));

    // Loaded text, and lines a Word document appends.
    TextStyle bold;
    bold.bold = true;
    ui(form).Memo->setStyledText(QStringLiteral("x\u2028y\vz\u2029"), {{0, 3, bold}});
    ASSERT_TRUE(ui(form).Memo->appendLine(QStringLiteral("p\fq")));
    EXPECT_EQ(ui(form).Memo->allLines(), (QStringList{"x", "y", "z", "p", "q"}));
    EXPECT_EQ(ui(form).Memo->count(), 5);
}

}  // namespace
}  // namespace kivo
