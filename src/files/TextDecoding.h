#pragma once
// Plain text from outside: code page 932 as files from Japanese Windows have
// it, or Unicode when the file says so (a byte-order mark) or is valid UTF-8
// with at least one character of three bytes or more, as Japanese written by
// today's editors always is. Two-byte sequences alone prove nothing: pairs of
// half-width katakana in code page 932 (ﾅｼ is C5 BC) are valid UTF-8 too.
#include <string>
#include <string_view>

namespace kivo {

enum class TextEncoding { CodePage932, Utf8, Utf8Bom, Utf16LE, Utf16BE };

TextEncoding detectTextEncoding(std::string_view bytes);

// The text as UTF-8, whatever it came in. Bytes that form no character
// become U+FFFD; nothing is dropped.
std::string decodePlainText(std::string_view bytes);

// CR LF, a lone CR and a lone LF each end a line; afterwards only LF does.
std::string normalizeLineBreaks(std::string_view text);

// normalizeLineBreaks(decodePlainText(bytes)), in one walk over the bytes
// where the encoding allows.
std::string decodePlainTextLines(std::string_view bytes);

// True when bytes are well-formed UTF-8; *longSequence tells whether any
// character took three bytes or more.
bool isValidUtf8(std::string_view bytes, bool* longSequence = nullptr);

}  // namespace kivo
