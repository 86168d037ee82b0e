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

}  // namespace kivo
