#pragma once
// The topic button's command in every draw mode, and the history of draws.
// The modes: two topics or three; from the whole list or one from each
// section under its heading; with repeats, or without, where no entry
// comes back before every other entry (of its section) has had its turn.
// Two topics from the whole list with repeats draw exactly as drawTopics
// always has.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "wordlist/DrawHistory.h"
#include "wordlist/DrawPorts.h"
#include "wordlist/NoRepeatPool.h"
#include "wordlist/TopicDraw.h"

namespace kivo {

// Where the modes' switches are kept between runs.
inline constexpr const char* kNoRepeatsSetting = "Draw/NoRepeats";
inline constexpr const char* kThreeTopicsSetting = "Draw/ThreeTopics";
inline constexpr const char* kByHeadingSetting = "Draw/ByHeading";

// Said when the pool has fewer entries left than a draw takes and starts
// again.
inline constexpr const char* kPoolRestartMessage =
    "まだ選出されていない語句が二つ未満になった為、最初から選出し直します";
inline constexpr const char* kPoolRestartMessageThree =
    "まだ選出されていない語句が三つ未満になった為、最初から選出し直します";
// Said when sections' pools have run out and start again; the headings
// come first.
inline constexpr const char* kSectionPoolRestartTail = "の語句を全て選出した為、最初から選出し直します";

class TopicDrawer {
public:
    // Reads the modes' switches from `settings`; both ports must outlive
    // the drawer.
    TopicDrawer(SettingsStore& settings, WallClock& clock);

    bool noRepeats() const { return noRepeats_; }
    // Switches the mode and remembers it; switching on starts the pool.
    void setNoRepeats(bool on);
    // 2 or 3.
    std::size_t topicCount() const { return topicCount_; }
    void setTopicCount(std::size_t count);
    bool byHeading() const { return byHeading_; }
    void setByHeading(bool on);
    // The list has been edited or replaced: the pools and the sections are
    // read again when next needed. Cheap enough to call on every keystroke.
    void listChanged() { ++listGeneration_; }

    // Draws the topics in the current modes and shows the outcome on
    // `view`; a draw goes into the history.
    void draw(const WordListSource& list, RandomGenerator& random, TopicView& view);

    // The list's sections, read once per version of the list.
    const std::vector<ListSection>& sections(const WordListSource& list);

    const DrawHistory& history() const { return history_; }
    void clearHistory() { history_.clear(); }

private:
    DrawResult drawWithoutRepeats(const WordListSource& list, RandomGenerator& random,
                                  TopicView& view);
    DrawResult drawSectionsWithoutRepeats(const WordListSource& list, RandomGenerator& random,
                                          TopicView& view);
    bool takeTopics(const WordListSource& list, RandomGenerator& random, DrawResult& result);
    void restartPool(std::uint32_t size);
    void restartSectionPools(const std::vector<ListSection>& sections);

    SettingsStore& settings_;
    WallClock& clock_;
    bool noRepeats_ = false;
    bool byHeading_ = false;
    std::size_t topicCount_ = kFewestTopics;
    NoRepeatPool pool_;
    // One per section, in the sections' order, when drawing by heading.
    std::vector<NoRepeatPool> sectionPools_;
    // Compared rather than acted on at each change, so an edit costs nothing
    // and a pool starts again only when a draw needs it.
    // A pool of another generation, or kStale, starts again.
    static constexpr std::uint64_t kStale = ~std::uint64_t{0};
    std::uint64_t listGeneration_ = 0;
    std::uint64_t poolGeneration_ = kStale;
    std::uint64_t sectionPoolsGeneration_ = kStale;
    std::uint64_t sectionsGeneration_ = kStale;
    std::uint32_t sectionsCount_ = 0;
    std::vector<ListSection> sections_;
    DrawHistory history_;
};

}  // namespace kivo
