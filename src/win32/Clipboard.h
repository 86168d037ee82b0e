#pragma once
// Text put on the clipboard as Windows' programs paste it: UTF-16
// (CF_UNICODETEXT), lines broken by CR LF.
#include <windows.h>

#include <string>
#include <string_view>

namespace kivo::win32 {

// Replaces what the clipboard holds; nothing happens while another
// program keeps it open.
void putOnClipboard(HWND owner, const std::wstring& text);

// The program's text ("\n" between lines) with the system's line breaks.
std::wstring withWindowsLineBreaks(std::string_view text);

}  // namespace kivo::win32
