#include "commands/TopicCommands.h"

#include "commands/WindowRules.h"
#include "wordlist/Random.h"

namespace kivo {
namespace {

// Where a draw shows its outcome: the message box and the two topics.
class TopicOutcome : public TopicView {
public:
    TopicOutcome(MainWindowPort& window, BoxPort& boxes) : window_(window), boxes_(boxes) {}
    void showMessage(const std::string& text) override { boxes_.message(text); }
    void showTopics(const std::string& topic1, const std::string& topic2) override {
        window_.showTopics(topic1, topic2);
    }

private:
    MainWindowPort& window_;
    BoxPort& boxes_;
};

}  // namespace

TopicCommands::TopicCommands(WordListPort& list, MainWindowPort& window, BoxPort& boxes,
                             SettingsStore& settings, WallClock& clock)
    : list_(list), window_(window), boxes_(boxes), drawer_(settings, clock) {}

void TopicCommands::ButtonOKClick() {
    const WordListSource source{[this] { return list_.count(); },
                                [this](std::uint32_t i) { return list_.line(i); }};
    TopicOutcome outcome(window_, boxes_);
    drawer_.draw(source, processRandom(), outcome);
    window_.historyChanged();
}

void TopicCommands::mnuClearClick() {
    list_.clearList();
    refreshLineCount(list_, window_);
}

void TopicCommands::mnuRandomClick() {
    SeedRandomFromClock();
    boxes_.message(kReseedMessage);
}

}  // namespace kivo
