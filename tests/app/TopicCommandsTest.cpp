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
};

// The draws and the clearing are the commands' (tests/commands): here each
// button and menu item reaches its command and the window shows the result.
TEST_F(TopicCommandsTest, TheButtonDrawsFromTheListIntoBothTopics) {
    // The list's final break ends the last entry; it adds none.
    ui(form).Memo->setPlainUtf8("犬\n猫\n鳥\n魚\n虫\n");
    drawWithSeed(45296789u);
    EXPECT_EQ(ui(form).Edit1st->text(), QStringLiteral(" 鳥"));
    EXPECT_EQ(ui(form).Edit2nd->text(), QStringLiteral(" 猫"));
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(TopicCommandsTest, ClearListFromEveryPlaceEmptiesTheListItsMarkAndCount) {
    for (const char* route : {"button", "mnuListClear", "mnuClear"}) {
        ui(form).Memo->setPlainUtf8("犬\n猫");
        ui(form).Memo->setModified(true);
        ui(form).LabelLineValue->setText(QStringLiteral("2"));
        if (std::string(route) == "button") {
            QTest::mouseClick(ui(form).ButtonListClear, Qt::LeftButton);
        } else {
            form.findChild<QAction*>(QString::fromLatin1(route))->trigger();
        }
        EXPECT_EQ(ui(form).Memo->count(), 0) << route;
        EXPECT_FALSE(ui(form).Memo->isModified()) << route;
        EXPECT_EQ(ui(form).LabelLineValue->text(), QStringLiteral("0")) << route;
    }
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(TopicCommandsTest, ClearTopicsFromBothMenusEmptiesBothTopics) {
    for (const char* name : {"mnuFListClear", "mnuFListC"}) {
        ui(form).Edit1st->setText(QStringLiteral(" 犬"));
        ui(form).Edit2nd->setText(QStringLiteral(" 猫"));
        form.findChild<QAction*>(QString::fromLatin1(name))->trigger();
        EXPECT_TRUE(ui(form).Edit1st->text().isEmpty()) << name;
        EXPECT_TRUE(ui(form).Edit2nd->text().isEmpty()) << name;
    }
}

}  // namespace
}  // namespace kivo
