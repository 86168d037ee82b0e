#pragma once
// The names the program shows for itself, the same in every window.
namespace kivo {

// The application title: the task bar's name for the program, and the
// caption of the plain message box and of the error box.
inline constexpr const char* kApplicationTitleText = "Kivo version 1.33";
// The main window's caption while no file is named in it.
inline constexpr const char* kInitialCaption = "Kivo  version 1.33   >>>   [ Quillery ]";

}  // namespace kivo
