#pragma once
// The list's formats as the editor's styles, in both windows: number 0 is
// the list's plain text, the others are the distinct formats of loaded
// documents, each defined once. The editor has 256 of them, some kept for
// itself; once the rest are taken, a new format shows in the nearest one
// already defined. The editor's text carries a style number per byte;
// formatted stretches go in and come back out through here.
#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "core/TextStyle.h"
#include "editor/ScintillaCalls.h"

namespace kivo {

// A style as the editor draws it, in the editor's own terms.
struct StyleLook {
    std::string font;             // family name, UTF-8
    int hundredthsOfPoint = 900;  // size
    int weight = 400;             // 400 regular, 700 bold
    bool italic = false;
    bool underline = false;
    std::uint32_t fore = 0;  // colours as the editor takes them: 0xBBGGRR
    std::uint32_t back = 0xFFFFFF;
};

class EditorStyles {
public:
    // Style numbers the editor has; a style byte holds any of them.
    static constexpr int kCount = 256;
    // The ones it keeps for itself: its default style, line numbers, brace
    // highlights, control characters, indent guides and call tips.
    static constexpr int kDefaultStyle = 32;
    static constexpr int kLastReservedStyle = 39;
    // Distinct formats the editor can show at once, the plain one included.
    static int limit();

    explicit EditorStyles(const ScintillaCalls& editor) : editor_(editor) {}

    // The style for a format; once the editor's styles are all taken, the
    // nearest one already defined.
    int numberOf(const TextStyle& style);
    // The format of a style number; the plain one for a number it never
    // gave out.
    const SharedStyle& styleOf(int number) const;
    bool anyDefined() const { return next_ > 1; }
    // Forgets every format, for a new document.
    void reset();
    // The plain style takes the list's look; formats keep what they give
    // of their own and take the rest from it.
    void setBase(const StyleLook& base);

    // Styles the editor's text, `text` as it holds it, with the stretches
    // (UTF-16 units); of overlapping ones the first wins.
    void apply(std::string_view text, const std::vector<StyledRange>& ranges);
    // The formatted stretches of the editor's first `length` bytes.
    std::vector<StyledRange> ranges(std::size_t length) const;
    // The format shown at byte `position` of the editor's text.
    TextStyle styleAt(std::size_t position) const;
    // Distinct styles the editor's first `length` bytes use.
    int inUse(std::size_t length) const;

private:
    std::size_t numberAt(std::size_t position) const;
    void define(int number);
    void defineStyle(int number, const StyleLook& look);
    StyleLook lookOf(const TextStyle& style) const;

    const ScintillaCalls& editor_;
    StyleLook base_;
    std::map<std::string, int> numbers_;
    std::array<SharedStyle, kCount> defined_{};
    int next_ = 1;
};

}  // namespace kivo
