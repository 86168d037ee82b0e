#pragma once
// Text put on the clipboard as Windows' programs paste it: UTF-16
// (CF_UNICODETEXT), lines broken by CR LF.
#include <windows.h>

#include <string>

namespace kivo::win32 {

// Replaces what the clipboard holds; nothing happens while another
// program keeps it open.
void putOnClipboard(HWND owner, const std::wstring& text);

}  // namespace kivo::win32
