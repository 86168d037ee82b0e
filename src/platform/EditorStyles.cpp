#include "platform/EditorStyles.h"

#include <Qsci/qsciscintillabase.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "core/Utf8.h"

namespace kivo {
namespace {

// Style numbers the editor keeps for itself (the default style, line
// numbers, brace highlights, control characters, indent guides, call tips).
constexpr int kFirstReservedStyle = QsciScintillaBase::STYLE_DEFAULT;
constexpr int kLastReservedStyle = QsciScintillaBase::STYLE_LASTPREDEFINED;

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

void EditorStyles::setBaseFont(const QFont& font, const QColor& text, const QColor& paper) {
    base_ = font;
    text_ = text;
    paper_ = paper;
    defineStyle(QsciScintillaBase::STYLE_DEFAULT, TextStyle{});
    send(QsciScintillaBase::SCI_STYLECLEARALL);
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
        send(QsciScintillaBase::SCI_STARTSTYLING, static_cast<unsigned long>(from), 0);
        send(QsciScintillaBase::SCI_SETSTYLING, static_cast<unsigned long>(to - from),
             numberOf(range.style));
    }
}

std::vector<StyledRange> EditorStyles::ranges(long length) const {
    std::vector<StyledRange> out;
    // A list that holds no formatting at all (the usual case) needs no walk
    // through its styles.
    if (!anyDefined()) return out;

    // The styles come from the editor interleaved with the text, a piece
    // at a time.
    constexpr long kPiece = 1 << 16;
    std::vector<char> styled(static_cast<std::size_t>(kPiece) * 2 + 2);
    std::size_t units = 0;
    std::size_t runStart = 0;
    int runStyle = 0;
    for (long at = 0; at < length; at += kPiece) {
        const long end = std::min(length, at + kPiece);
        editor_.SendScintilla(QsciScintillaBase::SCI_GETSTYLEDTEXT, at, end, styled.data());
        for (long i = 0; i < end - at; ++i) {
            const auto b = static_cast<unsigned char>(styled[static_cast<std::size_t>(i) * 2]);
            const int style =
                static_cast<unsigned char>(styled[static_cast<std::size_t>(i) * 2 + 1]);
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

TextStyle EditorStyles::styleAt(long position) const {
    return styleOf(static_cast<int>(numberAt(position))).get();
}

int EditorStyles::inUse(long length) const {
    std::array<bool, kCount> used{};
    for (long at = 0; at < length; ++at) {
        used[numberAt(at)] = true;
    }
    return static_cast<int>(std::count(used.begin(), used.end(), true));
}

std::size_t EditorStyles::numberAt(long position) const {
    // The editor hands the style byte back as a signed char.
    return static_cast<std::size_t>(
        send(QsciScintillaBase::SCI_GETSTYLEAT, static_cast<unsigned long>(position)) & 0xFF);
}

long EditorStyles::send(unsigned int message, unsigned long wParam, long lParam) const {
    return editor_.SendScintilla(message, wParam, lParam);
}

void EditorStyles::define(int number) {
    defineStyle(number, defined_[static_cast<std::size_t>(number)]);
}

void EditorStyles::defineStyle(int number, const TextStyle& style) {
    const auto n = static_cast<unsigned long>(number);
    const QByteArray family = style.fontFamily.empty()
                                  ? base_.family().toUtf8()
                                  : QByteArray::fromStdString(style.fontFamily);
    editor_.SendScintilla(QsciScintillaBase::SCI_STYLESETFONT, n, family.constData());
    const double points = style.halfPoints > 0 ? style.halfPoints / 2.0 : basePoints();
    send(QsciScintillaBase::SCI_STYLESETSIZEFRACTIONAL, n,
         std::lround(points * static_cast<int>(QsciScintillaBase::SC_FONT_SIZE_MULTIPLIER)));
    send(QsciScintillaBase::SCI_STYLESETWEIGHT, n,
         style.bold ? static_cast<long>(QsciScintillaBase::SC_WEIGHT_BOLD)
                    : static_cast<long>(base_.weight()));
    send(QsciScintillaBase::SCI_STYLESETITALIC, n, style.italic || base_.italic());
    send(QsciScintillaBase::SCI_STYLESETUNDERLINE, n, style.underline || base_.underline());
    const QColor fore = style.color ? QColor::fromRgb(static_cast<QRgb>(*style.color)) : text_;
    editor_.SendScintilla(QsciScintillaBase::SCI_STYLESETFORE, n, fore);
    editor_.SendScintilla(QsciScintillaBase::SCI_STYLESETBACK, n, paper_);
}

// The editor takes sizes in points; the list's font is given in pixels of
// the screen it shows on.
double EditorStyles::basePoints() const {
    if (base_.pointSizeF() > 0) return base_.pointSizeF();
    const int dpi = editor_.logicalDpiY() > 0 ? editor_.logicalDpiY() : 96;
    return base_.pixelSize() * 72.0 / dpi;
}

}  // namespace kivo
