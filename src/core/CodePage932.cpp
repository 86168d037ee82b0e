// Code page 932 conversions over the system's tables, the same on every
// platform.
#include "core/CodePage932.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "core/CodePage932Tables.h"
#include "core/Utf8.h"

namespace kivo::cp932 {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool isSurrogate(char32_t u) { return u >= 0xD800 && u <= 0xDFFF; }

// The bytes Shift-JIS allows after a lead byte. A lead byte followed by
// anything else is broken on its own, and the byte after it is read anew
// (so "\x82 b" keeps its space).
bool isTrailByte(unsigned char b) { return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC); }

// The character at bytes[i], moving i past it; U+FFFD for bytes that form
// none.
char32_t nextCharacter(const Tables& tables, std::string_view bytes, std::size_t& i) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    if (!tables.lead[b]) {
        ++i;
        const char16_t u = tables.single[b];
        return u == kNoCharacter ? kReplacement : u;
    }
    if (i + 1 == bytes.size()) {
        ++i;
        return kReplacement;
    }
    const auto t = static_cast<unsigned char>(bytes[i + 1]);
    const char16_t u = tables.pairs[static_cast<std::size_t>(b) << 8 | t];
    i += u != kNoCharacter || isTrailByte(t) ? 2 : 1;
    return u == kNoCharacter ? kReplacement : u;
}

// One step of the decode: the UTF-8 a byte, or a lead byte and the byte
// after it, becomes, and how many bytes that takes. In memory its three
// bytes of UTF-8 come first and then a byte of information, so a step is
// written whole with one store and the output moved on by its length.
using Step = std::uint32_t;
constexpr int kInfoShift = std::endian::native == std::endian::little ? 24 : 0;
constexpr Step kLength = Step{0x03} << kInfoShift;
constexpr Step kTwoBytes = Step{0x04} << kInfoShift;  // takes the byte after it too
constexpr Step kLeadByte = Step{0x08} << kInfoShift;  // the step is in the pair's row
constexpr Step kCarriageReturn = Step{0x10} << kInfoShift;
constexpr Step kLineFeed = Step{0x20} << kInfoShift;

std::size_t lengthOf(Step s) { return (s & kLength) >> kInfoShift; }
std::size_t bytesTaken(Step s) { return s & kTwoBytes ? 2 : 1; }

// The system's tables as steps: every byte and every lead byte with every
// byte after it read once through nextCharacter, so the decode gives
// exactly what decodeByCharacter gives, at a lookup a character.
struct StepTables {
    std::array<Step, 256> single{};
    std::array<std::uint32_t, 256> row{};  // a lead byte's row in pairs
    std::vector<Step> pairs;
    Step leadAtEnd = 0;
    // Bytes that, after any lead byte, make a pair of two bytes: the decode
    // moves on without waiting for the pair's step.
    std::array<bool, 256> alwaysPaired{};
    // Bytes below 0x80 are the ASCII characters, so runs of them are copied.
    bool asciiAsIs = true;
};

Step stepOf(const Tables& tables, std::string_view bytes) {
    std::size_t i = 0;
    const char32_t c = nextCharacter(tables, bytes, i);
    std::string utf8;
    appendUtf8(utf8, c);  // at most three bytes: a BMP unit
    std::uint8_t info = static_cast<std::uint8_t>(utf8.size());
    if (i == 2) info |= kTwoBytes >> kInfoShift;
    if (c == U'\r') info |= kCarriageReturn >> kInfoShift;
    if (c == U'\n') info |= kLineFeed >> kInfoShift;
    const char inMemory[4] = {utf8[0], utf8.size() > 1 ? utf8[1] : '\0',
                              utf8.size() > 2 ? utf8[2] : '\0', static_cast<char>(info)};
    Step step;
    std::memcpy(&step, inMemory, sizeof step);
    return step;
}

