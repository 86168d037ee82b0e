#include <gtest/gtest.h>

#include <string>

#include "core/CodePages.h"

namespace kivo {
namespace {

TEST(CodePages, DecodesTheCodePagesRtfFontsName) {
    struct Case {
        int codePage;
        std::string bytes;
        std::string text;
    };
    const Case cases[] = {
        {932, "\x82\xa0\x8c\xea \x5c \x81\x60 \xb6\xde", "あ語 \\ ～ ｶﾞ"},  // Microsoft's table
        {1252, "caf\xe9 \x80", "café €"},
        {1250, "\xb9", "ą"},
        {1251, "\xc0", "А"},
        {1253, "\xe1", "α"},
        {1254, "\xfe", "ş"},
        {1255, "\xe0", "א"},
        {1256, "\xc7", "ا"},
        {1257, "\xe0", "ą"},
        {1258, "\xe0", "à"},
        {874, "\xa1", "ก"},
        {936, "\xc4\xe3", "你"},
        {949, "\xb0\xa1", "가"},
        {950, "\xa4\xa4", "中"},
        {10000, "\x8e", "é"},  // \mac
        {437, "\x82", "é"},    // \pc
        {850, "\x82", "é"},    // \pca
        {65001, "\xf0\x9f\x98\x80", "😀"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(decodeCodePage(c.codePage, c.bytes), c.text) << "code page " << c.codePage;
        EXPECT_TRUE(isCodePageKnown(c.codePage)) << c.codePage;
    }
}

TEST(CodePages, MarksWhatItCannotDecode) {
    // A cut or broken double-byte character, one replacement each.
    EXPECT_EQ(decodeCodePage(932, "a\x82"), "a\uFFFD");
    EXPECT_EQ(decodeCodePage(932, "\x82 b"), "\uFFFD b");
    EXPECT_EQ(decodeCodePage(65001,
                             "\xff"
                             "a"),
              "\uFFFD"
              "a");
    // Code pages this build lacks (nonsense numbers; Johab where ICU is the
    // table): ASCII stays.
#ifdef _WIN32
    // Windows has a Johab table of its own.
    EXPECT_TRUE(isCodePageKnown(1361));
    EXPECT_EQ(decodeCodePage(1361, "\x88\x61"), "가");
    const int unknown[] = {0, -1, 12345};
#else
    const int unknown[] = {1361, 0, -1, 12345};
#endif
    for (const int codePage : unknown) {
        EXPECT_FALSE(isCodePageKnown(codePage)) << codePage;
        EXPECT_EQ(decodeCodePage(codePage, "ab\x82\xa0"), "ab\uFFFD\uFFFD") << codePage;
    }
    EXPECT_EQ(decodeCodePage(932, ""), "");
}

TEST(CodePages, TellsLeadBytesOfDoubleByteCodePages) {
    EXPECT_TRUE(isLeadByte(932, 0x82));
    EXPECT_TRUE(isLeadByte(932, 0xE0));
    EXPECT_FALSE(isLeadByte(932, 0xB6));  // half-width katakana stand alone
    EXPECT_FALSE(isLeadByte(932, 0x5C));
    EXPECT_TRUE(isLeadByte(949, 0xB0));
    EXPECT_FALSE(isLeadByte(1252, 0x82));
    EXPECT_FALSE(isLeadByte(12345, 0x82));
}

TEST(CodePages, LongInputsDecodeWhole) {
    // Longer than one conversion slice, with four-byte characters whose
    // surrogate pairs straddle the slice ends.
    std::string utf8;
    for (int i = 0; i < 3000; ++i) utf8 += "a😀";
    EXPECT_EQ(decodeCodePage(65001, utf8), utf8);
    std::string sjis;
    std::string expected;
    for (int i = 0; i < 5000; ++i) {
        sjis += "\x82\xa0x";
        expected += "あx";
    }
    EXPECT_EQ(decodeCodePage(932, sjis), expected);
}

TEST(CodePages, ManyCodePagesInTurnStayCorrect) {
    // More code pages than the converter cache holds, twice over.
    for (int round = 0; round < 2; ++round) {
        for (int codePage = 1250; codePage <= 1258; ++codePage) {
            EXPECT_EQ(decodeCodePage(codePage, "A"), "A");
        }
        for (const int codePage : {437, 850, 852, 866, 874, 932, 936, 949, 950, 10000}) {
            EXPECT_EQ(decodeCodePage(codePage, "A"), "A");
        }
        EXPECT_EQ(decodeCodePage(932, "\x82\xa0"), "あ");
    }
}

}  // namespace
}  // namespace kivo
