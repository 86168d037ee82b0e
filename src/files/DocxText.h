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
#include <cstdint>
#include <span>

#include "files/OfficeText.h"

namespace kivo {

// Whether the bytes are a ZIP archive that holds word/document.xml, told by
// the signature and the member's name in the archive.
bool looksLikeDocx(std::span<const std::uint8_t> file);

// Emits the document's lines (UTF-8, never a CR or LF). Throws FileError
// "ファイルの末尾以降を読み込みました" when the archive, the member's data or its XML
// is broken, or when the member is stated past the largest inflated;
// UserError "行数が長すぎてファイルが開けません" for a paragraph longer than any
// line a list takes, as soon as it is; what the budget throws past it.
WordTextOutcome extractDocxText(std::span<const std::uint8_t> file, const LineSink& appendLine,
                                ReadBudget budget = ReadBudget());

// The same lines, built into lines.text.
WordTextOutcome extractDocxLines(std::span<const std::uint8_t> file, LineText& lines,
                                 ReadBudget budget = ReadBudget());

}  // namespace kivo
