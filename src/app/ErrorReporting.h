#pragma once
// The one place where an error that ends a command reaches the user.
#include <QString>
#include <exception>

namespace kivo {

class Boxes;

// Shows the error in the error box; a silent cancel shows nothing. Never
// throws: when telling the user fails in turn (memory ran out), it says
// "メモリが不足しています" from memory held back for that moment, or
// nothing, and the program goes on.
void reportCommandError(Boxes& boxes, std::exception_ptr error) noexcept;

// Memory held back so that reporting a failed allocation has room to show
// its box. Taken at start-up, given up while the box shows, taken again
// afterwards when it can be.
void holdMemoryReserve() noexcept;
bool memoryReserveHeld() noexcept;

// Runs one command handler, reporting what escapes it. Handlers run through
// this rather than letting exceptions unwind through the toolkit's frames.
template <typename Handler>
void runCommand(Boxes& boxes, Handler&& handler) {
    try {
        handler();
    } catch (...) {
        reportCommandError(boxes, std::current_exception());
    }
}

}  // namespace kivo
