#pragma once
// The program as one window sees it: every command group, the runner, the
// current file and the current topics, made over the ports the window
// gives. A window builds its controls, makes a session over them and hands
// it its events; whatever the commands put in a control, the session still
// holds, so nothing is read back out of one.
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "commands/CommandRunner.h"
#include "commands/EditCommands.h"
#include "commands/FileCommands.h"
#include "commands/HelpCommands.h"
#include "commands/Ports.h"
#include "commands/PresentationCommands.h"
#include "commands/ShareCommands.h"
#include "commands/TimerCommands.h"
#include "commands/TopicCommands.h"
#include "wordlist/DrawPorts.h"

namespace kivo {

// What a window gives the session: its controls and the platform's parts.
// Each must outlive the session.
struct SessionPorts {
    WordListPort& list;
    MainWindowPort& window;
    BoxPort& boxes;
    FileDialogPort& dialogs;
    HelpPort& help;
    AboutPort& about;
    UrlPort& urls;
    TopMostPort& topMost;
    PrintPort& printer;
    PresentationPort& presentation;
    WindowCommandPort& windowCommands;
    SettingsStore& settings;
    WallClock& clock;
    CountdownClockPort& countdownClock;
    ShareDialogPort& shareDialog;
};

class Session {
public:
    explicit Session(const SessionPorts& ports);
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // As the window is made, its menus built: the draw seeded from the
    // clock, the first caption, the kept switches' checks.
    void start();
    // The window is shown for the first time: the countdown shows its
    // length and the stream's files start empty, the old content that
    // saves cut off last time left aside is offered back, then the file
    // named on the command line, when there is one, comes in.
    void shown(const std::optional<std::string>& commandLineFile) noexcept;

    // A menu item, button or key, by its id.
    void run(CommandId command) noexcept { runner_.run(command); }
    // Any other event under the same guard.
    template <typename Handler>
    void guard(Handler&& handler) noexcept {
        runner_.guard(std::forward<Handler>(handler));
    }
    // Files dropped on the window or the list (the first counts).
    void filesDropped(const std::vector<std::string>& paths) noexcept;
    // Any change to the list's text, however small: the draw's pool starts
    // again.
    void listChanged() { topics_.listChanged(); }
    // The list's caret, selection or text moved: the count follows.
    void listMoved() noexcept;
    // A wake-up the countdown's clock was asked for.
    void clockTicked() noexcept;

    const std::string& currentFile() const { return files_.currentFile(); }
    const DrawnTopics& topics() const { return topics_.current().get(); }
    bool noRepeats() const { return topics_.noRepeats(); }
    bool darkPresentation() const { return presentation_.darkPresentation(); }
    // The draws so far, for a window that shows them.
    TopicDrawer& drawer() { return topics_.drawer(); }

    // The command groups, for what only a test calls directly.
    FileCommands& files() { return files_; }
    TopicCommands& topicCommands() { return topics_; }
    EditCommands& edits() { return edits_; }
    HelpCommands& help() { return help_; }
    PresentationCommands& presentation() { return presentation_; }
    ShareCommands& share() { return share_; }
    TimerCommands& timer() { return timer_; }

private:
    void showDrawModeChecks();

    SessionPorts ports_;
    TopicCommands topics_;
    FileCommands files_;
    EditCommands edits_;
    HelpCommands help_;
    PresentationCommands presentation_;
    ShareCommands share_;
    TimerCommands timer_;
    CommandRunner runner_;
};

}  // namespace kivo
