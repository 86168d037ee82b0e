#pragma once
// What the readers of documents share that hand their text on line by line
// (the Word readers, WordText.h and WordPieceText.h, and the Office readers,
// DocxText.h, SpreadsheetText.h and OpenDocumentText.h): how a reading
// ends, and the two ways its lines are handed on.
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace kivo {

enum class WordTextOutcome {
    Completed,      // the text ended; a last line without CR is dropped
    AppendRefused,  // the list took no more lines; nothing more was read
};

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

}  // namespace kivo
