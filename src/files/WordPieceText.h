#pragma once
// The text of a Word 97–2003 document (.doc) read through the file's own
// structure, for the files whose text the fixed places of WordText.h miss
// (LibreOffice's, and every file not laid out as those places expect): the
// compound file's directory leads to the WordDocument stream, its file
// information block (FIB) names the table stream (0Table or 1Table) and the
// piece table (CLX) there, and the pieces give the main text in order, each
// as compressed 8-bit text (Windows-1252) or as UTF-16.
//
// Lines: a paragraph mark (0x0D), a line break (0x0B) and a table cell mark
// (0x07) end a line; the mark that ends a table row ends none, so a row
// gives one line per cell; a page or section break (0x0C) ends a line only
// after text. Field codes (0x13 to 0x14) are left out and field results
// (0x14 to 0x15) kept; text marked as a tracked deletion is left out,
// inserted text kept; special characters (0x01 picture, 0x08 drawing and the
// other control characters below 0x20 but the tab) are dropped.
#include <cstdint>
#include <span>

#include "files/WordText.h"

namespace kivo {

// Emits the main text's lines (UTF-8). A compound file without a Word 97
// WordDocument stream, or an encrypted one, has no text here: nothing is
// emitted. Throws FileError "ファイルの末尾以降を読み込みました" when the compound
// file, the FIB, the piece table or a piece points outside the file, or
// when the pieces together would hold more text than the stream has bytes.
WordTextOutcome extractWordPieceText(std::span<const std::uint8_t> file,
                                     const LineSink& appendLine);

}  // namespace kivo
