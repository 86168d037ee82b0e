#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>
#include <vector>

#include "core/CodePage932.h"
#include "core/Utf8.h"
#include "wordlist/WidthMapping.h"

#if __has_include(<unicode/normalizer2.h>)
#include <unicode/normalizer2.h>
#include <unicode/unistr.h>
#define KIVO_HAVE_ICU_NORMALIZER 1
#endif

namespace kivo {
namespace {

// ---- Helpers ----

std::string utf8(std::u16string_view text) { return utf16ToUtf8(text); }

// Both forms of the interface must give the same text, so every expectation
// below checks both.
std::u16string full(std::u16string_view text) {
    std::u16string viaUtf16 = toFullWidth(text);
    EXPECT_EQ(toFullWidth(utf8(text)), utf8(viaUtf16)) << utf8(text);
    return viaUtf16;
}

std::u16string half(std::u16string_view text) {
    std::u16string viaUtf16 = toHalfWidth(text);
    EXPECT_EQ(toHalfWidth(utf8(text)), utf8(viaUtf16)) << utf8(text);
    return viaUtf16;
}

std::size_t cp932Bytes(std::u16string_view text) { return cp932::encode(utf8(text)).size(); }

// Held means written as bytes that read back as the same text.
bool cp932Holds(std::u16string_view text) {
    bool lossless = false;
    const std::string bytes = cp932::encode(utf8(text), &lossless);
    return lossless && cp932::decode(bytes) == utf8(text);
}

std::u16string str(char16_t c) { return std::u16string(1, c); }

// Every character some row converts, in either direction.
std::set<char16_t> mappedCharacters() {
    std::set<char16_t> mapped;
    for (const WidthPair& p : widthPairs()) mapped.insert({p.half, p.full});
    for (const VoicedRow& v : voicedRows()) mapped.insert(v.full);
    for (const HalfWidthOnlyRow& r : halfWidthOnlyRows()) mapped.insert(r.from);
    return mapped;
}

// ---- Every row, both ways ----

TEST(WidthMapping, TablesHaveTheirRows) {
    EXPECT_EQ(widthPairs().size(), 158u);  // space, 94 ASCII, 63 half-width kana/punctuation
    EXPECT_EQ(voicedRows().size(), 26u);   // 21 voiced, 5 semi-voiced
    EXPECT_EQ(halfWidthOnlyRows().size(), 2u);
}

TEST(WidthMapping, EveryPairConvertsBothWays) {
    for (const WidthPair& p : widthPairs()) {
        EXPECT_EQ(full(str(p.half)), str(p.full)) << utf8(str(p.half));
        EXPECT_EQ(half(str(p.full)), str(p.half)) << utf8(str(p.full));
        // Inside other text, which stays as it is.
        EXPECT_EQ(full(u"漢" + str(p.half) + u"字"), u"漢" + str(p.full) + u"字");
        EXPECT_EQ(half(u"漢" + str(p.full) + u"字"), u"漢" + str(p.half) + u"字");
        // Each side is already what the other direction makes.
        EXPECT_EQ(full(str(p.full)), str(p.full));
        EXPECT_EQ(half(str(p.half)), str(p.half));
    }
}

TEST(WidthMapping, EveryVoicedRowConvertsBothWays) {
    for (const VoicedRow& v : voicedRows()) {
        const std::u16string pair{v.letter, v.mark};
        EXPECT_EQ(full(pair), str(v.full)) << utf8(pair);
        EXPECT_EQ(half(str(v.full)), pair) << utf8(str(v.full));
        EXPECT_EQ(full(u"ー" + pair + u"ー"), u"ー" + str(v.full) + u"ー");
        EXPECT_EQ(full(str(v.full)), str(v.full));
    }
}

TEST(WidthMapping, HalfWidthOnlyRowsConvertOneWay) {
    for (const HalfWidthOnlyRow& r : halfWidthOnlyRows()) {
        EXPECT_EQ(half(str(r.from)), str(r.half));
        EXPECT_EQ(full(str(r.from)), str(r.from));
    }
    // A decomposed ガ from another system becomes the two half-width characters.
    EXPECT_EQ(half(u"カ\u3099"), u"ｶﾞ");
}

TEST(WidthMapping, RowsCoverTheHalfwidthAndFullwidthBlock) {
    const std::set<char16_t> mapped = mappedCharacters();
    for (char16_t c = u'\uFF01'; c <= u'\uFF5E'; ++c) EXPECT_TRUE(mapped.count(c)) << int(c);
    for (char16_t c = u'\uFF61'; c <= u'\uFF9F'; ++c) EXPECT_TRUE(mapped.count(c)) << int(c);
    for (char16_t c = u'!'; c <= u'~'; ++c) EXPECT_TRUE(mapped.count(c)) << int(c);
}

#ifdef KIVO_HAVE_ICU_NORMALIZER
std::u16string normalized(const icu::Normalizer2& form, std::u16string_view text) {
    UErrorCode status = U_ZERO_ERROR;
    const icu::UnicodeString in(false, text.data(), static_cast<int32_t>(text.size()));
    const icu::UnicodeString out = form.normalize(in, status);
    EXPECT_TRUE(U_SUCCESS(status));
    return std::u16string(out.getBuffer(), static_cast<std::size_t>(out.length()));
}

const icu::Normalizer2& nfkc() {
    UErrorCode status = U_ZERO_ERROR;
    return *icu::Normalizer2::getNFKCInstance(status);
}

const icu::Normalizer2& nfd() {
    UErrorCode status = U_ZERO_ERROR;
    return *icu::Normalizer2::getNFDInstance(status);
}

// The rows against Unicode's own compatibility mappings, as a check that
// does not come from the tables themselves.
TEST(WidthMapping, RowsAgreeWithUnicodeCompatibilityForms) {
    for (const WidthPair& p : widthPairs()) {
        if (p.half < 0x80) {
            EXPECT_EQ(normalized(nfkc(), str(p.full)), str(p.half)) << utf8(str(p.full));
        } else if (p.half == u'ﾞ' || p.half == u'ﾟ') {
            // Unicode's ﾞ is the combining mark; the row gives its spacing form.
            EXPECT_EQ(normalized(nfkc(), str(p.full)), u" " + normalized(nfkc(), str(p.half)));
        } else {
            EXPECT_EQ(normalized(nfkc(), str(p.half)), str(p.full)) << utf8(str(p.half));
        }
    }
    for (const VoicedRow& v : voicedRows()) {
        EXPECT_EQ(normalized(nfkc(), std::u16string{v.letter, v.mark}), str(v.full));
    }
    for (const HalfWidthOnlyRow& r : halfWidthOnlyRows()) {
        EXPECT_EQ(normalized(nfkc(), str(r.half)), str(r.from));
    }
}

// Every voiced katakana that code page 932 holds and whose letter has a
// half-width form has its row.
TEST(WidthMapping, VoicedRowsAreComplete) {
    std::set<char16_t> halfLetters;
    for (const WidthPair& p : widthPairs()) {
        if (p.half >= u'ｦ' && p.half <= u'ﾝ') halfLetters.insert(p.full);
    }
    std::set<char16_t> expected;
    for (char16_t k = u'ァ'; k <= u'ヺ'; ++k) {
        const std::u16string parts = normalized(nfd(), str(k));
        if (parts.size() != 2 || !halfLetters.count(parts[0])) continue;
        if (!cp932Holds(str(k))) continue;
        expected.insert(k);
    }
    std::set<char16_t> listed;
    for (const VoicedRow& v : voicedRows()) listed.insert(v.full);
    EXPECT_EQ(listed, expected);
}
#endif

// ---- Code page 932 ----

TEST(WidthMapping, EveryRowIsCodePage932OnBothSides) {
    for (const WidthPair& p : widthPairs()) {
        EXPECT_TRUE(cp932Holds(str(p.full))) << utf8(str(p.full));
        EXPECT_EQ(cp932Bytes(str(p.full)), 2u) << utf8(str(p.full));
        EXPECT_EQ(cp932Bytes(str(p.half)), 1u) << utf8(str(p.half));
    }
    for (const VoicedRow& v : voicedRows()) {
        EXPECT_TRUE(cp932Holds(str(v.full))) << utf8(str(v.full));
        EXPECT_EQ(cp932Bytes(str(v.full)), 2u);
        EXPECT_EQ(cp932Bytes(std::u16string{v.letter, v.mark}), 2u);
    }
    for (const HalfWidthOnlyRow& r : halfWidthOnlyRows()) EXPECT_TRUE(cp932Holds(str(r.half)));
}

TEST(WidthMapping, EdgeCharactersKeepWhatCodePage932Reads) {
    // Byte 0x5C reads as the backslash, whose full-width form is ＼ (0x815F);
    // 0x8160 reads as ～ U+FF5E, the full-width tilde.
    EXPECT_EQ(cp932::decode("\x5C"), "\\");
    EXPECT_EQ(cp932::decode("\x81\x60"), "～");
    EXPECT_EQ(full(u"\\~"), u"＼～");
    EXPECT_EQ(half(u"＼～"), u"\\~");
    // The full-width currency and sign forms have no half-width form code
    // page 932 holds, and the wave dash is not a width form.
    for (char16_t c : u"￠￡￢￣￤￥〜") {
        if (c == 0) continue;
        EXPECT_EQ(half(str(c)), str(c)) << utf8(str(c));
        EXPECT_EQ(full(str(c)), str(c)) << utf8(str(c));
    }
    for (char16_t c : u"¢£¬¯¦¥") {
        if (c == 0) continue;
        EXPECT_FALSE(cp932Holds(str(c))) << utf8(str(c));
        EXPECT_EQ(full(str(c)), str(c)) << utf8(str(c));
    }
}

// ---- What stays as it is ----

TEST(WidthMapping, EveryOtherCharacterIsLeftAlone) {
    const std::set<char16_t> mapped = mappedCharacters();
    for (char32_t cp = 0; cp <= 0xFFFF; ++cp) {
        const auto c = static_cast<char16_t>(cp);
        if (mapped.count(c)) continue;
        const std::u16string text = str(c);
        EXPECT_EQ(toFullWidth(text), text) << int(cp);
        EXPECT_EQ(toHalfWidth(text), text) << int(cp);
        if (cp >= 0xD800 && cp <= 0xDFFF) continue;  // not a character in UTF-8
        EXPECT_EQ(toFullWidth(utf8(text)), utf8(text)) << int(cp);
        EXPECT_EQ(toHalfWidth(utf8(text)), utf8(text)) << int(cp);
    }
}

TEST(WidthMapping, NamedCharactersAreLeftAlone) {
    const std::u16string text =
        u"ひらがな漢字\r\n\t\x01\x7F ヰヱヮヵヶヷヸヹヺ ゝゞヽヾ 😀 ﾡ ￩ ｟｠";
    std::u16string expectedFull = text;
    for (char16_t& c : expectedFull) c = c == u' ' ? u'　' : c;
    EXPECT_EQ(full(text), expectedFull);
    EXPECT_EQ(half(expectedFull), text);
    EXPECT_EQ(half(u"ヰヱヮヵヶヷヸヹヺ"), u"ヰヱヮヵヶヷヸヹヺ");
}

// ---- The worked cases ----

TEST(WidthMapping, WorkedCases) {
    EXPECT_EQ(toFullWidth(std::string("abc")), "ａｂｃ");
    EXPECT_EQ(toHalfWidth(std::string("ＡＢＣ　１２３")), "ABC 123");
    EXPECT_EQ(full(u"ﾃﾞｰﾀ"), u"データ");
    EXPECT_EQ(half(u"データ"), u"ﾃﾞｰﾀ");
    EXPECT_EQ(full(u"ｶﾞ"), u"ガ");
    EXPECT_EQ(full(u"ﾊﾟ"), u"パ");
    EXPECT_EQ(full(u"ｳﾞ"), u"ヴ");
    EXPECT_EQ(half(u"ヴ"), u"ｳﾞ");
    EXPECT_EQ(full(u"｡｢｣､･ｰ"), u"。「」、・ー");
    EXPECT_EQ(half(u"。「」、・ー゛゜"), u"｡｢｣､･ｰﾞﾟ");
    EXPECT_EQ(full(u"ひらがな漢字"), u"ひらがな漢字");
    EXPECT_EQ(half(u"ひらがな漢字"), u"ひらがな漢字");
}

TEST(WidthMapping, MarksThatFollowNoLetterTakingThemStandAlone) {
    EXPECT_EQ(full(u"ｱﾞ"), u"ア゛");
    EXPECT_EQ(full(u"ﾞ"), u"゛");
    EXPECT_EQ(full(u"ﾟabc"), u"゜ａｂｃ");
    EXPECT_EQ(full(u"ｶﾞﾞ"), u"ガ゛");
    EXPECT_EQ(full(u"ｶﾟ"), u"カ゜");
    EXPECT_EQ(full(u"ﾜﾞｦﾞ"), u"ワ゛ヲ゛");  // ヷ and ヺ are not in code page 932
    EXPECT_EQ(full(u"カﾞ"), u"カ゛");       // only a half-width letter takes the mark
    EXPECT_EQ(full(u"かﾞ"), u"か゛");
    EXPECT_EQ(full(u"ｶ\nﾞ"), u"カ\n゛");
    EXPECT_EQ(full(u"ｶ"), u"カ");  // a letter at the very end
}

TEST(WidthMapping, EmptyTextStaysEmpty) {
    EXPECT_EQ(toFullWidth(std::string()), "");
    EXPECT_EQ(toHalfWidth(std::string()), "");
    EXPECT_EQ(toFullWidth(std::u16string()), u"");
    EXPECT_EQ(toHalfWidth(std::u16string()), u"");
}

// The 255-byte result of the old buffer is gone: long pieces convert whole.
TEST(WidthMapping, LongTextConvertsWhole) {
    const std::string ascii128(128, 'a');
    const std::string full128 = toFullWidth(ascii128);
    EXPECT_EQ(cp932::encode(full128).size(), 256u);
    EXPECT_EQ(toHalfWidth(full128), ascii128);

    std::u16string line;
    std::u16string expected;
    while (line.size() < 10000) {
        line += u"ﾃﾞｰﾀ a1\t";
        expected += u"データ　ａ１\t";
    }
    ASSERT_EQ(line.size(), 10000u);
    const std::u16string converted = full(line);
    EXPECT_EQ(converted, expected);
    EXPECT_EQ(half(converted), line);
}

// ---- Round trips ----

// Text made of half-width characters and characters no row touches.
std::u16string randomHalfWidthText(std::mt19937& random, std::size_t length) {
    std::u16string alphabet = u"漢字ひらがなヰヵ\r\n\t";
    for (const WidthPair& p : widthPairs()) alphabet += p.half;
    std::u16string text;
    for (std::size_t i = 0; i < length; ++i) text += alphabet[random() % alphabet.size()];
    return text;
}

// Text made of full-width characters and characters no row touches, without
// a spacing mark right after a katakana that has a voiced form (the one
// exception, tested below).
std::u16string randomFullWidthText(std::mt19937& random, std::size_t length) {
    std::u16string alphabet = u"漢字ひらがなヰヵヷ\r\n\t";
    for (const WidthPair& p : widthPairs()) alphabet += p.full;
    for (const VoicedRow& v : voicedRows()) alphabet += v.full;
    std::set<char16_t> takesMark;
    for (const VoicedRow& v : voicedRows()) takesMark.insert(full(str(v.letter))[0]);
    std::u16string text;
    while (text.size() < length) {
        const char16_t c = alphabet[random() % alphabet.size()];
        const bool mark = c == u'゛' || c == u'゜';
        if (mark && !text.empty() && takesMark.count(text.back())) continue;
        text += c;
    }
    return text;
}

TEST(WidthMapping, FullThenHalfGivesHalfWidthTextBack) {
    std::mt19937 random(6);
    for (int round = 0; round < 2000; ++round) {
        const std::u16string text = randomHalfWidthText(random, random() % 40);
        EXPECT_EQ(half(full(text)), text) << utf8(text);
    }
}

TEST(WidthMapping, HalfThenFullGivesFullWidthTextBack) {
    std::mt19937 random(7);
    for (int round = 0; round < 2000; ++round) {
        const std::u16string text = randomFullWidthText(random, random() % 40);
        EXPECT_EQ(full(half(text)), text) << utf8(text);
    }
}

// Where a round trip cannot give the text back.
TEST(WidthMapping, RoundTripExceptions) {
    // A full-width katakana followed by a spacing mark it can carry: both
    // become the half-width letter and mark, which full-width joins.
    EXPECT_EQ(full(half(u"カ゛")), u"ガ");
    EXPECT_EQ(full(half(u"ハ゜")), u"パ");
    EXPECT_EQ(full(half(u"ウ゛")), u"ヴ");
    // The combining marks have no way back: half-width makes them ﾞ ﾟ.
    EXPECT_EQ(full(half(u"\u3099")), u"゛");
    EXPECT_EQ(full(half(u"カ\u309A")), u"カ゜");
    EXPECT_EQ(full(half(u"ハ\u309A")), u"パ");
    // Full then half leaves the combining marks, which half-width then turns
    // into ﾞ ﾟ.
    EXPECT_EQ(half(full(u"ｶ\u3099")), u"ｶﾞ");
}

// ---- Length in code page 932 ----

std::u16string randomMixedText(std::mt19937& random, std::size_t length) {
    std::u16string alphabet = u"漢字ひらがなヰヵヷ〜￥￠😀\r\n\t\x01\u3099\u309A\uFFA0";
    for (const WidthPair& p : widthPairs()) alphabet += {p.half, p.full};
    for (const VoicedRow& v : voicedRows()) alphabet += {v.letter, v.mark, v.full};
    std::u16string text;
    for (std::size_t i = 0; i < length; ++i) text += alphabet[random() % alphabet.size()];
    return text;
}

TEST(WidthMapping, HalfWidthNeverLengthensAndFullWidthAtMostDoubles) {
    std::mt19937 random(932);
    for (int round = 0; round < 3000; ++round) {
        const std::u16string text = randomMixedText(random, random() % 60);
        const std::size_t bytes = cp932Bytes(text);
        EXPECT_LE(cp932Bytes(half(text)), bytes) << utf8(text);
        EXPECT_LE(cp932Bytes(full(text)), 2 * bytes) << utf8(text);
    }
}

// ---- Text that is not well formed ----

TEST(WidthMapping, InvalidUtf8BytesPassThrough) {
    const std::string broken = std::string("\xFF") + "a" + "\xE3\x80" + "b" + "\xEF\xBD\xC3";
    EXPECT_EQ(toFullWidth(broken), std::string("\xFF") + "ａ" + "\xE3\x80" + "ｂ" + "\xEF\xBD\xC3");
    EXPECT_EQ(toHalfWidth("\x80ＡＢ\xE3"), std::string("\x80") + "AB" + "\xE3");
    // A three-byte form cut short before a mark does not join with it.
    EXPECT_EQ(toFullWidth(std::string("\xEF\xBD\xB6\xEF\xBE")), "カ\xEF\xBE");
}

TEST(WidthMapping, LoneSurrogatesPassThrough) {
    const std::u16string text{u'ｶ', 0xD800, u'ﾞ', 0xDC00, u'a'};
    EXPECT_EQ(toFullWidth(text), (std::u16string{u'カ', 0xD800, u'゛', 0xDC00, u'ａ'}));
    EXPECT_EQ(toHalfWidth(std::u16string{u'ガ', 0xDFFF}), (std::u16string{u'ｶ', u'ﾞ', 0xDFFF}));
}

}  // namespace
}  // namespace kivo
