#include "commands/Session.h"

#include "core/Titles.h"
#include "wordlist/Random.h"

namespace kivo {

Session::Session(const SessionPorts& ports)
    : ports_(ports),
      topics_(ports.list, ports.window, ports.boxes, ports.settings, ports.clock),
      files_(ports.list, ports.window, ports.boxes, ports.dialogs, topics_),
      edits_(ports.list, ports.window),
      help_(HelpPorts{ports.help, ports.about, ports.urls, ports.topMost, ports.printer,
                      ports.boxes, ports.window}),
      presentation_(topics_, ports.presentation, ports.settings),
      share_(topics_, ports.window, ports.boxes, ports.dialogs, ports.shareDialog, ports.settings),
      timer_(topics_, ports.presentation, ports.countdownClock, ports.shareDialog, ports.boxes,
             ports.settings, share_),
      runner_(WindowCommands{files_, topics_, edits_, help_, presentation_, share_, timer_,
                             ports.windowCommands},
              ports.boxes) {}

void Session::start() {
    SeedRandomFromClock();
    ports_.window.setCaption(kInitialCaption);
    // The switches kept from the last run show in their menu items.
    ports_.window.showTopicArea(topics_.topicArea());
    showDrawModeChecks();
    ports_.windowCommands.showChecked(CommandId::DarkPresentation,
                                      presentation_.darkPresentation());
    showTimerChecks(ports_.windowCommands, timer_);
}

void Session::showDrawModeChecks() {
    WindowCommandPort& items = ports_.windowCommands;
    items.showChecked(CommandId::NoRepeats, topics_.noRepeats());
    items.showChecked(CommandId::TwoTopics, topics_.topicCount() == kFewestTopics);
    items.showChecked(CommandId::ThreeTopics, topics_.topicCount() == kMostTopics);
    items.showChecked(CommandId::ByHeading, topics_.byHeading());
}

void Session::shown(const std::optional<std::string>& commandLineFile) noexcept {
    // The countdown's face for the view, and the stream's files as this run
    // starts: an error about them comes with the window on the screen.
    guard([&] {
        timer_.show();
        share_.writeTopicsNow();
    });
    // Saves cut off last time come first: the file named may be one of them.
    guard([&] { files_.offerKeptCopies(); });
    if (!commandLineFile) return;
    guard([&] { files_.loadCommandLineFile(*commandLineFile); });
}

void Session::filesDropped(const std::vector<std::string>& paths) noexcept {
    guard([&] { files_.openDroppedFile(paths); });
}

void Session::clockTicked() noexcept {
    guard([&] { timer_.clockTicked(); });
}

void Session::listMoved() noexcept {
    guard([&] { topics_.count().refresh(); });
}

}  // namespace kivo
