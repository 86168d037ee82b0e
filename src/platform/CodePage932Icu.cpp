// The ICU side of the code page 932 adapter (everything but Windows).
#include <unicode/ucnv.h>
#include <unicode/utf16.h>

#include <memory>
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

// Code page 932 bytes of every BMP character, asked of ICU once: the
// exports convert millions of characters, one ICU call each would dominate.
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
        char buf[8];
        for (std::uint32_t cp = 0; cp < 0x10000; ++cp) {
            if (cp >= 0xD800 && cp <= 0xDFFF) continue;
            const char16_t unit = static_cast<char16_t>(cp);
            if (cp < 0x80) {
                table_[cp] = static_cast<std::uint16_t>(cp);
                continue;
            }
            const int n = encodeOne(&unit, 1, buf, sizeof buf);
            if (n == 1) table_[cp] = static_cast<unsigned char>(buf[0]);
            if (n == 2) {
                table_[cp] = static_cast<std::uint16_t>(static_cast<unsigned char>(buf[0]) << 8 |
                                                        static_cast<unsigned char>(buf[1]));
            }
        }
    }
    static constexpr std::uint16_t kNone = 0xFFFF;
    std::vector<std::uint16_t> table_;
};

constexpr std::uint16_t kNoForm = 0xFFFF;

}  // namespace

std::string decode(std::string_view bytes) {
    if (bytes.empty()) return {};
    UConverter* conv = converter();
    UErrorCode status = U_ZERO_ERROR;
    ucnv_setToUCallBack(conv, UCNV_TO_U_CALLBACK_SUBSTITUTE, nullptr, nullptr, nullptr, &status);
    std::vector<UChar> wide(bytes.size() + 1);
    status = U_ZERO_ERROR;
    const int32_t wideLen =
        ucnv_toUChars(conv, wide.data(), static_cast<int32_t>(wide.size()), bytes.data(),
                      static_cast<int32_t>(bytes.size()), &status);
    if (U_FAILURE(status)) throw std::runtime_error("code page 932 decoding failed");
    std::string out;
    out.reserve(static_cast<std::size_t>(wideLen) * 3);
    for (int32_t i = 0; i < wideLen;) {
        UChar32 cp;
        U16_NEXT(wide.data(), i, wideLen, cp);
        if (U_IS_SURROGATE(cp)) cp = 0xFFFD;
        appendUtf8(out, static_cast<char32_t>(cp));
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
