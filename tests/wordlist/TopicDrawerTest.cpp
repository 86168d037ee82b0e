#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <vector>

#include "wordlist/TopicDrawer.h"

namespace kivo {
namespace {

struct MemorySettings : SettingsStore {
    std::map<std::string, bool> values;
    std::optional<bool> readBool(const std::string& key) override {
        const auto it = values.find(key);
        if (it == values.end()) return std::nullopt;
        return it->second;
    }
    void writeBool(const std::string& key, bool value) override { values[key] = value; }
    std::optional<std::string> readString(const std::string&) override { return std::nullopt; }
    void writeString(const std::string&, const std::string&) override {}
};

// A clock that moves on one second each time it is read.
struct TickingClock : WallClock {
    LocalTime at{2024, 5, 1, 9, 5, 7};
    LocalTime now() override {
        const LocalTime was = at;
        ++at.second;
        return was;
    }
};

// What the window would have shown.
struct RecordingView : TopicView {
    std::vector<std::string> messages;
    std::vector<DrawnTopics> topics;
    void showMessage(const std::string& text) override { messages.push_back(text); }
    void showTopics(const DrawnTopics& drawn) override { topics.push_back(drawn); }
};

struct Lines {
    std::vector<std::string> lines;
    WordListSource source() const {
        return {[this] { return static_cast<std::uint32_t>(lines.size()); },
                [this](std::uint32_t i) { return lines.at(i); }};
    }
};

class TopicDrawerTest : public ::testing::Test {
protected:
    MemorySettings settings;
    TickingClock clock;
    RandomGenerator random;

