#pragma once
// The topic commands: the draw button in both draw modes, clearing the list
// and the topics, seeding the draw again, and the switch of the draw mode.
#include <array>
#include <string>

#include "commands/Ports.h"
#include "wordlist/TopicDrawer.h"

namespace kivo {

// The topics drawn last, as the session holds them: the window shows them,
// and whatever needs them (the presentation view) reads them here.
class CurrentTopics {
public:
    explicit CurrentTopics(MainWindowPort& window) : window_(window) {}
    const std::array<std::string, 2>& get() const { return topics_; }
    void show(const std::string& first, const std::string& second);
    void clear();

private:
    MainWindowPort& window_;
    std::array<std::string, 2> topics_;
};

class TopicCommands {
public:
    // `settings` keeps the mode's switch between runs, `clock` times the
    // history; both must outlive the commands.
    TopicCommands(WordListPort& list, MainWindowPort& window, BoxPort& boxes,
                  SettingsStore& settings, WallClock& clock);

    void drawTopics();
    // Empties the list without asking.
    void clearList();
    void clearTopics() { current_.clear(); }
    const CurrentTopics& current() const { return current_; }
    CurrentTopics& current() { return current_; }
    void reseedDraw();
    // The mode's menu item, with the check it now shows.
    void setNoRepeats(bool checked) { drawer_.setNoRepeats(checked); }
    bool noRepeats() const { return drawer_.noRepeats(); }
    // Any change to the list's text, however small.
    void listChanged() { drawer_.listChanged(); }
    // The history of draws, for a window that shows it.
    TopicDrawer& drawer() { return drawer_; }

private:
    WordListPort& list_;
    MainWindowPort& window_;
    BoxPort& boxes_;
    CurrentTopics current_;
    TopicDrawer drawer_;
};

}  // namespace kivo
