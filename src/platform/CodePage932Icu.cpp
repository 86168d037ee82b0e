// The ICU side of the code page 932 adapter (everything but Windows).
#include <unicode/ucnv.h>
#include <unicode/utf16.h>

#include <memory>
#include <optional>
#include <stdexcept>
#include <vector>

#include "CodePage932.h"
#include "Utf8.h"

namespace kivo::cp932 {
namespace {

struct ConverterCloser {
    void operator()(UConverter* c) const { ucnv_close(c); }
};
using ConverterPtr = std::unique_ptr<UConverter, ConverterCloser>;

// "windows-31j" is Microsoft's table: 0x5C is U+005C and 0x8160 is U+FF5E,
// as Windows maps them.
ConverterPtr openConverter() {
    UErrorCode status = U_ZERO_ERROR;
    ConverterPtr conv(ucnv_open("windows-31j", &status));
    if (U_FAILURE(status)) throw std::runtime_error("code page 932 converter missing from ICU");
    return conv;
}

UConverter* converter() {
    // One per thread: ICU converters keep state between calls.
    thread_local ConverterPtr conv = openConverter();
    ucnv_reset(conv.get());
    return conv.get();
}

std::u16string utf8ToUtf16(std::string_view utf8) {
    std::u16string out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    const auto* s = reinterpret_cast<const unsigned char*>(utf8.data());
    const std::size_t n = utf8.size();
    while (i < n) {
        char32_t cp = 0xFFFD;
        const unsigned char b = s[i];
        std::size_t len = 1;
        if (b < 0x80) {
            cp = b;
        } else if ((b & 0xE0) == 0xC0 && i + 1 < n && (s[i + 1] & 0xC0) == 0x80) {
            cp = ((b & 0x1Fu) << 6) | (s[i + 1] & 0x3Fu);
            len = cp >= 0x80 ? 2 : 1;
            if (cp < 0x80) cp = 0xFFFD;
        } else if ((b & 0xF0) == 0xE0 && i + 2 < n && (s[i + 1] & 0xC0) == 0x80 &&
                   (s[i + 2] & 0xC0) == 0x80) {
            cp = ((b & 0x0Fu) << 12) | ((s[i + 1] & 0x3Fu) << 6) | (s[i + 2] & 0x3Fu);
            len = 3;
            if (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF)) cp = 0xFFFD;
        } else if ((b & 0xF8) == 0xF0 && i + 3 < n && (s[i + 1] & 0xC0) == 0x80 &&
                   (s[i + 2] & 0xC0) == 0x80 && (s[i + 3] & 0xC0) == 0x80) {
            cp = ((b & 0x07u) << 18) | ((s[i + 1] & 0x3Fu) << 12) | ((s[i + 2] & 0x3Fu) << 6) |
                 (s[i + 3] & 0x3Fu);
            len = 4;
            if (cp < 0x10000 || cp > 0x10FFFF) cp = 0xFFFD;
        }
        i += len;
        if (cp >= 0x10000) {
            out.push_back(static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
    }
    return out;
}

// Converts one UTF-16 character; returns the number of bytes written (0 when
// code page 932 cannot hold it).
int encodeOne(const char16_t* units, int count, char* out, int outSize) {
    UConverter* conv = converter();
    UErrorCode status = U_ZERO_ERROR;
    ucnv_setFromUCallBack(conv, UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
    status = U_ZERO_ERROR;
    const int written =
        ucnv_fromUChars(conv, out, outSize, reinterpret_cast<const UChar*>(units), count, &status);
    if (U_FAILURE(status)) return 0;
    return written;
}

bool isLead(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
bool isTrail(unsigned char b) { return b >= 0x40 && b <= 0xFC && b != 0x7F; }

// The character of one byte sequence as ICU's converter reads it, or
// nothing when it reads none.
std::optional<char16_t> icuCharacter(const char* bytes, int length) {
    UConverter* conv = converter();
    UErrorCode status = U_ZERO_ERROR;
    ucnv_setToUCallBack(conv, UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
    UChar out[4];
    status = U_ZERO_ERROR;
    const int32_t n = ucnv_toUChars(conv, out, 4, bytes, length, &status);
    if (U_FAILURE(status) || n != 1 || out[0] == 0xFFFD || out[0] == 0x1A) return std::nullopt;
    return static_cast<char16_t>(out[0]);
}

// What Windows reads every byte and byte pair of code page 932 as, built
// once. ICU's table is IBM's in a few single bytes (0x1A, 0x1C and 0x7F trade
// places, 0x80 is nothing) and marks broken bytes with U+001A; Windows keeps
// the controls, reads 0x80 as U+0080, and we mark broken bytes with U+FFFD.
// A table walk is also far faster than the converter for a million lines.
class DecodeTable {
public:
    static const DecodeTable& instance() {
        static const DecodeTable table;
        return table;
    }
    char16_t single(unsigned char b) const { return single_[b]; }
    // The character of a lead byte and a trail byte; U+FFFD for an empty cell.
    char16_t pair(unsigned char lead, unsigned char trail) const {
        return pairs_[leadIndex(lead) * 256 + trail];
    }

private:
    static std::size_t leadIndex(unsigned char lead) {
        return lead <= 0x9F ? lead - 0x81u : lead - 0xE0u + 31u;
    }
    DecodeTable() : single_(256, kReplacement), pairs_(60 * 256, kReplacement) {
        for (int b = 0; b <= 0x80; ++b) single_[b] = static_cast<char16_t>(b);
        for (int b = 0xA1; b <= 0xDF; ++b) single_[b] = static_cast<char16_t>(0xFF61 + b - 0xA1);
        for (int lead = 0x81; lead <= 0xFC; ++lead) {
            if (!isLead(static_cast<unsigned char>(lead))) continue;
            for (int trail = 0x40; trail <= 0xFC; ++trail) {
                if (!isTrail(static_cast<unsigned char>(trail))) continue;
                const char bytes[2] = {static_cast<char>(lead), static_cast<char>(trail)};
                if (const auto c = icuCharacter(bytes, 2)) {
                    pairs_[leadIndex(static_cast<unsigned char>(lead)) * 256 + trail] = *c;
                }
            }
        }
    }
    static constexpr char16_t kReplacement = 0xFFFD;
    std::vector<char16_t> single_;
    std::vector<char16_t> pairs_;
};

// Code page 932 bytes of every BMP character, asked of ICU once: the
// exports convert millions of characters. A form is kept only when it reads
// back as the same character, so no look-alike ever stands in for one.
// 0xFFFF marks a character the code page lacks; values below 0x100 are one
// byte.
class EncodeTable {
public:
    static const EncodeTable& instance() {
        static const EncodeTable table;
        return table;
    }
    std::uint16_t operator[](char16_t unit) const { return table_[unit]; }

private:
    EncodeTable() : table_(0x10000, kNone) {
        const DecodeTable& decode = DecodeTable::instance();
        char buf[8];
        for (std::uint32_t cp = 0; cp < 0x10000; ++cp) {
            if (cp >= 0xD800 && cp <= 0xDFFF) continue;
            const char16_t unit = static_cast<char16_t>(cp);
            if (cp <= 0x80) {
                table_[cp] = static_cast<std::uint16_t>(cp);
                continue;
            }
            const int n = encodeOne(&unit, 1, buf, sizeof buf);
            const auto b0 = static_cast<unsigned char>(buf[0]);
            const auto b1 = static_cast<unsigned char>(buf[1]);
            if (n == 1 && decode.single(b0) == unit) table_[cp] = b0;
            if (n == 2 && isLead(b0) && isTrail(b1) && decode.pair(b0, b1) == unit) {
                table_[cp] = static_cast<std::uint16_t>(b0 << 8 | b1);
            }
        }
    }
    static constexpr std::uint16_t kNone = 0xFFFF;
    std::vector<std::uint16_t> table_;
};

constexpr std::uint16_t kNoForm = 0xFFFF;

}  // namespace

std::string decode(std::string_view bytes) {
    const DecodeTable& table = DecodeTable::instance();
    std::string out;
    out.reserve(bytes.size() * 3 / 2);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b < 0x80) {
            out.push_back(static_cast<char>(b));
        } else if (!isLead(b)) {
            appendUtf8(out, table.single(b));
        } else if (i + 1 < bytes.size() && isTrail(static_cast<unsigned char>(bytes[i + 1]))) {
            appendUtf8(out, table.pair(b, static_cast<unsigned char>(bytes[i + 1])));
            ++i;
        } else {
            // A lead byte without its trail byte: the next byte stands alone.
            appendUtf8(out, 0xFFFD);
        }
    }
    return out;
}

std::string encode(std::string_view utf8, bool* lossless) {
    if (lossless) *lossless = true;
    const std::u16string wide = utf8ToUtf16(utf8);
    const EncodeTable& table = EncodeTable::instance();
    std::string out;
    out.reserve(wide.size() * 2);
    for (std::size_t i = 0; i < wide.size(); ++i) {
        const std::uint16_t form = U16_IS_SURROGATE(wide[i]) ? kNoForm : table[wide[i]];
        if (form == kNoForm) {
            // A surrogate pair is one character the code page lacks.
            if (U16_IS_LEAD(wide[i]) && i + 1 < wide.size() && U16_IS_TRAIL(wide[i + 1])) ++i;
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
    if (codePoint >= 0x10000 || (codePoint >= 0xD800 && codePoint <= 0xDFFF)) return 0;
    const std::uint16_t form = EncodeTable::instance()[static_cast<char16_t>(codePoint)];
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
        if (U16_IS_LEAD(text[i]) && i + 1 < text.size() && U16_IS_TRAIL(text[i + 1])) {
            cp = U16_GET_SUPPLEMENTARY(text[i], text[i + 1]);
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
