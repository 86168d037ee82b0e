#include "editor/EditorStyles.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "core/Utf8.h"

namespace kivo {
namespace {

constexpr int kFirstReservedStyle = EditorStyles::kDefaultStyle;
constexpr int kLastReservedStyle = EditorStyles::kLastReservedStyle;
constexpr int kBoldWeight = 700;

bool isReserved(int style) { return style >= kFirstReservedStyle && style <= kLastReservedStyle; }

// How far apart two formats look; the nearest stands in for a format the
// editor has no room left for.
int distance(const TextStyle& a, const TextStyle& b) {
    int d = 0;
    if (a.fontFamily != b.fontFamily) d += 1024;
    d += std::abs(a.halfPoints - b.halfPoints) * 32;
    if (a.bold != b.bold) d += 512;
    if (a.italic != b.italic) d += 512;
    if (a.underline != b.underline) d += 256;
    if (a.color.has_value() != b.color.has_value()) {
        d += 768;
    } else if (a.color) {
        for (int shift = 0; shift <= 16; shift += 8) {
            d += std::abs(static_cast<int>((*a.color >> shift) & 0xFF) -
                          static_cast<int>((*b.color >> shift) & 0xFF));
        }
    }
    return d;
}

// 0xRRGGBB as the editor takes colours.
std::uint32_t editorColour(std::uint32_t rgb) {
    return (rgb >> 16 & 0xFF) | (rgb & 0xFF00) | (rgb & 0xFF) << 16;
}

// The fields that make two formats the same, as one string.
std::string key(const TextStyle& s) {
    std::string k;
    k.reserve(16 + s.fontFamily.size());
    k.push_back(static_cast<char>(s.bold | s.italic << 1 | s.underline << 2 | (s.color ? 8 : 0)));
    const std::uint32_t color = s.color.value_or(0);
    k.append(reinterpret_cast<const char*>(&color), sizeof color);
    k.append(reinterpret_cast<const char*>(&s.halfPoints), sizeof s.halfPoints);
    k += s.fontFamily;
    return k;
}

}  // namespace

int EditorStyles::limit() { return kCount - (kLastReservedStyle - kFirstReservedStyle + 1); }

int EditorStyles::numberOf(const TextStyle& style) {
    if (style.isPlain()) return 0;
    if (const auto it = numbers_.find(key(style)); it != numbers_.end()) return it->second;
    if (next_ < kCount) {
        const int number = next_++;
        if (next_ == kFirstReservedStyle) next_ = kLastReservedStyle + 1;
        numbers_.emplace(key(style), number);
        defined_[static_cast<std::size_t>(number)] = style;
        define(number);
        return number;
    }
    int best = 0;
    int bestDistance = distance(style, TextStyle{});
    for (int n = 1; n < kCount; ++n) {
        if (isReserved(n)) continue;
        const int d = distance(style, defined_[static_cast<std::size_t>(n)]);
        if (d < bestDistance) {
            best = n;
            bestDistance = d;
        }
    }
    return best;
}

const SharedStyle& EditorStyles::styleOf(int number) const {
    static const SharedStyle plain;
    if (number <= 0 || number >= kCount || isReserved(number)) return plain;
    return defined_[static_cast<std::size_t>(number)];
}

void EditorStyles::reset() {
    numbers_.clear();
    defined_ = {};
    next_ = 1;
}

void EditorStyles::setBase(const StyleLook& base) {
    base_ = base;
    defineStyle(kDefaultStyle, base_);
    // Every style takes the default one's look, then its own.
    editor_.call(sci::StyleClearAll);
    for (int n = 1; n < next_; ++n) {
        if (!isReserved(n)) define(n);
    }
}

void EditorStyles::apply(std::string_view text, const std::vector<StyledRange>& ranges) {
    Utf16Positions positions(text);
    for (const StyledRange& range : ranges) {
        const std::size_t start = range.start;
        if (start < positions.units()) continue;  // overlapping: the first one wins
        const std::size_t from = positions.byteAt(start);
        const std::size_t to = positions.byteAt(start + range.length);
        if (to == from) continue;
        editor_.call(sci::StartStyling, from, 0);
        editor_.call(sci::SetStyling, to - from, numberOf(range.style));
    }
}

std::vector<StyledRange> EditorStyles::ranges(std::size_t length) const {
    std::vector<StyledRange> out;
    // A list that holds no formatting at all (the usual case) needs no walk
    // through its styles.
    if (!anyDefined()) return out;

    // The styles come from the editor interleaved with the text, a piece
    // at a time.
    constexpr std::size_t kPiece = 1 << 16;
    std::vector<char> styled(kPiece * 2 + 2);
    std::size_t units = 0;
    std::size_t runStart = 0;
    int runStyle = 0;
    for (std::size_t at = 0; at < length; at += kPiece) {
        const std::size_t end = std::min(length, at + kPiece);
        sci::TextRange piece{static_cast<long>(at), static_cast<long>(end), styled.data()};
        editor_.call(sci::GetStyledText, 0, reinterpret_cast<std::intptr_t>(&piece));
        for (std::size_t i = 0; i < end - at; ++i) {
            const auto b = static_cast<unsigned char>(styled[i * 2]);
            const int style = static_cast<unsigned char>(styled[i * 2 + 1]);
            if ((b & 0xC0) == 0x80) continue;  // inside a character
            if (style != runStyle) {
                addStyledRange(out, runStart, units - runStart, styleOf(runStyle));
                runStart = units;
                runStyle = style;
            }
            units += b >= 0xF0 ? 2 : 1;
        }
    }
    addStyledRange(out, runStart, units - runStart, styleOf(runStyle));
    return out;
}

TextStyle EditorStyles::styleAt(std::size_t position) const {
    return styleOf(static_cast<int>(numberAt(position))).get();
}

int EditorStyles::inUse(std::size_t length) const {
    std::array<bool, kCount> used{};
    for (std::size_t at = 0; at < length; ++at) {
        used[numberAt(at)] = true;
    }
    return static_cast<int>(std::count(used.begin(), used.end(), true));
}

std::size_t EditorStyles::numberAt(std::size_t position) const {
    // The editor hands the style byte back as a signed char.
    return static_cast<std::size_t>(editor_.call(sci::GetStyleAt, position) & 0xFF);
}

void EditorStyles::define(int number) {
    defineStyle(number, lookOf(defined_[static_cast<std::size_t>(number)]));
}

void EditorStyles::defineStyle(int number, const StyleLook& look) {
    const auto n = static_cast<std::uintptr_t>(number);
    editor_.call(sci::StyleSetFont, n, reinterpret_cast<std::intptr_t>(look.font.c_str()));
    editor_.call(sci::StyleSetSizeFractional, n, look.hundredthsOfPoint);
    editor_.call(sci::StyleSetWeight, n, look.weight);
    editor_.call(sci::StyleSetItalic, n, look.italic);
    editor_.call(sci::StyleSetUnderline, n, look.underline);
    editor_.call(sci::StyleSetFore, n, look.fore);
    editor_.call(sci::StyleSetBack, n, look.back);
}

StyleLook EditorStyles::lookOf(const TextStyle& style) const {
    StyleLook look = base_;
    if (!style.fontFamily.empty()) look.font = style.fontFamily;
    if (style.halfPoints > 0) look.hundredthsOfPoint = style.halfPoints * 50;
    if (style.bold) look.weight = kBoldWeight;
    look.italic = look.italic || style.italic;
    look.underline = look.underline || style.underline;
    if (style.color) look.fore = editorColour(*style.color);
    return look;
}

}  // namespace kivo
