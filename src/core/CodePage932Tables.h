#pragma once
// Code page 932 as the system holds it, in tables built once per process:
// the exports and loads convert millions of characters, which would
// otherwise cost a system or ICU call each. CodePage932Icu.cpp and
// CodePage932Win.cpp fill them; CodePage932.cpp converts with them.
#include <array>
#include <cstdint>
#include <utility>
#include <vector>

namespace kivo::cp932 {

// A byte or pair that forms no character.
inline constexpr char16_t kNoCharacter = 0xFFFF;
// A character the code page has no form for.
inline constexpr std::uint16_t kNoForm = 0xFFFF;

struct Tables {
    std::array<bool, 256> lead{};
    std::array<char16_t, 256> single{};  // a byte that is no lead byte
    std::vector<char16_t> pairs;         // lead << 8 | trail
    std::vector<std::uint16_t> forms;    // per BMP unit; below 0x100 one byte

    Tables() : pairs(std::size_t{1} << 16, kNoCharacter), forms(std::size_t{1} << 16, kNoForm) {
        single.fill(kNoCharacter);
    }

    bool decodesTo(std::uint16_t form, char16_t unit) const {
        if (form < 0x100) return !lead[form] && single[form] == unit;
        return lead[form >> 8] && pairs[form] == unit;
    }
    // Keeps a form only when it reads back as the same character, so no
    // look-alike ever stands in for one.
    void setForm(char16_t unit, std::uint16_t form) {
        if (form != kNoForm && decodesTo(form, unit)) forms[unit] = form;
    }
};

// Linux input methods type the JIS forms of seven characters (〜 U+301C,
// ‖ U+2016, − U+2212, ¢ £ ¬, — U+2014) that code page 932 holds only under
// their Microsoft forms (～ U+FF5E, ∥ U+2225, － U+FF0D, ￠ ￡ ￢, ― U+2015).
// Windows users read those bytes as the same characters, so the JIS forms
// are written as them rather than forcing a whole export into UTF-8; read
// back, the bytes give the Microsoft forms.
inline void addJisForms(Tables& t) {
    constexpr std::pair<char16_t, std::uint16_t> kJisForms[] = {
        {u'\u301C', 0x8160}, {u'\u2016', 0x8161}, {u'\u2212', 0x817C}, {u'\u00A2', 0x8191},
        {u'\u00A3', 0x8192}, {u'\u00AC', 0x81CA}, {u'\u2014', 0x815C},
    };
    for (const auto& [unit, form] : kJisForms) {
        if (t.forms[unit] == kNoForm) t.forms[unit] = form;
    }
}

// The system's tables: ICU's "windows-31j" corrected to Windows where they
// differ, or Windows' own.
const Tables& systemTables();

}  // namespace kivo::cp932
