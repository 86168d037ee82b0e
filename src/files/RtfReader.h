#pragma once
// Our own RTF reader: it streams a document's visible text, paragraph by
// paragraph, with the character formatting a user would miss in the word
// list (bold, italic, underline, colour, size, font). Everything else that
// RTF can hold (pictures, objects, headers, footnotes, field codes, tables of
// styles and lists) is read past without a trace.
//
// What the handler receives:
// - text(): runs of visible text in UTF-8, never empty; a new run starts
//   where the formatting changes. A run never holds CR or LF; it may hold a
//   tab, and other control characters given as \'hh or \uN (raw control
//   bytes in the source are not text).
// - paragraphEnd(): once for each \par, \line, \cell and \nestcell in the
//   body, and for a backslash before a raw CR or LF (RTF's other \par);
//   for \sect and \page only when text has come since the last paragraph
//   end, since LibreOffice writes "\par\sect" where Word writes "\sect".
//   Nothing else ends a line (\row does not): text behind the last mark arrives
//   without a paragraphEnd after it, and a document that ends in "\par}"
//   gets no line beyond the one its \par closes.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kivo::rtf {

struct CharFormat {
    bool bold = false, italic = false, underline = false;
    std::optional<std::uint32_t> color;  // 0xRRGGBB from \colortbl via \cfN; nullopt = automatic
    int halfPoints = 0;                  // \fsN; 0 = not given
    std::string fontFamily;              // UTF-8 name from \fonttbl via \fN; empty = not given
    bool operator==(const CharFormat&) const = default;
};

class Handler {
public:
    virtual ~Handler() = default;
    // A run of visible text.
    virtual void text(std::string_view utf8, const CharFormat& format) = 0;
    // \par (and the like).
    virtual void paragraphEnd() = 0;
};

struct ReadResult {
    bool ok;
    std::string error;
};

// Groups nested deeper than this keep their text but take no formatting or
// destination of their own (see read()).
inline constexpr int kMaxGroupDepth = 1000;

// Reads a whole RTF document. ok=false only when the bytes do not start with
// "{\rtf": the caller then loads the file as plain text. Anything after that
// start is read as far as it goes: missing closing braces end the document
// at the end of the bytes, surplus ones are ignored, a \bin longer than the
// rest stops the reading there.
ReadResult read(std::string_view bytes, Handler& handler);

}  // namespace kivo::rtf
