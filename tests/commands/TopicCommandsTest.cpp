#include <gtest/gtest.h>

#include "FakeWindow.h"
#include "commands/TopicCommands.h"
#include "wordlist/Random.h"

namespace kivo {
namespace {

class TopicCommandsTest : public ::testing::Test {
protected:
    FakeWindow window;
    TopicCommands topics{window, window, window, window, window};

    void drawWithSeed(std::uint32_t seed) {
        processRandom().setSeed(seed);
        topics.drawTopics();
    }
};

TEST_F(TopicCommandsTest, DrawsFillBothTopicsOrSayWhatIsMissingAndKeepThem) {
    window.list = {"犬", "猫", "鳥", "魚", "虫"};
    drawWithSeed(45296789u);
    EXPECT_EQ(window.topics, " 鳥/ 猫");

    window.list = {"一つ"};
    drawWithSeed(42);
    EXPECT_EQ(window.shown,
              Lines{"message:語句が不足している為、お題をリストアップ出来ませんでした"});
    EXPECT_EQ(processRandom().seed(), 42u);
    EXPECT_EQ(window.topics, " 鳥/ 猫");

    // The first and the last empty; seed 0 draws 0, then 0 again, then 2.
    window.list = {"", "x", ""};
    drawWithSeed(0);
    EXPECT_EQ(window.shown.back(), "message:語句リストに空白が含まれています");
    EXPECT_EQ(processRandom().seed(), 3698175007u);
    EXPECT_EQ(window.topics, " 鳥/ 猫");
}

TEST_F(TopicCommandsTest, ClearingTheListShowsACountOfNoughtAndReseedingSaysSo) {
    window.list = {"犬", "猫"};
    window.modified = true;
    window.topics = " 犬/ 猫";
    topics.clearList();
    EXPECT_TRUE(window.list.empty());
    EXPECT_FALSE(window.modified);
    EXPECT_EQ(window.lineCounts, Lines{"0"});
    EXPECT_EQ(window.topics, " 犬/ 猫");

    processRandom().setSeed(0xFFFFFFFFu);
    topics.reseedDraw();
    EXPECT_EQ(window.shown, Lines{"message:ランダムを再生成しました"});
    EXPECT_LT(processRandom().seed(), 86400000u);
}

TEST_F(TopicCommandsTest, TheNoRepeatSwitchIsKeptAndAnEditStartsThePoolAgain) {
    topics.setNoRepeats(true);
    EXPECT_EQ(window.settings[kNoRepeatsSetting], true);
    TopicCommands again{window, window, window, window, window};
    EXPECT_TRUE(again.noRepeats());

    window.list = {"犬", "猫", "鳥"};
    drawWithSeed(7);
    topics.listChanged();  // the whole list is undrawn again
    drawWithSeed(7);
    EXPECT_TRUE(window.shown.empty());
    // Without an edit one entry is left: the round ends, says so and draws.
    drawWithSeed(7);
    EXPECT_EQ(window.shown, Lines{std::string("message:") + kPoolRestartMessage});
    EXPECT_EQ(topics.drawer().history().size(), 3u);
}

}  // namespace
}  // namespace kivo
