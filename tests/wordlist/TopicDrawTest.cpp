#include <gtest/gtest.h>

#include <vector>

#include "wordlist/TopicDraw.h"

namespace kivo {
namespace {

// A list whose line reads are counted, so the tests see what the draw reads.
struct FakeList {
    std::vector<std::string> lines;
    mutable int reads = 0;
    WordListSource source() const {
        return {[this] { return static_cast<std::uint32_t>(lines.size()); },
                [this](std::uint32_t i) {
                    ++reads;
                    return lines.at(i);
                }};
    }
};

TEST(TopicDraw, WorkedExamplesGiveTheirTopics) {
    FakeList five{{"犬", "猫", "鳥", "魚", "虫"}};
    RandomGenerator g;
    g.setSeed(seedFromTimeOfDay(12, 34, 56, 789));
    DrawResult r = drawTopics(five.source(), g);
    EXPECT_EQ(r.outcome, DrawOutcome::Drawn);
    EXPECT_EQ(r.topic1, " 鳥");
    EXPECT_EQ(r.topic2, " 猫");

    FakeList three{{"a", "b", "c"}};
    g.setSeed(0);
    r = drawTopics(three.source(), g);
    EXPECT_EQ(r.first, 0u);
    EXPECT_EQ(r.second, 2u);
    EXPECT_EQ(r.topic1, " a");
    EXPECT_EQ(r.topic2, " c");
    EXPECT_EQ(g.seed(), 3698175007u);
}

TEST(TopicDraw, ShortListsStopWithoutMovingTheSeed) {
    RandomGenerator g;
    g.setSeed(777);
    FakeList none;
    DrawResult r = drawTopics(none.source(), g);
    EXPECT_EQ(r.outcome, DrawOutcome::NoEntries);
    EXPECT_EQ(drawMessage(r.outcome), "語句リストに語句を追加して下さい");
    FakeList one{{"only"}};
    r = drawTopics(one.source(), g);
    EXPECT_EQ(r.outcome, DrawOutcome::OneEntry);
    EXPECT_EQ(drawMessage(r.outcome), "語句が不足している為、お題をリストアップ出来ませんでした");
    EXPECT_EQ(g.seed(), 777u);
    EXPECT_EQ(none.reads + one.reads, 0);
}

TEST(TopicDraw, AnEmptyEntryStopsWithOneMessageAndLeavesTheSeedAdvanced) {
    RandomGenerator g;
    g.setSeed(0);  // draws 0, then 0 again, then 2
    FakeList blanks{{"", "x", ""}};
    const DrawResult r = drawTopics(blanks.source(), g);
    EXPECT_EQ(r.outcome, DrawOutcome::EmptyEntry);
    EXPECT_EQ(drawMessage(r.outcome), "語句リストに空白が含まれています");
    EXPECT_EQ(blanks.reads, 1);  // the second entry is not even read
    EXPECT_EQ(g.seed(), 3698175007u);
    EXPECT_TRUE(r.topic1.empty());
}

TEST(TopicDraw, TwoEntriesAlwaysShowBothAndBlanksAreValidTopics) {
    FakeList two{{"同じ", "同じ"}};
    FakeList spaces{{"  ", "x"}};
    RandomGenerator g;
    for (std::uint32_t seed = 0; seed < 200; ++seed) {
        g.setSeed(seed * 7919u);
        DrawResult r = drawTopics(two.source(), g);
        ASSERT_EQ(r.outcome, DrawOutcome::Drawn);
        EXPECT_NE(r.first, r.second);
        EXPECT_EQ(r.topic1, " 同じ");
        EXPECT_EQ(r.topic2, " 同じ");
        r = drawTopics(spaces.source(), g);
        ASSERT_EQ(r.outcome, DrawOutcome::Drawn);
        EXPECT_EQ(r.first == 0 ? r.topic1 : r.topic2, "   ");
    }
}

}  // namespace
}  // namespace kivo
