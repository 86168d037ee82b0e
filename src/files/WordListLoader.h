#pragma once
// Bringing a file into the word list: tells RTF, Word documents and plain
// text apart by their first bytes and fills the list through the control's
// operations, in the order the list's users rely on.
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "core/ListReplacement.h"
#include "core/ListShape.h"
#include "core/TextStyle.h"

namespace kivo {

// The word list as the loader fills it. What else a load brings about (the
// focus, the caption, the modified mark, a warning) is the caller's to
// decide, from the LoadReport.
class WordListTarget {
public:
    virtual ~WordListTarget() = default;
    // Empties the list and clears its modified mark.
    virtual void clearList() = 0;
    // Readies a text for the control, and throws, before anything has
    // changed, when the control could not take it.
    virtual void admit(StyledText& text) = 0;
    // Throws as admit would for a text of this shape, unformatted.
    virtual void checkRoom(const TextShape& shape) const = 0;
    // The control's whole-file load of a file's text (see readWholeFile);
    // raises its capacity.
    virtual void loadWholeText(StyledText text) = 0;
    // Characters (UTF-16 units) an empty list takes.
    virtual std::size_t capacity() const = 0;
    // Adds lines, each ended by "\n", at the end, in one call; they fit.
    virtual void appendText(std::string_view lines) = 0;
    // The list's new lines, handed over as they are read and judged; by
    // default kept together, then put in by clearList and appendText.
    virtual std::unique_ptr<ListReplacement> replaceList();
    // How the list wants a spreadsheet's sheets: row by row (false), or a
    // section per column under its heading 【…】 (true), for a list drawn
    // from by heading.
    virtual bool sheetColumnsAsSections() const { return false; }
};

// What a load read, besides the lines: filled in as the load goes, so that
// a load that fails half-way still tells what it had done.
struct LoadReport {
    // The file went to the whole-file load (plain text or RTF): the list is
    // the file's text, so the file becomes the current one. Office
    // documents leave the current file alone.
    bool wholeFile = false;
    // The list took no more lines: the rest of the document was left out.
    bool linesLeftOut = false;
};

// The warning for a document whose lines the list could not all take.
inline constexpr const char* kLinesLeftOutText = "行数が長すぎてファイルが開けません";

// Replaces the list with the text of the file at path (UTF-8). Errors of
// the open, of a broken Word document (.doc or .docx) and of the whole-file
// load are thrown; a list that takes no more lines is reported with a
// warning. A Word 97–2003 document whose fixed places (WordText.h) give no
// line is read again through its own structure (WordPieceText.h), and when
// that structure is damaged the fixed places' empty result stands; a ZIP
// archive holding word/document.xml is read as a .docx (DocxText.h), one
// holding xl/workbook.xml as an Excel workbook (SpreadsheetText.h), and an
// OpenDocument spreadsheet or text, packed or flat, through
// OpenDocumentText.h, their sheets laid out as the target asks
// (sheetColumnsAsSections); a damaged one of these last three leaves the
// list as it was. Office documents of every kind leave the current file and the
// modified mark alone. Every road goes through the target's admit rule before the list
// changes, so a text the list cannot take leaves it as it was.
void loadWordListFile(const std::string& path, WordListTarget& target, LoadReport& report);

// The same for the content of the file at path already in memory (a
// deciphered container): the list and the report as if the file itself
// held it.
void loadWordListContent(std::string_view content, WordListTarget& target, LoadReport& report);

// Files larger than this are refused by the whole-file load rather than
// exhausting memory.
inline constexpr std::uintmax_t kWholeFileLimit = 256u * 1024 * 1024;

// The whole-file load: RTF (our reader) when the file is RTF it can read,
// otherwise plain text in which CR LF, CR and LF each end a line. Throws
// cannotOpenText's error or "ストリームからの読み込みに失敗しました".
StyledText readWholeFile(const std::filesystem::path& path);

// The error for a file that cannot be opened: "ファイル %s は開けません".
std::string cannotOpenText(const std::filesystem::path& path);

// The same from bytes already read.
StyledText styledTextFromBytes(std::string_view bytes);

// Takes the list's own font and size out of the stretches: text in them
// looks the same without, and a list without stretches stays plain (our own
// RTF names the list's font for every line).
void dropListFont(StyledText& text, std::string_view family, int halfPoints);

}  // namespace kivo
