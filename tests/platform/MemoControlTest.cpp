#include <gtest/gtest.h>

#include <QAccessible>
#include <QClipboard>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QTest>

#include "commands/ListContract.h"
#include "editor/EditorStyles.h"
#include "platform/MemoControl.h"

namespace kivo {
namespace {

TEST(MemoControl, CountLeavesOutOnlyATrailingEmptyLine) {
    MemoControl memo;
    EXPECT_EQ(memo.count(), 0);
    memo.setPlainUtf8("犬\n猫\n");
    EXPECT_EQ(memo.count(), 2);
    memo.setPlainUtf8("犬\n\n猫");
    EXPECT_EQ(memo.count(), 3);
    memo.setPlainUtf8("犬\n猫\n\n\n");
    EXPECT_EQ(memo.count(), 4);
    EXPECT_EQ(memo.line(2), QString());
    memo.setPlainUtf8("\n");
    EXPECT_EQ(memo.count(), 1);
}

TEST(MemoControl, LineIsCutAt4096BytesOfCodePage932NeverInsideACharacter) {
    MemoControl memo;
    const QString kanji(3000, QChar(u'語'));
    memo.setPlainUtf8((QStringLiteral("ab\n") + QStringLiteral("a") + kanji + QStringLiteral("\n") +
                       QString(5000, QLatin1Char('x')))
                          .toStdString());
    EXPECT_EQ(memo.line(0), QStringLiteral("ab"));
    // 1 + 2047 * 2 bytes = 4095; the next character would need 4097.
    EXPECT_EQ(memo.line(1), QStringLiteral("a") + QString(2047, QChar(u'語')));
    EXPECT_EQ(memo.line(2), QString(4096, QLatin1Char('x')));
}

TEST(MemoControl, ClearRemovesTextAndModifiedMark) {
    MemoControl memo;
    memo.setPlainUtf8("犬");
    memo.setModified(true);
    memo.clearList();
    EXPECT_EQ(memo.count(), 0);
    EXPECT_FALSE(memo.isModified());
}

TEST(MemoControl, EveryLineShownIsAnEntry) {
    MemoControl memo;
    memo.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&memo));
    memo.setFocus();
    QTest::keyClicks(&memo, QStringLiteral("dog"));
    QTest::keyClick(&memo, Qt::Key_Return, Qt::ShiftModifier);  // U+2028 in a plain editor
    QTest::keyClicks(&memo, QStringLiteral("cat"));
    EXPECT_EQ(memo.count(), 2);
    QTest::keyClick(&memo, Qt::Key_Return);
    QGuiApplication::clipboard()->setText(QStringLiteral("a\u2028b\u2029c\vd\fe"));
    memo.paste();
    EXPECT_EQ(memo.allLines(), (QStringList{"dog", "cat", "a", "b", "c", "d", "e"}));

    // Loaded text, and lines a Word document appends.
    TextStyle bold;
    bold.bold = true;
    memo.setStyledUtf8("x\u2028y\vz\u2029", {{0, 3, bold}});
    memo.appendUtf8("p\fq\n");
    EXPECT_EQ(memo.allLines(), (QStringList{"x", "y", "z", "p", "q"}));
    EXPECT_EQ(memo.count(), 5);
}

