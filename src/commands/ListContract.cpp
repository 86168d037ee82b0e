#include "commands/ListContract.h"

#include <new>

#include "core/Errors.h"

namespace kivo {
namespace {

// What any list may cost, and beyond that per byte of its text. The line
// index is judged at the figure of the leanest control (both windows hold
// the same editor, measured at 6.5 bytes a line at most: editor/ListEditor.h),
// so that the same file is refused alike in every window.
constexpr std::size_t kFreeCost = 64u * 1024 * 1024;
constexpr std::size_t kCostPerTextByte = 4;
constexpr std::size_t kLeanestBytesPerLine = 9;

}  // namespace

void checkListRoom(const TextShape& shape, bool formatted, const ListCosts& costs) {
    if (shape.longestLine > kLongestLineBytes) {
        throw UserError("行数が長すぎてファイルが開けません");
    }
    // The text, a format byte for each of its bytes when it has formats,
    // and the line index.
    const std::size_t text = shape.bytes * (formatted ? 2 : 1);
    if (text + shape.lines * costs.bytesPerLine > costs.memoryBudget) throw std::bad_alloc();
    const std::size_t lean = text + shape.lines * kLeanestBytesPerLine;
    if (lean > kFreeCost && lean > kCostPerTextByte * shape.bytes) throw std::bad_alloc();
}

std::uint32_t listCount(std::uint32_t reportedLines, std::size_t lastLineLength) {
    if (reportedLines == 0) return 0;
    return lastLineLength == 0 ? reportedLines - 1 : reportedLines;
}

void breakLinesAsShown(std::span<char16_t> text, char16_t lineBreak) {
    for (char16_t& c : text) {
        if (isShownLineBreak(c)) c = lineBreak;
    }
}

namespace {

// U+2028 and U+2029 in UTF-8: E2 80 A8 and E2 80 A9.
bool isUtf8Separator(std::string_view text, std::size_t at) {
    return text[at] == '\xE2' && at + 2 < text.size() && text[at + 1] == '\x80' &&
           (text[at + 2] == '\xA8' || text[at + 2] == '\xA9');
}

}  // namespace

bool hasShownLineBreaks(std::string_view utf8) {
    if (utf8.find('\v') != std::string_view::npos || utf8.find('\f') != std::string_view::npos)
        return true;
    for (std::size_t at = utf8.find('\xE2'); at != std::string_view::npos;
         at = utf8.find('\xE2', at + 1)) {
        if (isUtf8Separator(utf8, at)) return true;
    }
    return false;
}

std::string breakLinesAsShown(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const char c = utf8[i];
        if (c == '\v' || c == '\f') {
            out.push_back('\n');
        } else if (isUtf8Separator(utf8, i)) {
            out.push_back('\n');
            i += 2;
        } else {
            out.push_back(c);
        }
    }
    return out;
}

}  // namespace kivo
