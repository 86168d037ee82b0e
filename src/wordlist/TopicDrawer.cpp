#include "wordlist/TopicDrawer.h"

#include <optional>
#include <utility>

namespace kivo {

TopicDrawer::TopicDrawer(SettingsStore& settings, WallClock& clock)
    : settings_(settings), clock_(clock) {
    noRepeats_ = settings_.readBool(kNoRepeatsSetting).value_or(false);
}

void TopicDrawer::setNoRepeats(bool on) {
    if (on && !noRepeats_) restartPool(0);  // sized by the next draw
    noRepeats_ = on;
    settings_.writeBool(kNoRepeatsSetting, on);
}

void TopicDrawer::restartPool(std::uint32_t size) {
    pool_.restart(size);
    poolGeneration_ = listGeneration_;
}

void TopicDrawer::draw(const WordListSource& list, RandomGenerator& random, TopicView& view) {
    const DrawResult result =
        noRepeats_ ? drawWithoutRepeats(list, random, view) : drawTopics(list, random);
    if (result.outcome != DrawOutcome::Drawn) {
        view.showMessage(drawMessage(result.outcome));
        return;
    }
    history_.add({clock_.now(), result.topic1.substr(1), result.topic2.substr(1)});
    view.showTopics(result.topic1, result.topic2);
}

namespace {

// The next non-blank entry of the pool; blank lines are dropped from it as
// they come up, so they cost a step of the generator but never a pass over
// the list.
std::optional<std::pair<std::uint32_t, std::string>> takeEntry(NoRepeatPool& pool,
                                                               const WordListSource& list,
                                                               RandomGenerator& random) {
    while (pool.remaining() > 0) {
        const std::uint32_t position = pool.take(random);
        std::string text = list.line(position);
        if (!text.empty()) return std::make_pair(position, std::move(text));
    }
    return std::nullopt;
}

}  // namespace

bool TopicDrawer::takePair(const WordListSource& list, RandomGenerator& random,
                           DrawResult& result) {
    auto first = takeEntry(pool_, list, random);
    if (!first) return false;
    auto second = takeEntry(pool_, list, random);
    if (!second) return false;
    result.outcome = DrawOutcome::Drawn;
    result.first = first->first;
    result.second = second->first;
    result.topic1 = " " + first->second;
    result.topic2 = " " + second->second;
    return true;
}

DrawResult TopicDrawer::drawWithoutRepeats(const WordListSource& list, RandomGenerator& random,
                                           TopicView& view) {
    DrawResult result;
    const std::uint32_t n = list.count();
    // Too short a list is told as ever, without a step of the generator.
    if (n == 0) return result;
    if (n == 1) {
        result.outcome = DrawOutcome::OneEntry;
        return result;
    }
    if (poolGeneration_ != listGeneration_ || pool_.size() != n) restartPool(n);
    const bool fresh = pool_.remaining() == n;
    if (takePair(list, random, result)) return result;
    if (!fresh) {
        // A round has ended: say so, and draw from the whole list again.
        view.showMessage(kPoolRestartMessage);
        restartPool(n);
        if (takePair(list, random, result)) return result;
    }
    // Fewer than two entries that are not blank: nothing to draw from.
    restartPool(n);
    result.outcome = DrawOutcome::OneEntry;
    return result;
}

}  // namespace kivo
