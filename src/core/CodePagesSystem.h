#pragma once
// What each system's code-page back-end (ICU, Windows) provides to the one
// decoder in CodePages.cpp.
#include <string>
#include <string_view>

namespace kivo {

// Appends the bytes of a code page other than 932 as UTF-8, marking broken
// bytes with U+FFFD; false, with nothing appended, when this system cannot
// decode the code page.
bool appendDecodedBySystem(int codePage, std::string_view bytes, std::string& out);

}  // namespace kivo
