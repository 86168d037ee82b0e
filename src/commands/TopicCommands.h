#pragma once
// The topic commands: the draw button in both draw modes, clearing the list
// and the topics, seeding the draw again, and the switch of the draw mode.
#include "commands/Ports.h"
#include "wordlist/TopicDrawer.h"

namespace kivo {

class TopicCommands {
public:
    // `settings` keeps the mode's switch between runs, `clock` times the
    // history; both must outlive the commands.
    TopicCommands(WordListPort& list, MainWindowPort& window, BoxPort& boxes,
                  SettingsStore& settings, WallClock& clock);

    void ButtonOKClick();
    // Empties the list without asking.
    void mnuClearClick();
    void mnuFListClearClick() { window_.clearTopics(); }
    void mnuRandomClick();
    // The mode's menu item, with the check it now shows.
    void mnuNoRepeatsClick(bool checked) { drawer_.setNoRepeats(checked); }
    bool noRepeats() const { return drawer_.noRepeats(); }
    // Any change to the list's text, however small.
    void listChanged() { drawer_.listChanged(); }
    // The history of draws, for a window that shows it.
    TopicDrawer& drawer() { return drawer_; }

private:
    WordListPort& list_;
    MainWindowPort& window_;
    BoxPort& boxes_;
    TopicDrawer drawer_;
};

}  // namespace kivo
