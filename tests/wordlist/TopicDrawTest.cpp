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
    EXPECT_EQ(r.topics[0].text, " 鳥");
    EXPECT_EQ(r.topics[1].text, " 猫");

    FakeList three{{"a", "b", "c"}};
    g.setSeed(0);
    r = drawTopics(three.source(), g);
    EXPECT_EQ(r.positions[0], 0u);
    EXPECT_EQ(r.positions[1], 2u);
    EXPECT_EQ(r.topics[0].text, " a");
    EXPECT_EQ(r.topics[1].text, " c");
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
    EXPECT_TRUE(r.topics.empty());
}

TEST(TopicDraw, TwoEntriesAlwaysShowBothAndBlanksAreValidTopics) {
    FakeList two{{"同じ", "同じ"}};
    FakeList spaces{{"  ", "x"}};
    RandomGenerator g;
    for (std::uint32_t seed = 0; seed < 200; ++seed) {
        g.setSeed(seed * 7919u);
        DrawResult r = drawTopics(two.source(), g);
        ASSERT_EQ(r.outcome, DrawOutcome::Drawn);
        EXPECT_NE(r.positions[0], r.positions[1]);
        EXPECT_EQ(r.topics[0].text, " 同じ");
        EXPECT_EQ(r.topics[1].text, " 同じ");
        r = drawTopics(spaces.source(), g);
        ASSERT_EQ(r.outcome, DrawOutcome::Drawn);
        EXPECT_EQ(r.positions[0] == 0 ? r.topics[0].text : r.topics[1].text, "   ");
    }
}

TEST(TopicDraw, AThirdTopicComesAfterTheTwoFromTheSameGenerator) {
    FakeList five{{"犬", "猫", "鳥", "魚", "虫"}};
    RandomGenerator two, three;
    for (std::uint32_t seed = 0; seed < 300; ++seed) {
        two.setSeed(seed * 104729u);
        three.setSeed(seed * 104729u);
        const DrawResult pair = drawTopics(five.source(), two);
        const DrawResult r = drawTopics(five.source(), three, 3);
        ASSERT_EQ(r.outcome, DrawOutcome::Drawn);
        // The first two are the pair the same seed gives two topics.
        EXPECT_EQ(r.positions[0], pair.positions[0]);
        EXPECT_EQ(r.positions[1], pair.positions[1]);
        EXPECT_NE(r.positions[2], r.positions[0]);
        EXPECT_NE(r.positions[2], r.positions[1]);
    }
    three.setSeed(seedFromTimeOfDay(12, 34, 56, 789));
    const DrawResult r = drawTopics(five.source(), three, 3);
    EXPECT_EQ(r.topics, (DrawnTopics{{" 鳥", ""}, {" 猫", ""}, {" 犬", ""}}));

    FakeList pair{{"a", "b"}};
    three.setSeed(5);
    EXPECT_EQ(drawMessage(drawTopics(pair.source(), three, 3)),
              "語句が不足している為、三つのお題をリストアップ出来ませんでした");
    EXPECT_EQ(three.seed(), 5u);
}

TEST(TopicDraw, SectionsStartAtHeadingLinesAndHoldOnlyTheirEntries) {
    FakeList list{{"前書き", "【人物】", "騎士", "", " \u3000", "魔女", "　【 場所 】 ", "駅",
                   "【A】【B】", "【】", "【もの】"}};
    const std::vector<ListSection> sections = readSections(list.source());
    ASSERT_EQ(sections.size(), 3u);
    EXPECT_EQ(sections[0].heading, "人物");
    EXPECT_EQ(sections[0].entries, (std::vector<std::uint32_t>{2, 5}));
    EXPECT_EQ(sections[1].heading, "場所");
    // Not headings: two bracketed words, empty brackets.
    EXPECT_EQ(sections[1].entries, (std::vector<std::uint32_t>{7, 8, 9}));
    EXPECT_TRUE(sections[2].entries.empty());
    EXPECT_EQ(drawableEntries(sections), 5u);

    RandomGenerator g;
    g.setSeed(99);
    DrawResult r = drawFromSections(sections, list.source(), g, 3);
    EXPECT_EQ(drawMessage(r), "見出し【もの】に語句がありません");
    r = drawFromSections({sections[0]}, list.source(), g, 2);
    EXPECT_EQ(drawMessage(r), "2つ目の見出しがありません");
    r = drawFromSections({}, list.source(), g, 2);
    EXPECT_EQ(r.outcome, DrawOutcome::MissingSection);
    EXPECT_EQ(g.seed(), 99u);

    r = drawFromSections(sections, list.source(), g, 2);
    ASSERT_EQ(r.outcome, DrawOutcome::Drawn);
    EXPECT_EQ(r.topics[0].heading, "人物");
    EXPECT_TRUE(r.topics[0].text == " 騎士" || r.topics[0].text == " 魔女");
    EXPECT_EQ(r.topics[1].heading, "場所");
    EXPECT_NE(r.topics[1].text.find_first_of("駅【"), std::string::npos);
}

}  // namespace
}  // namespace kivo
