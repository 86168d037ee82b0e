#include "commands/TopicCommands.h"

#include "wordlist/Random.h"

namespace kivo {
namespace {

// Where a draw shows its outcome: the message box and the two topics.
class TopicOutcome : public TopicView {
public:
    TopicOutcome(CurrentTopics& topics, BoxPort& boxes) : topics_(topics), boxes_(boxes) {}
    void showMessage(const std::string& text) override { boxes_.message(text); }
    void showTopics(const std::string& topic1, const std::string& topic2) override {
        topics_.show(topic1, topic2);
    }

private:
    CurrentTopics& topics_;
    BoxPort& boxes_;
};

}  // namespace

void CurrentTopics::show(const std::string& first, const std::string& second) {
    topics_ = {first, second};
    window_.showTopics(first, second);
}

void CurrentTopics::clear() {
    topics_ = {};
    window_.clearTopics();
}

TopicCommands::TopicCommands(WordListPort& list, MainWindowPort& window, BoxPort& boxes,
                             SettingsStore& settings, WallClock& clock)
    : list_(list), window_(window), boxes_(boxes), current_(window), drawer_(settings, clock) {}

void TopicCommands::drawTopics() {
    const WordListSource source{[this] { return list_.count(); },
                                [this](std::uint32_t i) { return list_.line(i); }};
    TopicOutcome outcome(current_, boxes_);
    drawer_.draw(source, processRandom(), outcome);
    window_.historyChanged();
}

void TopicCommands::clearList() {
    list_.clearList();
    refreshLineCount(list_, window_);
}

void TopicCommands::reseedDraw() {
    SeedRandomFromClock();
    boxes_.message(kReseedMessage);
}

}  // namespace kivo
