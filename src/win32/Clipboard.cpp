#include "win32/Clipboard.h"

#include <cstring>

#include "win32/Wide.h"

namespace kivo::win32 {

void putOnClipboard(HWND owner, const std::wstring& text) {
    if (!OpenClipboard(owner)) return;
    EmptyClipboard();
    const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes)) {
        if (void* target = GlobalLock(memory)) {
            std::memcpy(target, text.c_str(), bytes);
            GlobalUnlock(memory);
            // The clipboard owns the memory once it takes it.
            if (!SetClipboardData(CF_UNICODETEXT, memory)) GlobalFree(memory);
        } else {
            GlobalFree(memory);
        }
    }
    CloseClipboard();
}

std::wstring withWindowsLineBreaks(std::string_view text) {
    const std::wstring units = wide(text);
    std::wstring out;
    out.reserve(units.size() + units.size() / 8);
    for (const wchar_t c : units) {
        if (c == L'\n') out.push_back(L'\r');
        out.push_back(c);
    }
    return out;
}

}  // namespace kivo::win32
