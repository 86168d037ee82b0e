#pragma once
// The text of a Word document in Office Open XML (.docx): a ZIP archive whose
// member word/document.xml holds the body. Each paragraph of the body is a
// line, in a table each cell's paragraph; w:t is text, w:tab a tab, w:br and
// w:cr end a line (a page or column break only after text). Deleted text
// (w:del, w:moveFrom) is left out and a deleted paragraph mark joins its
// paragraph to the next; inserted text is kept. Of a field the result is
// kept and the code left out (w:instrText, and a complex field's runs from
// its begin to its separate mark). Text boxes and a markup-compatibility
// fallback are left out, as the Word 97 reader reads the main text only.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "files/WordText.h"

namespace kivo {

// Whether the bytes are a ZIP archive that holds word/document.xml, told by
// the signature and the member's name in the archive.
bool looksLikeDocx(std::span<const std::uint8_t> file);

// Emits the document's lines (UTF-8, never a CR or LF). Throws FileError
// "ファイルの末尾以降を読み込みました" when the archive, the member's data or its XML
// is broken, or when the member would inflate past the ZIP-bomb limits.
WordTextOutcome extractDocxText(std::span<const std::uint8_t> file, const LineSink& appendLine);

// A text the lines are built in where they are to stay, rather than each
// in a string of its own: the extraction appends the lines to text, each
// ended by LF, and hands them on a batch at a time.
class LineText {
public:
    virtual ~LineText() = default;
    // text ends with count whole lines not yet handed on (UTF-8, each ended
    // by LF and holding no other CR or LF), the longest of them longest
    // bytes without its LF: keeps them, or keeps those that fit, takes the
    // others out of text again and refuses (false), which ends the
    // extraction.
    virtual bool endLines(std::size_t count, std::size_t longest) = 0;

    std::string text;
};

// The same lines, built into lines.text.
WordTextOutcome extractDocxLines(std::span<const std::uint8_t> file, LineText& lines);

}  // namespace kivo
