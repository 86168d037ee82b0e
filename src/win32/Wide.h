#pragma once
// Windows takes UTF-16 ("W" functions); the program's own text is UTF-8.
#include <string>
#include <string_view>

#include "core/Utf8.h"

namespace kivo::win32 {

inline std::wstring wide(std::string_view utf8) {
    const std::u16string units = utf8ToUtf16(utf8);
    return std::wstring(units.begin(), units.end());
}

inline std::string utf8(std::wstring_view units) {
    return utf16ToUtf8(
        std::u16string_view(reinterpret_cast<const char16_t*>(units.data()), units.size()));
}

}  // namespace kivo::win32