    // Every topic of each draw, without the blank in front.
    static std::vector<std::string> texts(const RecordingView& view) {
        std::vector<std::string> out;
        for (const DrawnTopics& drawn : view.topics) {
            for (const DrawnTopic& topic : drawn) out.push_back(topic.text.substr(1));
        }
        return out;
    }
};

TEST_F(TopicDrawerTest, OffDrawsTheOldSequenceWithTheOldMessagesAndIsRemembered) {
    TopicDrawer drawer(settings, clock);
    EXPECT_FALSE(drawer.noRepeats());
    // Once on and off again, the mode leaves no trace on the draw.
    drawer.setNoRepeats(true);
    drawer.setNoRepeats(false);
    EXPECT_EQ(settings.values.at(kNoRepeatsSetting), false);
    const Lines lists[] = {{{}}, {{"一つ"}}, {{"a", "", "b", "c", ""}}, {{"犬", "猫"}}};
    for (const Lines& list : lists) {
        for (std::uint32_t seed = 0; seed < 3000; seed += 37) {
            RandomGenerator old;
            old.setSeed(seed);
            const DrawResult expected = drawTopics(list.source(), old);
            random.setSeed(seed);
            RecordingView view;
            drawer.draw(list.source(), random, view);
            ASSERT_EQ(random.seed(), old.seed());
            if (expected.outcome == DrawOutcome::Drawn) {
                ASSERT_TRUE(view.messages.empty());
                ASSERT_EQ(view.topics.at(0), expected.topics);
            } else {
                ASSERT_EQ(view.messages, std::vector<std::string>{drawMessage(expected.outcome)});
                ASSERT_TRUE(view.topics.empty());
            }
        }
    }

    drawer.setNoRepeats(true);
    EXPECT_EQ(settings.values.at(kNoRepeatsSetting), true);
    EXPECT_TRUE(TopicDrawer(settings, clock).noRepeats());
}

TEST_F(TopicDrawerTest, PoolGivesEveryEntryOnceSkippingBlanksThenStartsAgain) {
    // The pool alone: every position exactly once, then nothing.
    NoRepeatPool pool;
    pool.restart(1000);
    random.setSeed(99);
    std::vector<int> seen(1000);
    while (pool.remaining() > 0) ++seen.at(pool.take(random));
    EXPECT_EQ(std::count(seen.begin(), seen.end(), 1), 1000);

    // Five entries and two blank lines: two draws use four entries, the third
    // finds one left, says so and draws from the whole list again.
    const Lines list{{"a", "", "b", "c", "", "d", "e"}};
    const std::set<std::string> words{"a", "b", "c", "d", "e"};
    for (std::uint32_t seed = 0; seed < 2000; seed += 13) {
        TopicDrawer drawer(settings, clock);
        drawer.setNoRepeats(true);
        random.setSeed(seed);
        RecordingView view;
        for (int i = 0; i < 2; ++i) drawer.draw(list.source(), random, view);
        const std::vector<std::string> round = texts(view);
        ASSERT_EQ(std::set<std::string>(round.begin(), round.end()).size(), 4u);
        ASSERT_TRUE(std::all_of(round.begin(), round.end(),
                                [&](const std::string& w) { return words.count(w) == 1; }));
        ASSERT_TRUE(view.messages.empty());
        drawer.draw(list.source(), random, view);
        ASSERT_EQ(view.messages, std::vector<std::string>{kPoolRestartMessage});
        ASSERT_EQ(view.topics.size(), 3u);
        const DrawnTopics& third = view.topics.back();
        ASSERT_NE(third[0], third[1]);
        ASSERT_EQ(words.count(third[0].text.substr(1)) + words.count(third[1].text.substr(1)), 2u);
    }

    // Fewer than two words at all: the old message, and never a round.
    TopicDrawer drawer(settings, clock);
    const Lines oneWord{{"", "a", ""}};
    RecordingView view;
    for (int i = 0; i < 3; ++i) drawer.draw(oneWord.source(), random, view);
    EXPECT_EQ(view.messages, std::vector<std::string>(3, drawMessage(DrawOutcome::OneEntry)));
    EXPECT_TRUE(view.topics.empty());
}

TEST_F(TopicDrawerTest, EqualTextsAreTwoEntriesAndAnEditStartsThePoolAgain) {
    const Lines list{{"同じ", "同じ", "x", "y"}};
    TopicDrawer drawer(settings, clock);
    drawer.setNoRepeats(true);
    random.setSeed(4242);
    RecordingView view;
    drawer.draw(list.source(), random, view);
    drawer.draw(list.source(), random, view);
    std::vector<std::string> round = texts(view);
    std::sort(round.begin(), round.end());
    EXPECT_EQ(round, (std::vector<std::string>{"x", "y", "同じ", "同じ"}));
    EXPECT_TRUE(view.messages.empty());

    // Two of four drawn; after an edit the next two draws start from all four,
    // so no round ends.
    drawer.draw(list.source(), random, view);  // ends the round, takes two
    view.messages.clear();
    drawer.listChanged();
    drawer.draw(list.source(), random, view);
    drawer.draw(list.source(), random, view);
    EXPECT_TRUE(view.messages.empty());
    // A list that changed length is a new list too.
    Lines longer = list;
    longer.lines.push_back("z");
    drawer.draw(longer.source(), random, view);
    drawer.draw(longer.source(), random, view);
    EXPECT_TRUE(view.messages.empty());
}

TEST_F(TopicDrawerTest, HistoryListsDrawsLatestFirstAsTabbedLines) {
    TopicDrawer drawer(settings, clock);
    const Lines list{{"犬", "猫", "鳥", ""}};
    RecordingView view;
    random.setSeed(0);
    for (int i = 0; i < 40 && view.topics.size() < 3; ++i) drawer.draw(list.source(), random, view);
    ASSERT_EQ(view.topics.size(), 3u);
    ASSERT_FALSE(view.messages.empty());  // blank-line draws are not in the history
    const DrawHistory& history = drawer.history();
    ASSERT_EQ(history.size(), 3u);
    EXPECT_EQ(history.newest(0).topics[0].text, view.topics[2][0].text.substr(1));
    EXPECT_EQ(history.newest(2).topics[1].text, view.topics[0][1].text.substr(1));
    // The clock is read once per recorded draw: 09:05:07, :08, :09.
    std::string expected;
    for (int i = 2; i >= 0; --i) {
        expected += "2024/05/01 09:05:0" + std::to_string(7 + i) + "\t" +
                    view.topics[i][0].text.substr(1) + "\t" + view.topics[i][1].text.substr(1) +
                    "\r\n";
    }
    EXPECT_EQ(history.text("\r\n"), expected);
    EXPECT_EQ(formatDrawTime({2025, 12, 31, 23, 59, 0}), "2025/12/31 23:59:00");

    drawer.clearHistory();
    EXPECT_TRUE(drawer.history().empty());
    EXPECT_EQ(drawer.history().text(), "");
}

TEST_F(TopicDrawerTest, ThreeTopicsWithoutRepeatsTakeThreeAtATime) {
    TopicDrawer drawer(settings, clock);
    drawer.setTopicCount(3);
    drawer.setNoRepeats(true);
    EXPECT_EQ(TopicDrawer(settings, clock).topicCount(), 3u);
    const Lines list{{"a", "b", "", "c", "d", "e", "f", "g"}};
    random.setSeed(321);
    RecordingView view;
    drawer.draw(list.source(), random, view);
    drawer.draw(list.source(), random, view);
    std::vector<std::string> round = texts(view);
    EXPECT_EQ(std::set<std::string>(round.begin(), round.end()).size(), 6u);
    // One undrawn entry left: the round ends.
    drawer.draw(list.source(), random, view);
    EXPECT_EQ(view.messages, std::vector<std::string>{kPoolRestartMessageThree});
    EXPECT_EQ(view.topics.back().size(), 3u);

    const Lines two{{"a", "b"}};
    view.messages.clear();
    drawer.draw(two.source(), random, view);
    EXPECT_EQ(view.messages, std::vector<std::string>{drawMessage(DrawOutcome::TooFewEntries)});
}

TEST_F(TopicDrawerTest, ByHeadingWithoutRepeatsKeepsAPoolPerSection) {
    TopicDrawer drawer(settings, clock);
    drawer.setByHeading(true);
    drawer.setNoRepeats(true);
    EXPECT_TRUE(TopicDrawer(settings, clock).byHeading());
    const Lines list{{"【人物】", "騎士", "魔女", "【場所】", "駅", "", "港", "城", "海"}};
    random.setSeed(8);
    RecordingView view;
    drawer.draw(list.source(), random, view);
    drawer.draw(list.source(), random, view);
    EXPECT_TRUE(view.messages.empty());
    const std::vector<std::string> round = texts(view);
    EXPECT_EQ(std::set<std::string>({round[0], round[2]}),
              std::set<std::string>({"騎士", "魔女"}));
    EXPECT_NE(round[1], round[3]);
    // The first section's round has ended; the second's goes on.
    drawer.draw(list.source(), random, view);
    EXPECT_EQ(view.messages, std::vector<std::string>{"見出し【人物】の語句を全て選出した為、最初から選出し直します"});
    const std::set<std::string> places{round[1], round[3], texts(view)[5]};
    EXPECT_EQ(places.size(), 3u);
    EXPECT_EQ(historyTopicText(drawer.history().newest(0).topics[0]).substr(0, 12), "【人物】");
}

}  // namespace
}  // namespace kivo
