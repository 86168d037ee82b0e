#pragma once
// The topic button's command in both draw modes, and the history of draws.
// Off, the mode draws exactly as drawTopics always has; on, no entry comes
// back before every other entry has had its turn.
#include <cstdint>
#include <string>

#include "wordlist/DrawHistory.h"
#include "wordlist/DrawPorts.h"
#include "wordlist/NoRepeatPool.h"
#include "wordlist/TopicDraw.h"

namespace kivo {

// Where the mode's switch is kept between runs.
inline constexpr const char* kNoRepeatsSetting = "Draw/NoRepeats";

// Said when the pool has fewer than two entries left and starts again.
inline constexpr const char* kPoolRestartMessage =
    "まだ選出されていない語句が二つ未満になった為、最初から選出し直します";

class TopicDrawer {
public:
    // Reads the mode's switch from `settings`; both ports must outlive the
    // drawer.
    TopicDrawer(SettingsStore& settings, WallClock& clock);

    bool noRepeats() const { return noRepeats_; }
    // Switches the mode and remembers it; switching on starts the pool.
    void setNoRepeats(bool on);
    // The list has been edited or replaced: the pool starts again at the
    // next draw. Cheap enough to call on every keystroke.
    void listChanged() { ++listGeneration_; }

    // Draws two topics in the current mode and shows the outcome on `view`;
    // a drawn pair goes into the history.
    void draw(const WordListSource& list, RandomGenerator& random, TopicView& view);

    const DrawHistory& history() const { return history_; }
    void clearHistory() { history_.clear(); }

private:
    DrawResult drawWithoutRepeats(const WordListSource& list, RandomGenerator& random,
                                  TopicView& view);
    bool takePair(const WordListSource& list, RandomGenerator& random, DrawResult& result);
    void restartPool(std::uint32_t size);

    SettingsStore& settings_;
    WallClock& clock_;
    bool noRepeats_ = false;
    NoRepeatPool pool_;
    // Compared rather than acted on at each change, so an edit costs nothing
    // and the pool starts again only when a draw needs it.
    std::uint64_t listGeneration_ = 0;
    std::uint64_t poolGeneration_ = 0;
    DrawHistory history_;
};

}  // namespace kivo