StepTables buildSteps() {
    const Tables& tables = systemTables();
    StepTables t;
    std::uint32_t rows = 0;
    for (unsigned b = 0; b < 256; ++b) {
        const char byte = static_cast<char>(b);
        if (tables.lead[b]) {
            t.single[b] = kLeadByte;
            t.row[b] = 256 * rows++;
            t.leadAtEnd = stepOf(tables, std::string_view(&byte, 1));
        } else {
            t.single[b] = stepOf(tables, std::string_view(&byte, 1));
        }
        if (b < 0x80 && (tables.lead[b] || tables.single[b] != b)) t.asciiAsIs = false;
    }
    t.pairs.resize(std::size_t{256} * rows);
    for (unsigned lead = 0; lead < 256; ++lead) {
        if (!tables.lead[lead]) continue;
        for (unsigned trail = 0; trail < 256; ++trail) {
            const char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
            t.pairs[t.row[lead] + trail] = stepOf(tables, std::string_view(pair, 2));
        }
    }
    for (unsigned trail = 0; trail < 256; ++trail) {
        t.alwaysPaired[trail] = rows > 0;
        for (unsigned lead = 0; lead < 256; ++lead) {
            if (tables.lead[lead] && !(t.pairs[t.row[lead] + trail] & kTwoBytes))
                t.alwaysPaired[trail] = false;
        }
    }
    return t;
}

const StepTables& stepTables() {
    static const StepTables tables = buildSteps();
    return tables;
}

// The bytes of x that are CR, marked in their top bits; exact up to the
// first of them, which is all that is asked of it.
std::uint64_t carriageReturns(std::uint64_t x) {
    constexpr std::uint64_t kOnes = 0x0101010101010101u;
    const std::uint64_t y = x ^ (kOnes * '\r');
    return (y - kOnes) & ~y & (kOnes * 0x80);
}

template <bool kLines>
std::string decodeSteps(std::string_view bytes) {
    const StepTables& t = stepTables();
    const auto* in = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t n = bytes.size();
    // Held apart from the tables: the output is written through a char
    // pointer, which could otherwise alias them and have them read anew.
    const Step* const pairs = t.pairs.data();
    const bool asciiAsIs = t.asciiAsIs;
    const auto stepAt = [&](std::size_t i) {
        const Step s = t.single[in[i]];
        if (!(s & kLeadByte)) return s;
        return i + 1 < n ? pairs[t.row[in[i]] + in[i + 1]] : t.leadAtEnd;
    };
    // Room for Japanese text (two bytes for three) and more; the output
    // grows only for stretches that could outrun it (half-width katakana,
    // broken bytes), never writing past it: each input byte makes at most
    // three bytes, and a step writes up to eight at its end.
    constexpr std::size_t kSpare = 16;
    constexpr std::size_t kMinStretch = 64;
    constexpr std::size_t kMaxStretch = std::size_t{1} << 16;
    std::string out;
    out.resize(n + n / 2 + 3 * kMinStretch + kSpare);
    std::size_t o = 0;
    std::size_t i = 0;
    while (i < n) {
        const std::size_t stretch = std::min({n - i, kMaxStretch, (out.size() - o - kSpare) / 3});
        if (stretch < std::min(n - i, kMinStretch)) {
            out.resize(std::max(out.size() + out.size() / 2, o + 3 * kMaxStretch + kSpare));
            continue;
        }
        char* const base = out.data();
        const std::size_t end = i + stretch;
        while (i < end) {
            const unsigned char b = in[i];
            if (b < 0x80 && asciiAsIs) {
                if (kLines && b == '\r') {
                    base[o++] = '\n';
                    ++i;
                    if (i < n && (stepAt(i) & kLineFeed)) i += bytesTaken(stepAt(i));
                    continue;
                }
                if (end - i < 8) {
                    base[o++] = static_cast<char>(b);
                    ++i;
                    continue;
                }
                // Eight bytes at a time, up to the first that is no plain
                // ASCII.
                std::uint64_t x;
                std::memcpy(&x, in + i, sizeof x);
                std::memcpy(base + o, &x, sizeof x);
                std::uint64_t stop = x & 0x8080808080808080u;
                if constexpr (kLines) stop |= carriageReturns(x);
                std::size_t run = 8;
                if (stop != 0) {
                    if constexpr (std::endian::native == std::endian::little) {
                        run = static_cast<std::size_t>(std::countr_zero(stop)) / 8;
                    } else {
                        run = 1;
                    }
                }
                o += run;
                i += run;
                continue;
            }
            Step s = t.single[b];
            if (!(s & kLeadByte)) {
                ++i;
            } else if (i + 1 < n) {
                const unsigned char trail = in[i + 1];
                s = pairs[t.row[b] + trail];
                // Moving on by what the trail byte alone tells, rather than
                // by the step, lets the next character's lookup start at once.
                if (t.alwaysPaired[trail]) [[likely]] {
                    i += 2;
                } else {
                    i += bytesTaken(s);
                }
            } else {
                s = t.leadAtEnd;
                ++i;
            }
            std::memcpy(base + o, &s, sizeof s);
            o += lengthOf(s);
            if constexpr (kLines) {
                if (s & kCarriageReturn) {
                    base[o - 1] = '\n';
                    if (i < n && (stepAt(i) & kLineFeed)) i += bytesTaken(stepAt(i));
                }
            }
        }
    }
    out.resize(o);
    return out;
}

}  // namespace

