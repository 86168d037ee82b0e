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
    EXPECT_EQ(session.topics(), window.topicBoxes);
    window.topicBoxes = {"typed", "over"};
    session.run(CommandId::Present);
    EXPECT_EQ(window.view.back(), "open:light:" + session.topics()[0] + "/" + session.topics()[1]);
    session.run(CommandId::ClearTopics);
    EXPECT_EQ(session.topics(), (std::array<std::string, 2>{}));
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
