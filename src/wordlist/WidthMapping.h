#pragma once
// Full-width and half-width conversion of the word list: the Japanese
// locale's width mapping (Windows' LCMapString with LCMAP_FULLWIDTH and
// LCMAP_HALFWIDTH) expressed on Unicode text, for pieces of any length.
//
// The mapping is driven by the tables below. Everything they do not name is
// copied unchanged: hiragana, kanji, control characters (CR, LF, TAB),
// characters code page 932 cannot hold, and invalid UTF-8 bytes or lone
// surrogates, which are passed through byte for byte / unit for unit.
#include <span>
#include <string>
#include <string_view>

namespace kivo {

// One character that has both widths. Full-width turns `half` into `full`,
// half-width turns `full` into `half`.
struct WidthPair {
    char16_t half;
    char16_t full;
};

// A half-width katakana letter followed by the voiced (ﾞ) or semi-voiced (ﾟ)
// mark is one full-width katakana, and that katakana is the two again when
// made half-width.
struct VoicedRow {
    char16_t letter;
    char16_t mark;
    char16_t full;
};

// A character that half-width maps but full-width never produces.
struct HalfWidthOnlyRow {
    char16_t from;
    char16_t half;
};

// ASCII 0x20-0x7E and the half-width katakana and punctuation U+FF61-U+FF9F
// with their full-width forms.
std::span<const WidthPair> widthPairs();

// Every voiced and semi-voiced katakana that code page 932 holds and whose
// letter has a half-width form.
std::span<const VoicedRow> voicedRows();

// The combining voiced and semi-voiced marks.
std::span<const HalfWidthOnlyRow> halfWidthOnlyRows();

// UTF-8 in and out.
std::string toFullWidth(std::string_view utf8);
std::string toHalfWidth(std::string_view utf8);

// UTF-16 in and out: the form the word-list control holds, and the fast path.
std::u16string toFullWidth(std::u16string_view utf16);
std::u16string toHalfWidth(std::u16string_view utf16);

}  // namespace kivo
