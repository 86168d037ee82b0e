#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

#include "FakeWindow.h"
#include "commands/CommandRunner.h"
#include "core/Errors.h"
#include "files/FileError.h"

namespace kivo {
namespace {

using CommandRunnerTest = RunnerTest;

TEST_F(CommandRunnerTest, EachIdReachesItsCommandAndTheWindowsOwn) {
    window.list = {"犬"};
    window.modified = true;  // exit asks nothing, whatever the list
    session.run(CommandId::Exit);
    session.run(CommandId::DrawHistory);
    session.run(CommandId::About);
    session.run(CommandId::NoRepeats);
    EXPECT_TRUE(topics.noRepeats());
    session.run(CommandId::NoRepeats);
    EXPECT_FALSE(topics.noRepeats());
    window.list = {"犬", "猫"};
    session.run(CommandId::Draw);
    // The session keeps what it showed; nothing is read back from a box.
    EXPECT_FALSE(window.topics.empty());
    EXPECT_EQ(FakeWindow::joined(session.topics()), window.topics);
    const std::string drawn = window.topics;
    window.topicBoxes = {"typed", "over"};
    session.run(CommandId::Present);
    EXPECT_EQ(window.view.back(), "open:light:" + drawn);
    session.run(CommandId::ClearTopics);
    EXPECT_TRUE(session.topics().empty());
    session.run(CommandId::ClearList);
    EXPECT_TRUE(window.list.empty());
    EXPECT_EQ(window.shown,
              (Lines{"closed", "history", "about", "checked", "unchecked", "topics cleared"}));
}

TEST_F(CommandRunnerTest, ErrorsReachTheErrorBoxAndSilentCancelsNothing) {
    bool after = false;
    session.guard([&] {
        throw SilentCancel();
        after = true;
    });
    EXPECT_TRUE(window.shown.empty());
    session.guard([] { throw FileError(kAccessDenied); });
    session.guard([] { throw std::runtime_error("I/O エラー (5)"); });
    EXPECT_EQ(window.shown,
              (Lines{"error:ファイルへのアクセスが拒否されました.", "error:I/O エラー (5)"}));
    EXPECT_FALSE(after);
    // A command's own failure, through its id: the save prompt cancelled.
    window.list = {"犬"};
    window.modified = true;
    window.answers = {BoxAnswer::Cancel};
    session.run(CommandId::New);
    EXPECT_EQ(window.list, Lines{"犬"});
    EXPECT_EQ(window.shown.back(), "confirm:現在の単語リストを保存しますか？");
}

TEST(CommandRunner, RunningOutOfMemoryIsToldFromMemoryHeldBackAndNeverFailsTwice) {
    // Boxes that, like a box built when memory is gone, fail while showing.
    struct FailingBoxes : FakeWindow {
        int failures = 0;
        bool reserveHeldWhileShowing = true;
        void error(const std::string& text) override {
            reserveHeldWhileShowing = memoryReserveHeld();
            if (failures-- > 0) throw std::bad_alloc();
            FakeWindow::error(text);
        }
    };
    holdMemoryReserve();
    FailingBoxes boxes;
    reportCommandError(boxes, std::make_exception_ptr(std::bad_alloc()));
    EXPECT_EQ(boxes.shown, Lines{"error:メモリが不足しています."});
    EXPECT_FALSE(boxes.reserveHeldWhileShowing);
    EXPECT_TRUE(memoryReserveHeld());
    // Showing an ordinary error fails for want of memory: the user hears of
    // the memory instead; when that box fails too, the program goes on.
    boxes.failures = 1;
    reportCommandError(boxes, std::make_exception_ptr(std::runtime_error("x")));
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(boxes.shown[1], boxes.shown[0]);
    boxes.failures = 2;
    reportCommandError(boxes, std::make_exception_ptr(std::bad_alloc()));
    EXPECT_EQ(boxes.shown.size(), 2u);
    EXPECT_TRUE(memoryReserveHeld());
}

}  // namespace
}  // namespace kivo

namespace kivo {
namespace {

TEST_F(RunnerTest, ThreeTopicsAndDrawByHeadingReachTheBoxesTheCountAndTheView) {
    session.start();
    EXPECT_EQ(window.area, (TopicArea{2, false}));
    window.list = {"前書き", "【人物】", "騎士", "", "【場所】", "駅", "港", "【もの】", "鍵"};
    window.shown.clear();
    session.run(CommandId::ThreeTopics);
    session.run(CommandId::ByHeading);
    EXPECT_EQ(window.shown, (Lines{"topics cleared", "area:3", "three", "topics cleared",
                                   "area:3:headings", "by heading"}));
    EXPECT_EQ(window.lineCounts.back(), "4（3見出し）");
    EXPECT_TRUE(window.settings.at(kThreeTopicsSetting));
    EXPECT_TRUE(window.settings.at(kByHeadingSetting));

    processRandom().setSeed(1);
    session.run(CommandId::Draw);
    EXPECT_TRUE(window.topics.starts_with("【人物】 騎士/【場所】 "));
    EXPECT_TRUE(window.topics.ends_with("/【もの】 鍵"));
    session.run(CommandId::Present);
    EXPECT_EQ(window.view.back(), "open:light:" + window.topics);

    // A section without entries stops the draw and names it.
    const std::string shown = window.topics;
    window.list.pop_back();
    session.listChanged();
    session.run(CommandId::Draw);
    EXPECT_EQ(window.shown.back(), "message:見出し【もの】に語句がありません");
    EXPECT_EQ(window.topics, shown);

    // Both off: two topics from the whole list, as before.
    session.run(CommandId::TwoTopics);
    session.run(CommandId::ByHeading);
    EXPECT_EQ(window.area, (TopicArea{2, false}));
    session.listMoved();
    EXPECT_EQ(window.lineCounts.back(), "8");
}

}  // namespace
}  // namespace kivo
