#include <gtest/gtest.h>

#include "core/CodePage932.h"

namespace kivo {
namespace {

TEST(CodePage932, RoundTripsJapaneseWithMicrosoftsMapping) {
    const std::string bytes = "\x8c\xea\x8b\xe5 \x5c \x81\x60 \x95\x5c\x83\x5c \xb6\xde";
    const std::string text = cp932::decode(bytes);
    EXPECT_EQ(text, "語句 \\ ～ 表ソ ｶﾞ");
    bool lossless = false;
    EXPECT_EQ(cp932::encode(text, &lossless), bytes);
    EXPECT_TRUE(lossless);
}

TEST(CodePage932, ReportsCharactersItCannotHold) {
    bool lossless = true;
    EXPECT_EQ(cp932::encode("a😀한", &lossless), "a??");
    EXPECT_FALSE(lossless);
    EXPECT_EQ(cp932::byteLength(U'a'), 1);
    EXPECT_EQ(cp932::byteLength(U'ｶ'), 1);
    EXPECT_EQ(cp932::byteLength(U'語'), 2);
    EXPECT_EQ(cp932::byteLength(U'😀'), 0);
}

TEST(CodePage932, FittingPrefixNeverSplitsACharacter) {
    EXPECT_EQ(cp932::fittingPrefix(u"abc", 2), 2u);
    EXPECT_EQ(cp932::fittingPrefix(u"語句語", 5), 2u);  // 4 bytes fit, the third needs 6
    EXPECT_EQ(cp932::fittingPrefix(u"a語", 2), 1u);
    EXPECT_EQ(cp932::fittingPrefix(u"ｱｲｳｴ", 3), 3u);
    // An emoji (a surrogate pair) counts four bytes and is kept or dropped whole.
    EXPECT_EQ(cp932::fittingPrefix(u"a😀b", 4), 1u);
    EXPECT_EQ(cp932::fittingPrefix(u"a😀b", 5), 3u);
    std::u16string longLine(3000, u'語');
    EXPECT_EQ(cp932::fittingPrefix(longLine, 4096), 2048u);
    longLine.insert(longLine.begin(), u'a');
    EXPECT_EQ(cp932::fittingPrefix(longLine, 4096), 2048u);  // 1 + 2047 * 2 = 4095
}

// Places where Microsoft's table parts from other Shift-JIS tables, or holds
// one character twice. Windows' own table and ICU's windows-31j must both
// give these bytes, so a difference between the two fails here.
struct Mapping {
    std::string bytes;
    std::string text;
};

std::string hexOf(const std::string& bytes) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        out += kHex[b >> 4];
        out += kHex[b & 15];
        out += ' ';
    }
    return out;
}

TEST(CodePage932, TrickyBytesReadAsWindowsReadsThem) {
    // clang-format off
    const Mapping mappings[] = {
        {"\x5C", "\\"},         // backslash, not the yen sign
        {"\x7E", "~"},          // tilde, not the overline
        {"\x81\x5C", "―"},      // U+2015
        {"\x81\x5F", "＼"},     // U+FF3C
        {"\x81\x60", "～"},     // U+FF5E, not the wave dash U+301C
        {"\x81\x61", "∥"},      // U+2225, not U+2016
        {"\x81\x7C", "－"},     // U+FF0D, not the minus sign U+2212
        {"\x81\x91", "￠"},     // U+FFE0, not U+00A2
        {"\x81\x92", "￡"},     // U+FFE1, not U+00A3
        {"\x81\xCA", "￢"},     // U+FFE2, not U+00AC
        {"\x87\x40", "①"},      // NEC row 13
        {"\x87\x54", "Ⅰ"},
        {"\x87\x5F", "㍉"},
        {"\x87\x82", "№"},
        {"\x87\x90", "≒"},
        {"\x87\x9A", "∵"},
        {"\xED\x40", "纊"},     // NEC's selection of IBM's extension
        {"\xEE\xEF", "ⅰ"},
        {"\xEE\xF9", "￢"},
        {"\xEE\xFC", "＂"},
        {"\xFA\x40", "ⅰ"},      // IBM's extension
        {"\xFA\x4A", "Ⅰ"},
        {"\xFA\x54", "￢"},
        {"\xFA\x55", "￤"},
        {"\xFA\x59", "№"},
        {"\xFA\x5B", "∵"},
        {"\xFA\x5C", "纊"},
        {"\xFC\x4B", "黑"},     // the last character of the table
        {"\xF0\x40", "\uE000"},  // user-defined area
        {"\xA1", "｡"},          // half-width katakana, one byte each
        {"\xB1", "ｱ"},
        {"\xB6\xDE", "ｶﾞ"},
        {"\xDF", "ﾟ"},
    };
    // clang-format on
    for (const Mapping& m : mappings) {
        EXPECT_EQ(cp932::decode(m.bytes), m.text) << hexOf(m.bytes);
    }
}

