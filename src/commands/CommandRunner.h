#pragma once
// Every command of the main window by its id, in one place for every
// window, and the one place where what escapes a command reaches the user.
// A window turns its events (menu, button, accelerator, context menu) into
// a command id and runs it here.
#include <exception>
#include <utility>

#include "commands/EditCommands.h"
#include "commands/FileCommands.h"
#include "commands/HelpCommands.h"
#include "commands/Ports.h"
#include "commands/PresentationCommands.h"
#include "commands/ShareCommands.h"
#include "commands/TimerCommands.h"
#include "commands/TopicCommands.h"
#include "commands/WindowLayout.h"

namespace kivo {

// What only the window itself does for a command.
class WindowCommandPort {
public:
    virtual ~WindowCommandPort() = default;
    // Closing ends the program at once: no question, no offer to save.
    virtual void closeWindow() = 0;
    virtual void showDrawHistory() = 0;
    // The menu item of `command` (the draw mode, the presentation theme)
    // shows this check.
    virtual void showChecked(CommandId command, bool on) = 0;
};

struct WindowCommands {
    FileCommands& files;
    TopicCommands& topics;
    EditCommands& edits;
    HelpCommands& help;
    PresentationCommands& presentation;
    ShareCommands& share;
    TimerCommands& timer;
    WindowCommandPort& window;
};

// The timer's items show the length chosen and the switch.
void showTimerChecks(WindowCommandPort& window, const TimerCommands& timer);

// Memory held back so that reporting a failed allocation has room to show
// its box. Taken at start-up, given up while the box shows, taken again
// afterwards when it can be.
void holdMemoryReserve() noexcept;
bool memoryReserveHeld() noexcept;

// Shows what escaped a command in the error box; a silent cancel shows
// nothing. Never throws: when telling the user fails in turn (memory ran
// out), it says "メモリが不足しています" from memory held back for that
// moment, or nothing.
void reportCommandError(BoxPort& boxes, std::exception_ptr error) noexcept;

// Runs a handler so that a failure ends it in the error box, a silent
// cancel ends it quietly, and the program goes on: nothing unwinds through
// the toolkit's or the system's frames.
template <typename Handler>
void guarded(BoxPort& boxes, Handler&& handler) noexcept {
    try {
        handler();
    } catch (...) {
        reportCommandError(boxes, std::current_exception());
    }
}

class CommandRunner {
public:
    // Holds memory back for telling that memory ran out.
    CommandRunner(const WindowCommands& commands, BoxPort& boxes);

    // The command behind `command`, under the guard below.
    void run(CommandId command) noexcept;

    // Any other handler (the window shown, files dropped, the list
    // changed) under the same guard.
    template <typename Handler>
    void guard(Handler&& handler) noexcept {
        guarded(boxes_, std::forward<Handler>(handler));
    }

private:
    void dispatch(CommandId command);

    WindowCommands commands_;
    BoxPort& boxes_;
};

}  // namespace kivo
