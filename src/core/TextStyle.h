#pragma once
// Character formatting that the word list keeps from a loaded document, in
// the plain terms the file formats and the list control share.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kivo {

struct TextStyle {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    std::optional<std::uint32_t> color;  // 0xRRGGBB; none: the control's own
    int halfPoints = 0;                  // 0: the control's own size
    std::string fontFamily;              // UTF-8; empty: the control's own font

    bool isPlain() const { return *this == TextStyle{}; }
    bool operator==(const TextStyle&) const = default;
};

// A stretch of the text in one style, in UTF-16 units.
struct StyledRange {
    std::size_t start = 0;
    std::size_t length = 0;
    TextStyle style;
};

// Records a stretch of text in a style: plain text needs none, and a
// stretch that continues the last one in the same style lengthens it.
inline void addStyledRange(std::vector<StyledRange>& ranges, std::size_t start, std::size_t length,
                           TextStyle style) {
    if (style.isPlain() || length == 0) return;
    if (!ranges.empty() && ranges.back().start + ranges.back().length == start &&
        ranges.back().style == style) {
        ranges.back().length += length;
        return;
    }
    ranges.push_back({start, length, std::move(style)});
}

// The whole content of a list: lines separated by LF (UTF-8), and the
// stretches that are not plain.
struct StyledText {
    std::string text;
    std::vector<StyledRange> ranges;
};

}  // namespace kivo
