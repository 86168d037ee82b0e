#pragma once
// Windows code pages other than the program's own 932 path: RTF names a code
// page per font (\ansicpg, \fcharset, \cpg), so its reader must decode any of
// them. Decoding only; the program writes nothing but code page 932 and UTF-8.
#include <array>
#include <string>
#include <string_view>

namespace kivo {

// The bytes of a Windows code page (932, 1252, 949, ...) as UTF-8. Bytes that
// form no character become U+FFFD. A code page this build does not know
// decodes ASCII bytes as themselves and every other byte as U+FFFD, so text is
// marked as lost rather than guessed.
std::string decodeCodePage(int codePage, std::string_view bytes);

// Like decodeCodePage, appended to `out`: a reader that decodes many small
// pieces keeps one buffer.
void appendDecodedCodePage(int codePage, std::string_view bytes, std::string& out);

// Whether this build can decode the code page.
bool isCodePageKnown(int codePage);

// Whether `byte` opens a two-byte character in the code page (the Shift-JIS
// lead bytes for 932); always false for single-byte and unknown code pages.
bool isLeadByte(int codePage, unsigned char byte);

// isLeadByte for all 256 bytes at once, for readers that switch code pages often.
std::array<bool, 256> leadBytes(int codePage);

}  // namespace kivo
