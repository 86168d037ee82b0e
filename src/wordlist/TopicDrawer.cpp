#include "wordlist/TopicDrawer.h"

#include <optional>
#include <utility>

namespace kivo {

TopicDrawer::TopicDrawer(SettingsStore& settings, WallClock& clock)
    : settings_(settings), clock_(clock) {
    noRepeats_ = settings_.readBool(kNoRepeatsSetting).value_or(false);
    byHeading_ = settings_.readBool(kByHeadingSetting).value_or(false);
    topicCount_ = settings_.readBool(kThreeTopicsSetting).value_or(false) ? kMostTopics
                                                                          : kFewestTopics;
}

void TopicDrawer::setNoRepeats(bool on) {
    // Switched on, every pool starts full at the next draw.
    if (on && !noRepeats_) poolGeneration_ = sectionPoolsGeneration_ = kStale;
    noRepeats_ = on;
    settings_.writeBool(kNoRepeatsSetting, on);
}

void TopicDrawer::setTopicCount(std::size_t count) {
    topicCount_ = count == kMostTopics ? kMostTopics : kFewestTopics;
    settings_.writeBool(kThreeTopicsSetting, topicCount_ == kMostTopics);
}

void TopicDrawer::setByHeading(bool on) {
    byHeading_ = on;
    settings_.writeBool(kByHeadingSetting, on);
}

const std::vector<ListSection>& TopicDrawer::sections(const WordListSource& list) {
    // A list of another length is another list, told or not.
    const std::uint32_t count = list.count();
    if (sectionsGeneration_ != listGeneration_ || sectionsCount_ != count) {
        sections_ = readSections(list);
        sectionsGeneration_ = listGeneration_;
        sectionsCount_ = count;
    }
    return sections_;
}

void TopicDrawer::restartPool(std::uint32_t size) {
    pool_.restart(size);
    poolGeneration_ = listGeneration_;
}

void TopicDrawer::restartSectionPools(const std::vector<ListSection>& sections) {
    sectionPools_.assign(sections.size(), NoRepeatPool());
    for (std::size_t k = 0; k < sections.size(); ++k) {
        sectionPools_[k].restart(static_cast<std::uint32_t>(sections[k].entries.size()));
    }
    sectionPoolsGeneration_ = listGeneration_;
}

void TopicDrawer::draw(const WordListSource& list, RandomGenerator& random, TopicView& view) {
    DrawResult result;
    if (byHeading_) {
        result = noRepeats_ ? drawSectionsWithoutRepeats(list, random, view)
                            : drawFromSections(sections(list), list, random, topicCount_);
    } else {
        result = noRepeats_ ? drawWithoutRepeats(list, random, view)
                            : drawTopics(list, random, topicCount_);
    }
    if (result.outcome != DrawOutcome::Drawn) {
        view.showMessage(drawMessage(result));
        return;
    }
    DrawRecord record{clock_.now(), result.topics, {topicCount_, byHeading_, noRepeats_}};
    for (DrawnTopic& topic : record.topics) topic.text.erase(0, 1);
    history_.add(std::move(record));
    view.showTopics(result.topics);
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

DrawOutcome tooFew(std::size_t count) {
    return count == kFewestTopics ? DrawOutcome::OneEntry : DrawOutcome::TooFewEntries;
}

}  // namespace

bool TopicDrawer::takeTopics(const WordListSource& list, RandomGenerator& random,
                             DrawResult& result) {
    result.positions.clear();
    result.topics.clear();
    for (std::size_t k = 0; k < topicCount_; ++k) {
        auto entry = takeEntry(pool_, list, random);
        if (!entry) return false;
        result.positions.push_back(entry->first);
        result.topics.push_back({" " + entry->second, {}});
    }
    result.outcome = DrawOutcome::Drawn;
    return true;
}

DrawResult TopicDrawer::drawWithoutRepeats(const WordListSource& list, RandomGenerator& random,
                                           TopicView& view) {
    DrawResult result;
    const std::uint32_t n = list.count();
    // Too short a list is told as ever, without a step of the generator.
    if (n == 0) return result;
    if (n < topicCount_) {
        result.outcome = tooFew(topicCount_);
        return result;
    }
    if (poolGeneration_ != listGeneration_ || pool_.size() != n) restartPool(n);
    const bool fresh = pool_.remaining() == n;
    if (takeTopics(list, random, result)) return result;
    if (!fresh) {
        // A round has ended: say so, and draw from the whole list again.
        view.showMessage(topicCount_ == kFewestTopics ? kPoolRestartMessage
                                                      : kPoolRestartMessageThree);
        restartPool(n);
        if (takeTopics(list, random, result)) return result;
    }
    // Fewer entries that are not blank than the draw takes.
    restartPool(n);
    result = DrawResult();
    result.outcome = tooFew(topicCount_);
    return result;
}

DrawResult TopicDrawer::drawSectionsWithoutRepeats(const WordListSource& list,
                                                   RandomGenerator& random, TopicView& view) {
    const std::vector<ListSection>& all = sections(list);
    DrawResult result = checkSections(all, topicCount_);
    if (result.outcome != DrawOutcome::Drawn) return result;
    if (sectionPoolsGeneration_ != listGeneration_ || sectionPools_.size() != all.size()) {
        restartSectionPools(all);
    }
    // A section whose round has ended starts again, and says so once for
    // every such section.
    std::string ended;
    for (std::size_t k = 0; k < topicCount_; ++k) {
        if (sectionPools_[k].remaining() > 0) continue;
        ended += bracketedHeading(all[k].heading);
        sectionPools_[k].restart(static_cast<std::uint32_t>(all[k].entries.size()));
    }
    if (!ended.empty()) view.showMessage("見出し" + ended + kSectionPoolRestartTail);
    for (std::size_t k = 0; k < topicCount_; ++k) {
        const std::uint32_t position = all[k].entries[sectionPools_[k].take(random)];
        result.positions.push_back(position);
        result.topics.push_back({" " + list.line(position), all[k].heading});
    }
    return result;
}

}  // namespace kivo
