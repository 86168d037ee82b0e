#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>

#include "ScriptedBoxes.h"
#include "app/TMainForm.h"
#include "platform/MemoControl.h"
#include "wordlist/Random.h"

namespace kivo {
namespace {

class TopicCommandsTest : public ::testing::Test {
protected:
    ScriptedBoxes boxes;
    TMainForm form{boxes};

    void drawWithSeed(std::uint32_t seed) {
        processRandom().setSeed(seed);
        QTest::mouseClick(form.ButtonOK, Qt::LeftButton);
    }
    QString lastMessage() const {
        return boxes.shown.empty() ? QString() : boxes.shown.back().text;
    }
};

TEST_F(TopicCommandsTest, WorkedExamplesFillBothTopics) {
    form.Memo->setPlainText(QStringLiteral("犬\n猫\n鳥\n魚\n虫"));
    drawWithSeed(45296789u);
    EXPECT_EQ(form.Edit1st->text(), QStringLiteral(" 鳥"));
    EXPECT_EQ(form.Edit2nd->text(), QStringLiteral(" 猫"));
    form.Memo->setPlainText(QStringLiteral("a\nb\nc\n"));
    drawWithSeed(0);
    EXPECT_EQ(form.Edit1st->text(), QStringLiteral(" a"));
    EXPECT_EQ(form.Edit2nd->text(), QStringLiteral(" c"));
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(TopicCommandsTest, ShortListsSayWhatIsMissingAndKeepTopicsAndSeed) {
    form.Edit1st->setText(QStringLiteral(" 前"));
    drawWithSeed(42);
    EXPECT_EQ(lastMessage(), QStringLiteral("語句リストに語句を追加して下さい"));
    form.Memo->setPlainText(QStringLiteral("一つ\n"));
    drawWithSeed(42);
    EXPECT_EQ(lastMessage(),
              QStringLiteral("語句が不足している為、お題をリストアップ出来ませんでした"));
    EXPECT_EQ(processRandom().seed(), 42u);
    EXPECT_EQ(form.Edit1st->text(), QStringLiteral(" 前"));
    EXPECT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(boxes.shown[0].kind, ScriptedBoxes::Shown::Message);
}

TEST_F(TopicCommandsTest, ADrawnEmptyLineStopsWithOneMessage) {
    form.Memo->setPlainText(QStringLiteral("a\nb\nc"));
    drawWithSeed(0);
    // Three lines, the first and the last empty; seed 0 draws 0, then 0
    // again, then 2.
    form.Memo->setPlainText(QStringLiteral("\nx\n\n"));
    drawWithSeed(0);
    EXPECT_EQ(lastMessage(), QStringLiteral("語句リストに空白が含まれています"));
    EXPECT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(processRandom().seed(), 3698175007u);
    EXPECT_EQ(form.Edit1st->text(), QStringLiteral(" a"));
    EXPECT_EQ(form.Edit2nd->text(), QStringLiteral(" c"));
}

TEST_F(TopicCommandsTest, ClearListFromEveryPlaceLeavesTopicsAndCaption) {
    for (const char* route : {"button", "mnuListClear", "mnuClear"}) {
        form.Memo->setPlainText(QStringLiteral("犬\n猫"));
        form.Memo->setModified(true);
        form.LabelLineValue->setText(QStringLiteral("2"));
        form.Edit1st->setText(QStringLiteral(" 犬"));
        if (std::string(route) == "button") {
            QTest::mouseClick(form.ButtonListClear, Qt::LeftButton);
        } else {
            form.findChild<QAction*>(QString::fromLatin1(route))->trigger();
        }
        EXPECT_EQ(form.Memo->count(), 0) << route;
        EXPECT_FALSE(form.Memo->isModified()) << route;
        EXPECT_EQ(form.LabelLineValue->text(), QStringLiteral("0")) << route;
        EXPECT_EQ(form.Edit1st->text(), QStringLiteral(" 犬")) << route;
    }
    EXPECT_EQ(form.windowTitle(), TMainForm::kInitialCaption);
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(TopicCommandsTest, ClearTopicsFromBothMenusLeavesTheList) {
    form.Memo->setPlainText(QStringLiteral("犬\n猫"));
    for (const char* name : {"mnuFListClear", "mnuFListC"}) {
        form.Edit1st->setText(QStringLiteral(" 犬"));
        form.Edit2nd->setText(QStringLiteral(" 猫"));
        form.findChild<QAction*>(QString::fromLatin1(name))->trigger();
        EXPECT_TRUE(form.Edit1st->text().isEmpty()) << name;
        EXPECT_TRUE(form.Edit2nd->text().isEmpty()) << name;
        EXPECT_EQ(form.Memo->count(), 2);
    }
}

TEST_F(TopicCommandsTest, ReseedSaysSoAndSeedsFromTheClock) {
    processRandom().setSeed(0xFFFFFFFFu);
    form.findChild<QAction*>(QStringLiteral("mnuRandom"))->trigger();
    EXPECT_EQ(lastMessage(), QStringLiteral("ランダムを再生成しました"));
    EXPECT_LT(processRandom().seed(), 86400000u);
}

}  // namespace
}  // namespace kivo
