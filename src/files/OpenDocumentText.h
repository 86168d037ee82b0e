#pragma once
// The text of an OpenDocument spreadsheet or text (.ods, .odt): a ZIP
// archive whose mimetype member names the kind and whose content.xml holds
// the body; or the same body in one XML file (.fods, .fodt).
//
// A spreadsheet gives every visible sheet in order, row by row, each cell
// that shows something left to right, one cell a line, as the cell shows
// it (its paragraphs, which hold numbers already formatted); error values
// and the cells a merged area covers are left out, and a repeated row or
// cell comes as often as it is repeated. By SheetLayout::ColumnSections a
// sheet comes instead a section per column, left to right, the columns
// counted through repeated and covered cells (OfficeXml.h, ColumnSections):
// its heading from the sheet's first row that shows something, as 【…】,
// then the column's cells below it, top to bottom, each as above.
//
// A text gives each paragraph and heading (in lists and table cells too) a
// line, whatever the layout. In both, a line break starts a new line;
// notes, comments, tracked deletions, ruby text and frames are left out.
#include <cstdint>
#include <span>

#include "files/OfficeText.h"

namespace kivo {

enum class OpenDocumentKind { None, Spreadsheet, Text };

// What the bytes are: a packed OpenDocument told by its mimetype member, or
// a flat one told by the office:mimetype of its root element.
OpenDocumentKind openDocumentKind(std::span<const std::uint8_t> file);

// Emits the document's lines (UTF-8). Throws FileError "ファイルの末尾以降を読み込みました"
// when the archive, content.xml or the flat document's XML is broken or
// missing, or content.xml is stated past the largest inflated; UserError
// "行数が長すぎてファイルが開けません" as soon as a line (of a paragraph, or of a
// cell) grows longer than any a list takes; what the budget throws past it.
// By columns each sheet is held until it ends, what it holds spent from the
// budget, and a heading's line is judged as a cell's.
WordTextOutcome extractOpenDocumentText(std::span<const std::uint8_t> file,
                                        const LineSink& appendLine,
                                        ReadBudget budget = ReadBudget(),
                                        SheetLayout layout = SheetLayout::Rows);

}  // namespace kivo
