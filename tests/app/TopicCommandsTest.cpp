#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>

#include "FormControls.h"
#include "ScriptedBoxes.h"
#include "app/MainWindow.h"
#include "platform/MemoControl.h"
#include "wordlist/Random.h"

namespace kivo {
namespace {

class TopicCommandsTest : public ::testing::Test {
protected:
    ScriptedBoxes boxes;
    MainWindow form{boxes};

    void drawWithSeed(std::uint32_t seed) {
        processRandom().setSeed(seed);
        QTest::mouseClick(ui(form).ButtonOK, Qt::LeftButton);
    }
    QString lastMessage() const {
        return boxes.shown.empty() ? QString() : boxes.shown.back().text;
    }
};

TEST_F(TopicCommandsTest, WorkedExamplesFillBothTopics) {
    ui(form).Memo->setPlainUtf8("犬\n猫\n鳥\n魚\n虫");
    drawWithSeed(45296789u);
    EXPECT_EQ(ui(form).Edit1st->text(), QStringLiteral(" 鳥"));
    EXPECT_EQ(ui(form).Edit2nd->text(), QStringLiteral(" 猫"));
    ui(form).Memo->setPlainUtf8("a\nb\nc\n");
    drawWithSeed(0);
    EXPECT_EQ(ui(form).Edit1st->text(), QStringLiteral(" a"));
    EXPECT_EQ(ui(form).Edit2nd->text(), QStringLiteral(" c"));
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(TopicCommandsTest, ClearListFromEveryPlaceLeavesTopicsAndCaption) {
    for (const char* route : {"button", "mnuListClear", "mnuClear"}) {
        ui(form).Memo->setPlainUtf8("犬\n猫");
        ui(form).Memo->setModified(true);
        ui(form).LabelLineValue->setText(QStringLiteral("2"));
        ui(form).Edit1st->setText(QStringLiteral(" 犬"));
        if (std::string(route) == "button") {
            QTest::mouseClick(ui(form).ButtonListClear, Qt::LeftButton);
        } else {
            form.findChild<QAction*>(QString::fromLatin1(route))->trigger();
        }
        EXPECT_EQ(ui(form).Memo->count(), 0) << route;
        EXPECT_FALSE(ui(form).Memo->isModified()) << route;
        EXPECT_EQ(ui(form).LabelLineValue->text(), QStringLiteral("0")) << route;
        EXPECT_EQ(ui(form).Edit1st->text(), QStringLiteral(" 犬")) << route;
    }
    EXPECT_EQ(form.windowTitle(), MainWindow::kInitialCaption);
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(TopicCommandsTest, ClearTopicsFromBothMenusLeavesTheList) {
    ui(form).Memo->setPlainUtf8("犬\n猫");
    for (const char* name : {"mnuFListClear", "mnuFListC"}) {
        ui(form).Edit1st->setText(QStringLiteral(" 犬"));
        ui(form).Edit2nd->setText(QStringLiteral(" 猫"));
        form.findChild<QAction*>(QString::fromLatin1(name))->trigger();
        EXPECT_TRUE(ui(form).Edit1st->text().isEmpty()) << name;
        EXPECT_TRUE(ui(form).Edit2nd->text().isEmpty()) << name;
        EXPECT_EQ(ui(form).Memo->count(), 2);
    }
}

}  // namespace
}  // namespace kivo
