#include "commands/TopicCommands.h"

#include "wordlist/Random.h"

namespace kivo {
namespace {

// Where a draw shows its outcome: the message box and the topics.
class TopicOutcome : public TopicView {
public:
    TopicOutcome(CurrentTopics& topics, BoxPort& boxes) : topics_(topics), boxes_(boxes) {}
    void showMessage(const std::string& text) override { boxes_.message(text); }
    void showTopics(const DrawnTopics& topics) override { topics_.show(topics); }

private:
    CurrentTopics& topics_;
    BoxPort& boxes_;
};

}  // namespace

void CurrentTopics::show(const DrawnTopics& topics) {
    topics_ = topics;
    window_.showTopics(topics);
    for (TopicsObserver* observer : observers_) observer->topicsShown(topics_);
}

void CurrentTopics::clear() {
    topics_.clear();
    window_.clearTopics();
    for (TopicsObserver* observer : observers_) observer->topicsCleared();
}

WordListSource listSource(const WordListPort& list) {
    return {[&list] { return list.count(); }, [&list](std::uint32_t i) { return list.line(i); }};
}

std::string countText(std::size_t entries) { return std::to_string(entries); }

std::string sectionsCountText(std::size_t entries, std::size_t sections) {
    return std::to_string(entries) + "（" + std::to_string(sections) + "見出し）";
}

void ListCount::refresh() {
    if (!drawer_.byHeading()) {
        window_.showLineCount(countText(list_.count()));
        return;
    }
    const std::vector<ListSection>& sections = drawer_.sections(listSource(list_));
    window_.showLineCount(sectionsCountText(drawableEntries(sections), sections.size()));
}

TopicCommands::TopicCommands(WordListPort& list, MainWindowPort& window, BoxPort& boxes,
                             SettingsStore& settings, WallClock& clock)
    : list_(list),
      window_(window),
      boxes_(boxes),
      current_(window),
      drawer_(settings, clock),
      count_(list, window, drawer_) {}

void TopicCommands::drawTopics() {
    TopicOutcome outcome(current_, boxes_);
    drawer_.draw(listSource(list_), processRandom(), outcome);
    window_.historyChanged();
}

void TopicCommands::clearList() {
    list_.clearList();
    count_.refresh();
}

void TopicCommands::reseedDraw() {
    SeedRandomFromClock();
    boxes_.message(kReseedMessage);
}

void TopicCommands::setTopicCount(std::size_t count) {
    if (count == drawer_.topicCount()) return;
    drawer_.setTopicCount(count);
    // Topics of the other count would stand in the wrong boxes.
    current_.clear();
    window_.showTopicArea(topicArea());
}

void TopicCommands::setByHeading(bool on) {
    drawer_.setByHeading(on);
    current_.clear();
    window_.showTopicArea(topicArea());
    count_.refresh();
}

}  // namespace kivo