TEST(MemoControl, FormatsBeyondTheEditorsStylesTakeTheNearestAndLoseNoText) {
    MemoControl memo;
    // One format per character: blue 0, 1, 2, ... while the styles last,
    // then the last blue underlined, which no style is left for.
    const int defined = EditorStyles::limit() - 1;  // style 0 is plain text
    const int extra = 20;
    QString text;
    std::vector<StyledRange> ranges;
    for (int i = 0; i < defined + extra; ++i) {
        text += QChar(u'あ' + i % 80);
        TextStyle style;
        style.color = static_cast<std::uint32_t>(std::min(i, defined - 1));
        style.underline = i >= defined;
        ranges.push_back({static_cast<std::uint32_t>(i), 1, style});
    }
    memo.setStyledUtf8(text.toStdString(), ranges);
    EXPECT_EQ(QString::fromStdString(memo.utf8Text()), text);
    EXPECT_EQ(memo.stylesInUse(), EditorStyles::limit() - 1);  // all but the plain one
    EXPECT_EQ(memo.styleAt(5).color, 5u);
    const TextStyle stand_in = memo.styleAt(defined + extra - 1);
    EXPECT_EQ(stand_in.color, static_cast<std::uint32_t>(defined - 1));
    EXPECT_FALSE(stand_in.underline);
    // What a save writes keeps every character and the formats shown.
    const StyledText saved = memo.styledText();
    EXPECT_EQ(QString::fromStdString(saved.text), text);
    EXPECT_EQ(saved.ranges.front().style->color, 0u);
}

TEST(MemoControl, ALongLineAndManyLinesLoadAndLengthsCountUtf16) {
    MemoControl memo;
    memo.setPlainUtf8(std::string(kLongestLineBytes, 'x') + std::string(100'000, '\n'));
    EXPECT_EQ(memo.count(), 100'000);
    EXPECT_EQ(memo.line(0).size(), 4096);
    // Lengths count UTF-16 units, as the capacity does.
    memo.setPlainUtf8("😀犬abcdefgh\n");
    EXPECT_EQ(memo.length(), 12);
}

TEST(MemoControl, AReplacementShowsItsLinesAtCommitAndNeverBefore) {
    MemoControl memo;
    memo.setPlainUtf8("old\n");
    memo.replacement()->add("dropped\n");  // never committed
    EXPECT_EQ(memo.utf8Text(), "old\n");

    // Blocks the editor takes in on a thread of its own, a separator shown
    // as a line break among them.
    std::string block;
    for (int i = 0; i < 50'000; ++i) block += "行" + std::to_string(i) + "\n";
    const auto replacement = memo.replacement();
    replacement->add(block);
    replacement->add("a\u2028b\n");
    replacement->add(block);
    EXPECT_EQ(memo.utf8Text(), "old\n");
    replacement->commit();
    EXPECT_EQ(memo.utf8Text(), block + "a\nb\n" + block);
    EXPECT_EQ(memo.count(), 100'002);
    EXPECT_EQ(memo.length(),
              static_cast<qsizetype>(QString::fromStdString(memo.utf8Text()).size()));
    EXPECT_TRUE(memo.isModified());
    EXPECT_FALSE(memo.canUndo());

    // None at all: an empty list, as after a clear.
    const auto none = memo.replacement();
    none->commit();
    EXPECT_TRUE(memo.isEmpty());
    EXPECT_FALSE(memo.isModified());
}

TEST(MemoControl, AnInputMethodShowsItsPreeditInPlaceAndCommitsInsertsIt) {
    MemoControl memo;
    memo.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&memo));
    memo.setFocus();
    memo.setPlainUtf8("犬\n");
    memo.moveCaretToEnd();
    QInputMethodEvent preedit(QStringLiteral("ねこ"), {});
    QCoreApplication::sendEvent(&memo, &preedit);
    EXPECT_TRUE(memo.utf8Text().ends_with("ねこ"));
    EXPECT_TRUE(
        static_cast<QWidget&>(memo).inputMethodQuery(Qt::ImCursorRectangle).toRect().isValid());
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("猫"));
    QCoreApplication::sendEvent(&memo, &commit);
    EXPECT_EQ(memo.allLines(), (QStringList{"犬", "猫"}));
    EXPECT_TRUE(memo.isModified());
}

TEST(MemoControl, ScreenReadersReadTheListsText) {
    MemoControl memo;
    memo.setPlainUtf8("犬\n猫");
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(&memo);
    ASSERT_NE(list, nullptr);
    ASSERT_NE(list->textInterface(), nullptr);
    EXPECT_EQ(list->textInterface()->text(0, list->textInterface()->characterCount()),
              QStringLiteral("犬\n猫"));
}

}  // namespace
}  // namespace kivo
