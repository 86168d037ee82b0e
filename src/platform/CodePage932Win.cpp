// The Windows side of the code page 932 adapter: the system's own table,
// read through MultiByteToWideChar and WideCharToMultiByte.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <array>
#include <cstdint>
#include <stdexcept>
#include <vector>

#include "CodePage932.h"
#include "Utf8.h"

namespace kivo::cp932 {
namespace {

constexpr UINT kCodePage = 932;
constexpr char32_t kReplacement = 0xFFFD;
// Encode table: the code page has no form for the character.
constexpr std::uint16_t kNoForm = 0xFFFF;
// Decode table: the bytes form no character. U+FFFF is a noncharacter that
// no code page maps to.
constexpr char16_t kNoCharacter = 0xFFFF;

bool isLeadSurrogate(char32_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool isTrailSurrogate(char32_t u) { return u >= 0xDC00 && u <= 0xDFFF; }
bool isSurrogate(char32_t u) { return u >= 0xD800 && u <= 0xDFFF; }

// The bytes Shift-JIS allows after a lead byte. A lead byte followed by
// anything else is broken on its own, and the byte after it is read anew
// (so "\x82 b" keeps its space), as ICU does on the other platforms.
bool isTrailByte(unsigned char b) { return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC); }

// One UTF-8 character at s[i]: its code point (U+FFFD when malformed) and
// how many bytes it took. The same reading as the ICU side's.
char32_t nextUtf8(const unsigned char* s, std::size_t n, std::size_t& i) {
    const unsigned char b = s[i];
    auto cont = [&](std::size_t k) { return i + k < n && (s[i + k] & 0xC0) == 0x80; };
    char32_t cp = kReplacement;
    std::size_t len = 1;
    if (b < 0x80) {
        cp = b;
    } else if ((b & 0xE0) == 0xC0 && cont(1)) {
        cp = ((b & 0x1Fu) << 6) | (s[i + 1] & 0x3Fu);
        len = cp >= 0x80 ? 2 : 1;
        if (cp < 0x80) cp = kReplacement;
    } else if ((b & 0xF0) == 0xE0 && cont(1) && cont(2)) {
        cp = ((b & 0x0Fu) << 12) | ((s[i + 1] & 0x3Fu) << 6) | (s[i + 2] & 0x3Fu);
        len = 3;
        if (cp < 0x800 || isSurrogate(cp)) cp = kReplacement;
    } else if ((b & 0xF8) == 0xF0 && cont(1) && cont(2) && cont(3)) {
        cp = ((b & 0x07u) << 18) | ((s[i + 1] & 0x3Fu) << 12) | ((s[i + 2] & 0x3Fu) << 6) |
             (s[i + 3] & 0x3Fu);
        len = 4;
        if (cp < 0x10000 || cp > 0x10FFFF) cp = kReplacement;
    }
    i += len;
    return cp;
}

// Code page 932 as Windows holds it, asked of the system once per process:
// a list of a million lines would otherwise cost a system call per
// character.
class Tables {
public:
    static const Tables& instance() {
        static const Tables tables;
        return tables;
    }

    bool isLead(unsigned char b) const { return lead_[b]; }
    char16_t single(unsigned char b) const { return single_[b]; }
    char16_t pair(unsigned char lead, unsigned char trail) const {
        return pairs_[static_cast<std::size_t>(lead) << 8 | trail];
    }
    std::uint16_t form(char16_t unit) const { return encode_[unit]; }

private:
    Tables() {
        CPINFO info{};
        if (!GetCPInfo(kCodePage, &info)) {
            throw std::runtime_error("code page 932 missing from Windows");
        }
        for (int r = 0; r + 1 < MAX_LEADBYTES && info.LeadByte[r] != 0; r += 2) {
            for (unsigned b = info.LeadByte[r]; b <= info.LeadByte[r + 1]; ++b) lead_[b] = true;
        }
        buildDecoding();
        buildEncoding();
    }

    // MB_ERR_INVALID_CHARS makes bytes the table lacks fail instead of
    // turning into the code page's default character.
    static char16_t decodeOne(const char* bytes, int count) {
        wchar_t out[2];
        const int n = MultiByteToWideChar(kCodePage, MB_ERR_INVALID_CHARS, bytes, count, out, 2);
        return n == 1 ? static_cast<char16_t>(out[0]) : kNoCharacter;
    }

    void buildDecoding() {
        single_.fill(kNoCharacter);
        pairs_.assign(std::size_t{1} << 16, kNoCharacter);
        for (unsigned b = 0; b < 0x100; ++b) {
            const char first = static_cast<char>(b);
            if (!lead_[b]) {
                single_[b] = decodeOne(&first, 1);
                continue;
            }
            for (unsigned t = 0; t < 0x100; ++t) {
                const char bytes[2] = {first, static_cast<char>(t)};
                pairs_[b << 8 | t] = decodeOne(bytes, 2);
            }
        }
    }

