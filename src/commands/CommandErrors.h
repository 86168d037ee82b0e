#pragma once
// What the error box says when an error ends a command, the same in every
// window: the window's command wrapper hands over what escaped.
#include <exception>
#include <optional>
#include <string>
#include <string_view>

namespace kivo {

// The error's text with "." appended when its last byte sorts after ".".
std::string errorBoxText(std::string_view text);

// The error box's text for what escaped a command; nothing for a silent
// cancel, which the user chose and needs no telling.
std::optional<std::string> commandErrorText(std::exception_ptr error);

}  // namespace kivo
