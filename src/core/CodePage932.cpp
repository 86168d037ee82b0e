// Code page 932 conversions over the system's tables, the same on every
// platform.
#include "core/CodePage932.h"

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

}  // namespace

std::string decode(std::string_view bytes) {
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
