#pragma once
// The two ways a command ends early. Both are caught in one place, by the
// application's event dispatch.
#include <stdexcept>
#include <string>

namespace kivo {

// A command that the user cancelled: ends the command, shows nothing.
class SilentCancel : public std::exception {
public:
    const char* what() const noexcept override { return "cancelled"; }
};

// An error whose text (UTF-8) is meant for the user's eyes, shown in the
// error box as it stands.
class UserError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace kivo
