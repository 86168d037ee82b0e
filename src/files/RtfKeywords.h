#pragma once
// What the RTF reader knows before it reads a document: the control words it
// acts on and the code pages of font charsets. Internal to the reader, apart
// from its tokenizer so that a new word or charset is one line here.
#include <cstdint>
#include <string_view>

namespace kivo::rtf {

inline constexpr int kDefaultCodePage = 1252;  // a document without \ansicpg

enum class Kw : std::uint8_t {
    Skip,
    FontTable,
    ColorTable,
    Object,
    Result,
    Ansi,
    Mac,
    Pc,
    Pca,
    AnsiCodePage,
    DefaultFont,
    FontCharset,
    FontCodePage,
    Red,
    Green,
    Blue,
    Bold,
    Italic,
    Underline,
    UnderlineNone,
    Plain,
    Color,
    FontSize,
    Font,
    AssocBold,
    AssocItalic,
    AssocFontSize,
    AssocFont,
    LowAnsi,
    HighAnsi,
    DoubleByte,
    RightToLeft,
    LeftToRight,
    UnicodeSkip,
    Unicode,
    Binary,
    Break,
    BreakIfOpen,
    Symbol,
};

struct Keyword {
    std::string_view name;
    Kw kind;
    char32_t symbol = 0;
};

// The entry of a control word; nullptr for one the reader reads past.
const Keyword* findKeyword(std::string_view name);

inline bool isDestination(Kw kind) {
    return kind == Kw::Skip || kind == Kw::FontTable || kind == Kw::ColorTable ||
           kind == Kw::Object || kind == Kw::Result;
}

// Words that change the group's state; groups past the depth limit ignore them.
inline bool changesState(Kw kind) {
    switch (kind) {
        case Kw::Unicode:
        case Kw::Binary:
        case Kw::Break:
        case Kw::BreakIfOpen:
        case Kw::Symbol:
            return false;
        default:
            return true;
    }
}

// The code page of a font charset (\fcharsetN); 0 for "the document's".
int codePageOfCharset(int charset);

}  // namespace kivo::rtf