TEST(CodePage932, CharactersHeldTwiceAreWrittenInOneForm) {
    // clang-format off
    const Mapping forms[] = {
        {"\x5C", "\\"},
        {"\x7E", "~"},
        {"\x81\x5C", "―"},
        {"\x81\x5F", "＼"},
        {"\x81\x60", "～"},
        {"\x81\x61", "∥"},
        {"\x81\x7C", "－"},
        {"\x81\x91", "￠"},
        {"\x81\x92", "￡"},
        {"\x81\xCA", "￢"},  // not 0xEEF9 or 0xFA54
        {"\x81\xE0", "≒"},  // not 0x8790
        {"\x81\xE6", "∵"},  // not 0x879A or 0xFA5B
        {"\x87\x40", "①"},
        {"\x87\x54", "Ⅰ"},  // not 0xFA4A
        {"\x87\x82", "№"},  // not 0xFA59
        {"\xFA\x40", "ⅰ"},  // not 0xEEEF
        {"\xFA\x55", "￤"},
        {"\xFA\x57", "＂"},  // not 0xEEFC
        {"\xFA\x5C", "纊"},  // not 0xED40
        {"\xFC\x4B", "黑"},
        {"\xF0\x40", "\uE000"},
        {"\xA1", "｡"},
        {"\xB1", "ｱ"},
        {"\xDF", "ﾟ"},
    };
    // clang-format on
    for (const Mapping& m : forms) {
        bool lossless = false;
        EXPECT_EQ(cp932::encode(m.text, &lossless), m.bytes) << m.text;
        EXPECT_TRUE(lossless) << m.text;
    }
    EXPECT_EQ(cp932::byteLength(U'～'), 2);
    EXPECT_EQ(cp932::byteLength(U'ﾟ'), 1);
    EXPECT_EQ(cp932::byteLength(U'\\'), 1);
}

TEST(CodePage932, LookAlikesNeverStandInForACharacter) {
    // Each has a "best fit" that would read back as another character:
    // ¥ as "\", ‾ as "~", é as "e" and so on.
    for (const std::string text : {"¥", "‾", "é", "€", "\u00A0", "\uF8F0", "한"}) {
        bool lossless = true;
        EXPECT_EQ(cp932::encode(text, &lossless), "?") << text;
        EXPECT_FALSE(lossless) << text;
    }
    EXPECT_EQ(cp932::byteLength(U'¥'), 0);
}

TEST(CodePage932, JisFormsAreWrittenAsTheirMicrosoftForms) {
    bool lossless = false;
    EXPECT_EQ(cp932::encode("〜‖−¢£¬—", &lossless),
              "\x81\x60\x81\x61\x81\x7C\x81\x91\x81\x92\x81\xCA\x81\x5C");
    EXPECT_TRUE(lossless);
    EXPECT_EQ(cp932::byteLength(U'〜'), 2);
    EXPECT_FALSE(cp932::readsBackAsItself(U'〜'));
    EXPECT_TRUE(cp932::readsBackAsItself(U'～'));
    EXPECT_FALSE(cp932::readsBackAsItself(U'😀'));
}

// ICU's windows-31j follows IBM's table for four single bytes (0x1A, 0x1C
// and 0x7F trade places; 0x80 is no character) and marks broken bytes with
// U+001A; both adapters read them as Windows does, and mark broken bytes with
// U+FFFD.
TEST(CodePage932, ControlsAndByte80StayAsTheyAre) {
    EXPECT_EQ(cp932::decode("\x1A\x1C\x7F\x80"), "\x1A\x1C\x7F\u0080");
    bool lossless = false;
    EXPECT_EQ(cp932::encode("\x1A\x1C\x7F\u0080", &lossless), "\x1A\x1C\x7F\x80");
    EXPECT_TRUE(lossless);
}

TEST(CodePage932, BrokenBytesBecomeReplacementCharacters) {
    EXPECT_EQ(cp932::decode("a\x82"), "a\uFFFD");
    EXPECT_EQ(cp932::decode("\x82 b"), "\uFFFD b");    // the space is no trail byte
    EXPECT_EQ(cp932::decode("\x85\x40x"), "\uFFFDx");  // an empty cell takes both bytes
    EXPECT_EQ(cp932::decode("\xA0\xFD\xFF"), "\uFFFD\uFFFD\uFFFD");
    // A form that would read back as another character is no form at all.
    bool lossless = true;
    EXPECT_EQ(cp932::encode("\uF86F", &lossless), "?");
    EXPECT_FALSE(lossless);
}

// The table-driven decode against the plain walk over the system's tables
// (ICU's with our corrections, or Windows' own): every byte and every pair
// alone, each pair at the end of a text, after ASCII and before a CR LF
// (where the runs of ASCII are copied whole), and one text of them all.
// The line-break form must be the plain decode with CR LF and lone CRs as LF.
TEST(CodePage932, TableDecodeIsByteForByteThePlainOne) {
    const auto same = [](const std::string& bytes) {
        const std::string plain = cp932::decodeByCharacter(bytes);
        std::string lines;
        for (std::size_t i = 0; i < plain.size(); ++i) {
            lines += plain[i] == '\r' ? '\n' : plain[i];
            if (plain[i] == '\r' && i + 1 < plain.size() && plain[i + 1] == '\n') ++i;
        }
        return cp932::decode(bytes) == plain && cp932::decodeLines(bytes) == lines;
    };
    std::string all;
    int differing = 0;
    for (unsigned lead = 0; lead < 256; ++lead) {
        const std::string one(1, static_cast<char>(lead));
        if (!same(one) || !same("abcdefgh" + one)) ADD_FAILURE() << hexOf(one), ++differing;
        for (unsigned trail = 0; trail < 256; ++trail) {
            const std::string pair = one + static_cast<char>(trail);
            if (!same(pair) || !same("0123456789" + pair + "\r\nabcdefghij" + one)) {
                ADD_FAILURE() << hexOf(pair);
                if (++differing > 10) return;
            }
            all += pair;
        }
    }
    EXPECT_EQ(differing, 0);
    EXPECT_TRUE(same(all));
    EXPECT_TRUE(same(all.substr(1)));
}

}  // namespace
}  // namespace kivo
