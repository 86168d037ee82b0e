#pragma once
// The text of an Excel workbook in Office Open XML (.xlsx, .xlsm): a ZIP
// archive whose xl/workbook.xml lists the sheets. Every visible sheet in
// the workbook's order, row by row, each cell that shows something left to
// right, one cell a line: text (shared, inline, rich runs joined; phonetic
// guides left out) as written, numbers in the General format
// (GeneralNumber.h), booleans as TRUE or FALSE, a formula by the value it
// last had; error values are left out. A merged area's value stands in its
// first cell only, so it comes once. A line break inside a cell starts a
// new line. By SheetLayout::ColumnSections a sheet comes instead a section
// per column, left to right (OfficeXml.h, ColumnSections): its heading from
// the sheet's first row that shows something, as 【…】, then the column's
// cells below it, top to bottom, each as above.
#include <cstdint>
#include <span>

#include "files/OfficeText.h"

namespace kivo {

// Whether the bytes are a ZIP archive that names xl/workbook.xml.
bool looksLikeWorkbook(std::span<const std::uint8_t> file);

// Emits the workbook's lines (UTF-8). Throws FileError "ファイルの末尾以降を読み込みました"
// when the archive or a part it needs is broken or missing, a cell names a
// shared string the workbook does not have, or a part is stated past the
// largest inflated; UserError "行数が長すぎてファイルが開けません" as soon as a
// line of a cell's value or a shared string grows longer than any a list
// takes; what the budget throws past it. A part that two sheets (or two
// names in the archive) point at is read once, and its cells come once.
// By columns each sheet is held until it ends, what it holds spent from the
// budget, and a heading's line is judged as a cell's.
WordTextOutcome extractWorkbookText(std::span<const std::uint8_t> file, const LineSink& appendLine,
                                    ReadBudget budget = ReadBudget(),
                                    SheetLayout layout = SheetLayout::Rows);

}  // namespace kivo
