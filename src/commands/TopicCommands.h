#pragma once
// The topic commands: the draw button in every draw mode, clearing the list
// and the topics, seeding the draw again, the switches of the draw modes,
// and the count label, which counts as the draw reads the list.
#include <cstddef>
#include <string>
#include <vector>

#include "commands/Ports.h"
#include "commands/WindowLayout.h"
#include "wordlist/TopicDrawer.h"

namespace kivo {

// What follows every change of the topics, whichever command made it.
class TopicsObserver {
public:
    virtual ~TopicsObserver() = default;
    // A draw's topics (a draw of the same ones again too).
    virtual void topicsShown(const DrawnTopics& topics) = 0;
    virtual void topicsCleared() = 0;
};

// The topics drawn last, as the session holds them: the window shows them,
// and whatever needs them (the presentation view) reads them here.
class CurrentTopics {
public:
    explicit CurrentTopics(MainWindowPort& window) : window_(window) {}
    // Empty before a draw and once cleared.
    const DrawnTopics& get() const { return topics_; }
    void show(const DrawnTopics& topics);
    void clear();
    // Told of each change from now on; must outlive these topics.
    void observe(TopicsObserver& observer) { observers_.push_back(&observer); }

private:
    MainWindowPort& window_;
    DrawnTopics topics_;
    std::vector<TopicsObserver*> observers_;
};

// The list as the draw reads it.
WordListSource listSource(const WordListPort& list);

// The count label's text: the entries in plain decimal, or, drawing by
// heading, the entries under headings and how many headings, "120（3見出し）".
std::string countText(std::size_t entries);
std::string sectionsCountText(std::size_t entries, std::size_t sections);

// The count label, kept to the list and the draw's mode.
class ListCount {
public:
    ListCount(const WordListPort& list, MainWindowPort& window, TopicDrawer& drawer)
        : list_(list), window_(window), drawer_(drawer) {}
    void refresh();

private:
    const WordListPort& list_;
    MainWindowPort& window_;
    TopicDrawer& drawer_;
};

class TopicCommands {
public:
    // `settings` keeps the modes' switches between runs, `clock` times the
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
    // The modes' menu items, with the check each now shows.
    void setNoRepeats(bool checked) { drawer_.setNoRepeats(checked); }
    bool noRepeats() const { return drawer_.noRepeats(); }
    // Two topics or three: the boxes follow, the topics shown are cleared.
    void setTopicCount(std::size_t count);
    std::size_t topicCount() const { return drawer_.topicCount(); }
    // Drawing by heading: the headings show over the boxes, the count
    // counts as the draw reads, the topics shown are cleared.
    void setByHeading(bool on);
    bool byHeading() const { return drawer_.byHeading(); }
    TopicArea topicArea() const { return {drawer_.topicCount(), drawer_.byHeading()}; }
    // Any change to the list's text, however small.
    void listChanged() { drawer_.listChanged(); }
    ListCount& count() { return count_; }
    // The history of draws, for a window that shows it.
    TopicDrawer& drawer() { return drawer_; }

private:
    WordListPort& list_;
    MainWindowPort& window_;
    BoxPort& boxes_;
    CurrentTopics current_;
    TopicDrawer drawer_;
    ListCount count_;
};

}  // namespace kivo
