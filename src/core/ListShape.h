#pragma once
// The shape of a list's text as a control would hold it: its bytes, its
// lines and its longest line. What a list may cost is judged from this
// alone, so the text itself need not be handed around to judge it.
#include <algorithm>
#include <cstddef>
#include <cstring>
#include <span>
#include <string>
#include <string_view>

namespace kivo {

// The longest line any list takes (UTF-8 bytes): a line is laid out whole
// each time it shows, so a line of megabytes would stall every repaint.
inline constexpr std::size_t kLongestLineBytes = std::size_t{1} << 20;

struct TextShape {
    std::size_t bytes = 0;        // UTF-8
    std::size_t lines = 1;        // n line breaks make n + 1 lines
    std::size_t longestLine = 0;  // UTF-8 bytes

    // A line and the break after it, at the end.
    void addLine(std::string_view line) {
        bytes += line.size() + 1;
        ++lines;
        longestLine = std::max(longestLine, line.size());
    }
    // A text of that shape at the end, this one ending with a line break.
    void append(const TextShape& after) {
        bytes += after.bytes;
        lines += after.lines - 1;
        longestLine = std::max(longestLine, after.longestLine);
    }
};

// "\n" ends a line; a text without a last line break still has that line.
inline TextShape shapeOf(std::string_view text) {
    TextShape shape;
    shape.bytes = text.size();
    const char* at = text.data();
    const char* const end = at + text.size();
    while (at != end) {
        const auto* brk =
            static_cast<const char*>(std::memchr(at, '\n', static_cast<std::size_t>(end - at)));
        const char* lineEnd = brk ? brk : end;
        shape.longestLine = std::max(shape.longestLine, static_cast<std::size_t>(lineEnd - at));
        if (!brk) break;
        ++shape.lines;
        at = brk + 1;
    }
    return shape;
}

// Lines, each ended by its break, as the text of them would be.
inline TextShape shapeOfLines(std::span<const std::string> lines) {
    TextShape shape;
    for (const std::string& line : lines) shape.addLine(line);
    return shape;
}

}  // namespace kivo
