#pragma once
// The names the program shows for itself, the same in every window.
#include "core/Version.h"

namespace kivo {

// The application title: the task bar's name for the program, and the
// caption of the plain message box and of the error box.
inline constexpr const char* kApplicationTitleText = "Kivo version " KIVO_VERSION_TEXT;
// The version as the About box shows it.
inline constexpr const char* kVersionText = "version " KIVO_VERSION_TEXT;
// The main window's caption while no file is named in it.
inline constexpr const char* kInitialCaption = "Kivo  version " KIVO_VERSION_TEXT "   >>>   [ Quillery ]";

}  // namespace kivo
