// Code page 932 tables from ICU (everything but Windows). ICU's
// "windows-31j" is Microsoft's table (0x5C is U+005C, 0x8160 is U+FF5E), but
// IBM's in a few single bytes: 0x1A, 0x1C and 0x7F trade places and 0x80 is
// no character. Those bytes are taken as Windows reads them, so both
// platforms give the same bytes.
#include <unicode/ucnv.h>

#include <memory>
#include <optional>
#include <stdexcept>

#include "core/CodePage932Tables.h"

namespace kivo::cp932 {
namespace {

struct ConverterCloser {
    void operator()(UConverter* c) const { ucnv_close(c); }
};
using ConverterPtr = std::unique_ptr<UConverter, ConverterCloser>;

ConverterPtr openConverter() {
    UErrorCode status = U_ZERO_ERROR;
    ConverterPtr conv(ucnv_open("windows-31j", &status));
    if (U_FAILURE(status)) throw std::runtime_error("code page 932 converter missing from ICU");
    UErrorCode ignored = U_ZERO_ERROR;
    // Stop at anything the table lacks rather than substituting.
    ucnv_setToUCallBack(conv.get(), UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &ignored);
    ucnv_setFromUCallBack(conv.get(), UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr,
                          &ignored);
    return conv;
}

// The one character two bytes form, or nothing.
std::optional<char16_t> decodePair(UConverter* conv, unsigned char lead, unsigned char trail) {
    const char bytes[2] = {static_cast<char>(lead), static_cast<char>(trail)};
    UChar out[4];
    UErrorCode status = U_ZERO_ERROR;
    ucnv_reset(conv);
    const int32_t n = ucnv_toUChars(conv, out, 4, bytes, 2, &status);
    if (U_FAILURE(status) || n != 1 || out[0] == 0xFFFD || out[0] == 0x1A) return std::nullopt;
    return static_cast<char16_t>(out[0]);
}

// The bytes ICU writes for one character, as a form; kNoForm when none.
std::uint16_t encodeUnit(UConverter* conv, char16_t unit) {
    const UChar in = unit;
    char out[8];
    UErrorCode status = U_ZERO_ERROR;
    ucnv_reset(conv);
    const int32_t n = ucnv_fromUChars(conv, out, sizeof out, &in, 1, &status);
    if (U_FAILURE(status) || n < 1 || n > 2) return kNoForm;
    const auto first = static_cast<unsigned char>(out[0]);
    return n == 1 ? first
                  : static_cast<std::uint16_t>(first << 8 | static_cast<unsigned char>(out[1]));
}

Tables buildTables() {
    Tables t;
    const ConverterPtr conv = openConverter();
    for (int b = 0x81; b <= 0xFC; ++b) t.lead[b] = b <= 0x9F || b >= 0xE0;
    for (int b = 0; b <= 0x80; ++b) t.single[b] = static_cast<char16_t>(b);
    for (int b = 0xA1; b <= 0xDF; ++b) t.single[b] = static_cast<char16_t>(0xFF61 + b - 0xA1);
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (!t.lead[lead]) continue;
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            if (trail == 0x7F) continue;
            const auto c = decodePair(conv.get(), static_cast<unsigned char>(lead),
                                      static_cast<unsigned char>(trail));
            if (c) t.pairs[static_cast<std::size_t>(lead) << 8 | trail] = *c;
        }
    }
    for (char32_t cp = 0; cp < 0x10000; ++cp) {
        if (cp >= 0xD800 && cp <= 0xDFFF) continue;
        const auto unit = static_cast<char16_t>(cp);
        t.setForm(unit, cp <= 0x80 ? static_cast<std::uint16_t>(cp) : encodeUnit(conv.get(), unit));
    }
    addJisForms(t);
    return t;
}

}  // namespace

const Tables& systemTables() {
    static const Tables tables = buildTables();
    return tables;
}

}  // namespace kivo::cp932
