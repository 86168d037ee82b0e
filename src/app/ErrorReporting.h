#pragma once
// The one place where an error that ends a command reaches the user.
#include <QString>
#include <exception>

namespace kivo {

class Boxes;

// The error box text: the error's text, with "." appended when its last
// character sorts after ".".
QString errorBoxText(const QString& text);

// Shows the error in the error box; a silent cancel shows nothing.
void reportCommandError(Boxes& boxes, std::exception_ptr error);

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
