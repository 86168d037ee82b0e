// Code page 932 tables from Windows' own table, read through
// MultiByteToWideChar and WideCharToMultiByte.
#include <windows.h>

#include <stdexcept>

#include "core/CodePage932Tables.h"

namespace kivo::cp932 {
namespace {

constexpr UINT kCodePage = 932;

// MB_ERR_INVALID_CHARS makes bytes the table lacks fail instead of turning
// into the code page's default character.
char16_t decodeOne(const char* bytes, int count) {
    wchar_t out[2];
    const int n = MultiByteToWideChar(kCodePage, MB_ERR_INVALID_CHARS, bytes, count, out, 2);
    return n == 1 ? static_cast<char16_t>(out[0]) : kNoCharacter;
}

// WC_NO_BEST_FIT_CHARS and the default-character flag keep Windows from
// writing a look-alike (¥ as 0x5C, an accented letter without its accent) in
// place of a character the code page lacks.
std::uint16_t encodeOne(char16_t unit) {
    const wchar_t wide = static_cast<wchar_t>(unit);
    char out[4];
    BOOL usedDefault = FALSE;
    const int n = WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, &wide, 1, out, sizeof out,
                                      nullptr, &usedDefault);
    if (usedDefault || n < 1 || n > 2) return kNoForm;
    const auto first = static_cast<unsigned char>(out[0]);
    return n == 1 ? first
                  : static_cast<std::uint16_t>(first << 8 | static_cast<unsigned char>(out[1]));
}

Tables buildTables() {
    Tables t;
    CPINFO info{};
    if (!GetCPInfo(kCodePage, &info))
        throw std::runtime_error("code page 932 missing from Windows");
    for (int r = 0; r + 1 < MAX_LEADBYTES && info.LeadByte[r] != 0; r += 2) {
        for (unsigned b = info.LeadByte[r]; b <= info.LeadByte[r + 1]; ++b) t.lead[b] = true;
    }
    for (unsigned b = 0; b < 0x100; ++b) {
        const char first = static_cast<char>(b);
        if (!t.lead[b]) {
            t.single[b] = decodeOne(&first, 1);
            continue;
        }
        for (unsigned trail = 0; trail < 0x100; ++trail) {
            const char bytes[2] = {first, static_cast<char>(trail)};
            t.pairs[b << 8 | trail] = decodeOne(bytes, 2);
        }
    }
    // Windows writes U+F8F0 as 0xA0 but reads 0xA0 as nothing: setForm keeps
    // only forms that read back.
    for (char32_t cp = 0; cp < 0x10000; ++cp) {
        if (cp >= 0xD800 && cp <= 0xDFFF) continue;
        const auto unit = static_cast<char16_t>(cp);
        t.setForm(unit, encodeOne(unit));
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
