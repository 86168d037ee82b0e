#pragma once
// What the readers of documents share that hand their text on line by line
// (the Word readers, WordText.h and WordPieceText.h, and the Office readers,
// DocxText.h, SpreadsheetText.h and OpenDocumentText.h): how a reading
// ends, and the two ways its lines are handed on; the two ways a
// spreadsheet's sheets are laid out in lines; and what the Office readers
// may spend on one document.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <new>
#include <string>
#include <string_view>
#include <utility>

namespace kivo {

enum class WordTextOutcome {
    Completed,      // the text ended; a last line without CR is dropped
    AppendRefused,  // the list took no more lines; nothing more was read
};

// How a spreadsheet's sheets are handed on: row by row, each cell that shows
// something a line; or, for a list read in sections, a section per column,
// its heading (the sheet's first row that shows something) as a line
// 【…】 and then the column's cells below it, top to bottom.
enum class SheetLayout { Rows, ColumnSections };

// Receives one line (UTF-8, without its CR); false refuses it.
using LineSink = std::function<bool(std::string_view line)>;

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

// What reading one Office document may cost in all, whatever its parts and
// however they are named: every byte of XML inflated and read (each part at
// most once), every byte its reader builds of it beyond that (an
// OpenDocument's spaces), and what the reader keeps for later (a workbook's
// shared strings, their index included). Past it the document is refused
// with std::bad_alloc, shown as "メモリが不足しています", as a list past the
// memory it may take is. One budget serves one document.
class ReadBudget {
public:
    // Handed all the bytes spent so far; throws std::bad_alloc when they
    // are too many.
    using Judge = std::function<void(std::uint64_t spent)>;

    // As much as a list may cost its control unless it says otherwise
    // (ListCosts' memoryBudget, commands/ListContract.h); the loader judges by
    // its list's own rule instead.
    static constexpr std::uint64_t kDefaultBytes = std::uint64_t{1} << 30;

    explicit ReadBudget(std::uint64_t bytes = kDefaultBytes)
        : judge_([bytes](std::uint64_t spent) {
              if (spent > bytes) throw std::bad_alloc();
          }) {}
    // The bytes spent so far, each time more are, are judged by judge.
    explicit ReadBudget(Judge judge) : judge_(std::move(judge)) {}

    // Throws, as the judge does, when these bytes are more than is left.
    void spend(std::uint64_t bytes) {
        spent_ += bytes;
        judge_(spent_);
    }

private:
    Judge judge_;
    std::uint64_t spent_ = 0;
};

}  // namespace kivo
