#pragma once
// What every list holds to, whichever control shows it: the bytes of a line
// the draw reads, the characters the list takes, the longest line and what
// a list may cost its control in memory. The commands apply it to every
// road into the list; a control only reports its own cost figures.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "core/ListShape.h"

namespace kivo {

// A line is read as at most this many bytes of its code page 932 form.
inline constexpr std::size_t kMaxLineBytes = 4096;
// Characters (UTF-16 units) the list takes before the first whole-file
// load, and after it.
inline constexpr std::size_t kDefaultCapacity = 16u * 1024 * 1024;
inline constexpr std::size_t kRaisedCapacity = 0x7FFFFFF0;
// The longest line a list takes: kLongestLineBytes (core/ListShape.h).

// What a list costs its control: each line in its line index (with room to
// grow), and what the whole list may take.
struct ListCosts {
    std::size_t bytesPerLine = 9;
    std::size_t memoryBudget = std::size_t{1} << 30;
};

// Throws, changing nothing, when a list of this shape is more than the
// control can take: "行数が長すぎてファイルが開けません" for a line too long,
// std::bad_alloc (shown as "メモリが不足しています") for a list beyond the
// memory it may take, or one whose line index outweighs its text many times
// over (millions of empty lines).
void checkListRoom(const TextShape& shape, bool formatted, const ListCosts& costs);

// The list's entries from what its control reports: its lines, less a last
// line of length 0 (the empty line after a final line break).
std::uint32_t listCount(std::uint32_t reportedLines, std::size_t lastLineLength);

// Vertical tabs, form feeds, U+2028 and U+2029 become `lineBreak`, one unit
// for another: a control would show each as a new line inside one entry,
// and the list holds one entry per line it shows.
inline bool isShownLineBreak(char16_t c) {
    return c == u'\v' || c == u'\f' || c == u'\u2028' || c == u'\u2029';
}
void breakLinesAsShown(std::span<char16_t> text, char16_t lineBreak);
// The same on UTF-8 text, each becoming "\n"; one character for one, so
// UTF-16 positions stay.
bool hasShownLineBreaks(std::string_view utf8);
std::string breakLinesAsShown(std::string_view utf8);

}  // namespace kivo