    // WC_NO_BEST_FIT_CHARS and the default-character flag keep Windows from
    // writing a look-alike (¥ as 0x5C, an accented letter without its
    // accent) in place of a character the code page lacks.
    static std::uint16_t encodeOne(char16_t unit) {
        const wchar_t wide = static_cast<wchar_t>(unit);
        char out[4];
        BOOL usedDefault = FALSE;
        const int n = WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, &wide, 1, out,
                                          sizeof out, nullptr, &usedDefault);
        if (usedDefault || n < 1 || n > 2) return kNoForm;
        const auto first = static_cast<unsigned char>(out[0]);
        return n == 1 ? first
                      : static_cast<std::uint16_t>(first << 8 | static_cast<unsigned char>(out[1]));
    }

    // Only forms that read back as the same character count: Windows writes
    // U+F8F0 as 0xA0 but reads 0xA0 as no character at all.
    void buildEncoding() {
        encode_.assign(std::size_t{1} << 16, kNoForm);
        for (char32_t cp = 0; cp < 0x10000; ++cp) {
            if (isSurrogate(cp)) continue;
            const auto unit = static_cast<char16_t>(cp);
            const std::uint16_t form = encodeOne(unit);
            if (form != kNoForm && decodesTo(form, unit)) encode_[cp] = form;
        }
    }

    bool decodesTo(std::uint16_t form, char16_t unit) const {
        if (form < 0x100) return !lead_[form] && single_[form] == unit;
        return lead_[form >> 8] && pairs_[form] == unit;
    }

    std::array<bool, 256> lead_{};
    std::array<char16_t, 256> single_{};
    std::vector<char16_t> pairs_;        // lead << 8 | trail
    std::vector<std::uint16_t> encode_;  // per BMP unit; below 0x100 one byte
};

std::u16string utf8ToUtf16(std::string_view utf8) {
    std::u16string out;
    out.reserve(utf8.size());
    const auto* s = reinterpret_cast<const unsigned char*>(utf8.data());
    for (std::size_t i = 0; i < utf8.size();) {
        const char32_t cp = nextUtf8(s, utf8.size(), i);
        if (cp >= 0x10000) {
            out.push_back(static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
    }
    return out;
}

// The character at bytes[i] and how many bytes it took; U+FFFD for bytes
// that form none.
char32_t nextCharacter(const Tables& tables, std::string_view bytes, std::size_t& i) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    if (!tables.isLead(b)) {
        ++i;
        const char16_t u = tables.single(b);
        return u == kNoCharacter ? kReplacement : u;
    }
    if (i + 1 == bytes.size()) {
        ++i;
        return kReplacement;
    }
    const auto t = static_cast<unsigned char>(bytes[i + 1]);
    const char16_t u = tables.pair(b, t);
    i += u != kNoCharacter || isTrailByte(t) ? 2 : 1;
    return u == kNoCharacter ? kReplacement : u;
}

}  // namespace

std::string decode(std::string_view bytes) {
    const Tables& tables = Tables::instance();
    std::string out;
    out.reserve(bytes.size() * 3 / 2);
    for (std::size_t i = 0; i < bytes.size();) appendUtf8(out, nextCharacter(tables, bytes, i));
    return out;
}

std::string encode(std::string_view utf8, bool* lossless) {
    if (lossless) *lossless = true;
    const std::u16string wide = utf8ToUtf16(utf8);
    const Tables& tables = Tables::instance();
    std::string out;
    out.reserve(wide.size() * 2);
    for (std::size_t i = 0; i < wide.size(); ++i) {
        const std::uint16_t form = isSurrogate(wide[i]) ? kNoForm : tables.form(wide[i]);
        if (form == kNoForm) {
            // A surrogate pair is one character the code page lacks.
            if (isLeadSurrogate(wide[i]) && i + 1 < wide.size() && isTrailSurrogate(wide[i + 1])) {
                ++i;
            }
            out.push_back('?');
            if (lossless) *lossless = false;
        } else if (form < 0x100) {
            out.push_back(static_cast<char>(form));
        } else {
            out.push_back(static_cast<char>(form >> 8));
            out.push_back(static_cast<char>(form & 0xFF));
        }
    }
    return out;
}

int byteLength(char32_t codePoint) {
    if (codePoint >= 0x10000 || isSurrogate(codePoint)) return 0;
    const std::uint16_t form = Tables::instance().form(static_cast<char16_t>(codePoint));
    return form == kNoForm ? 0 : form < 0x100 ? 1 : 2;
}

std::size_t fittingPrefix(std::u16string_view text, std::size_t maxBytes) {
    // Every character takes at most two bytes per UTF-16 unit, so a short
    // text fits without looking at it.
    if (text.size() * 2 <= maxBytes) return text.size();
    std::size_t bytes = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        std::size_t units = 1;
        char32_t cp = text[i];
        if (isLeadSurrogate(text[i]) && i + 1 < text.size() && isTrailSurrogate(text[i + 1])) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            units = 2;
        }
        const int n = byteLength(cp);
        const std::size_t cost = n > 0 ? static_cast<std::size_t>(n) : 2 * units;
        if (bytes + cost > maxBytes) break;
        bytes += cost;
        i += units;
    }
    return i;
}

}  // namespace kivo::cp932
