#pragma once
// Code page 932 (Microsoft's Shift-JIS) at the edge of the program. Inside,
// text is Unicode; these are the only conversions to and from the bytes
// that files and other programs use.
#include <cstddef>
#include <string>
#include <string_view>

namespace kivo::cp932 {

// Code page 932 bytes to UTF-8. Bytes that form no character become U+FFFD.
std::string decode(std::string_view bytes);

// The same, with CR LF and a lone CR each made one LF in the same walk, as
// normalizeLineBreaks would make them afterwards.
std::string decodeLines(std::string_view bytes);

// decode one character at a time straight from the system's tables: the
// plain form of decode, which the tests and the fuzzer hold decode to.
std::string decodeByCharacter(std::string_view bytes);

// UTF-8 to code page 932 bytes. A character that code page 932 cannot hold
// becomes '?' and clears *lossless when given, so callers can choose another
// form rather than lose it.
std::string encode(std::string_view utf8, bool* lossless = nullptr);

// Appends the code page 932 bytes of one character; false, with nothing
// appended, when code page 932 has no form for it.
bool appendEncoded(std::string& out, char32_t codePoint);

// Whether the code page 932 bytes of a character read back as the character
// itself; false for the JIS forms, which read back as their Microsoft forms
// (〜 as ～), and for characters code page 932 cannot hold.
bool readsBackAsItself(char32_t codePoint);

// Bytes one character takes in code page 932: 1 or 2, or 0 when code page 932
// has no form for it.
int byteLength(char32_t codePoint);

// How many UTF-16 units of `text` fit, whole characters only, in `maxBytes`
// bytes of code page 932. A character code page 932 cannot hold counts two
// bytes per UTF-16 unit, like a double-byte character, so it is never split.
std::size_t fittingPrefix(std::u16string_view text, std::size_t maxBytes);

}  // namespace kivo::cp932