std::string decode(std::string_view bytes) { return decodeSteps<false>(bytes); }

std::string decodeLines(std::string_view bytes) { return decodeSteps<true>(bytes); }

std::string decodeByCharacter(std::string_view bytes) {
    const Tables& tables = systemTables();
    std::string out;
    out.reserve(bytes.size() * 3 / 2);
    for (std::size_t i = 0; i < bytes.size();) appendUtf8(out, nextCharacter(tables, bytes, i));
    return out;
}

bool appendEncoded(std::string& out, char32_t codePoint) {
    if (codePoint >= 0x10000 || isSurrogate(codePoint)) return false;
    const std::uint16_t form = systemTables().forms[static_cast<char16_t>(codePoint)];
    if (form == kNoForm) return false;
    if (form >= 0x100) out.push_back(static_cast<char>(form >> 8));
    out.push_back(static_cast<char>(form & 0xFF));
    return true;
}

std::string encode(std::string_view utf8, bool* lossless) {
    if (lossless) *lossless = true;
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        if (appendEncoded(out, nextUtf8(utf8, i))) continue;
        out.push_back('?');
        if (lossless) *lossless = false;
    }
    return out;
}

bool readsBackAsItself(char32_t codePoint) {
    if (codePoint >= 0x10000 || isSurrogate(codePoint)) return false;
    const Tables& tables = systemTables();
    const auto unit = static_cast<char16_t>(codePoint);
    const std::uint16_t form = tables.forms[unit];
    return form != kNoForm && tables.decodesTo(form, unit);
}

int byteLength(char32_t codePoint) {
    if (codePoint >= 0x10000 || isSurrogate(codePoint)) return 0;
    const std::uint16_t form = systemTables().forms[static_cast<char16_t>(codePoint)];
    return form == kNoForm ? 0 : form < 0x100 ? 1 : 2;
}

std::size_t fittingPrefix(std::u16string_view text, std::size_t maxBytes) {
    // Every character takes at most two bytes per UTF-16 unit, so a short
    // text fits without looking at it.
    if (text.size() * 2 <= maxBytes) return text.size();
    std::size_t bytes = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t start = i;
        const char32_t cp = nextUtf16(text, i);
        const int n = byteLength(cp);
        const std::size_t cost = n > 0 ? static_cast<std::size_t>(n) : 2 * (i - start);
        if (bytes + cost > maxBytes) {
            i = start;
            break;
        }
        bytes += cost;
    }
    return i;
}

}  // namespace kivo::cp932
