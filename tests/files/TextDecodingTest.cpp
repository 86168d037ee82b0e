#include <gtest/gtest.h>

#include "files/TextDecoding.h"

namespace kivo {
namespace {

TEST(TextDecoding, ByteOrderMarksAndValidUtf8AreUnicode) {
    EXPECT_EQ(decodePlainText("\xEF\xBB\xBF"
                              "犬\n😀"),
              "犬\n😀");
    EXPECT_EQ(decodePlainText(std::string("\xFF\xFE\xAC\x72\x0A\x00", 6)), "犬\n");
    EXPECT_EQ(decodePlainText(std::string("\xFE\xFF\x72\xAC\xD8\x3D\xDE\x00", 8)), "犬😀");
    EXPECT_EQ(detectTextEncoding("猫と犬"), TextEncoding::Utf8);
    EXPECT_EQ(decodePlainText("猫と犬"), "猫と犬");
}

TEST(TextDecoding, EverythingElseIsCodePage932) {
    // 犬 in code page 932 is 0x8C 0xA2, which is not valid UTF-8.
    EXPECT_EQ(detectTextEncoding("\x8C\xA2"), TextEncoding::CodePage932);
    EXPECT_EQ(decodePlainText("\x8C\xA2\r\n\xB6\xDE"), "犬\r\nｶﾞ");
    EXPECT_EQ(detectTextEncoding("plain ascii"), TextEncoding::CodePage932);
    EXPECT_EQ(decodePlainText(""), "");
}

TEST(TextDecoding, TwoByteSequencesAloneAreCodePage932) {
    // ﾅｼ and ﾄｳ in code page 932 are valid UTF-8 pairs by accident.
    EXPECT_EQ(decodePlainText("\xC5\xBC\r\n\xC4\xB3\r\n"), "ﾅｼ\r\nﾄｳ\r\n");
    // The whole file decides, however long it is.
    std::string pairs;
    for (int i = 0; i < 100000; ++i) pairs += "\xC5\xBC\r\n";
    EXPECT_EQ(detectTextEncoding(pairs), TextEncoding::CodePage932);
    EXPECT_EQ(detectTextEncoding(pairs + "猫"), TextEncoding::Utf8);
    EXPECT_EQ(detectTextEncoding("猫" + pairs + "\x94\x4C"), TextEncoding::CodePage932);
}

TEST(TextDecoding, BrokenUnicodeBecomesReplacementCharacters) {
    EXPECT_EQ(decodePlainText("\xEF\xBB\xBF"
                              "a\xC0\xAF"
                              "b"),
              "a\xEF\xBF\xBD\xEF\xBF\xBD"
              "b");
    EXPECT_EQ(decodePlainText(std::string("\xFF\xFE\x41\x00\x00\xD8\x42", 7)),
              "A\xEF\xBF\xBD\xEF\xBF\xBD");
    bool longSequence = true;
    EXPECT_FALSE(isValidUtf8("\xED\xA0\x80", &longSequence));  // an encoded surrogate
    EXPECT_FALSE(isValidUtf8("\xE0\x80\x80"));                 // overlong
    EXPECT_TRUE(isValidUtf8("abc", &longSequence));
    EXPECT_FALSE(longSequence);
}

TEST(TextDecoding, EveryKindOfLineBreakEndsALine) {
    EXPECT_EQ(normalizeLineBreaks("a\r\nb\rc\nd\r\r\ne"), "a\nb\nc\nd\n\ne");
    EXPECT_EQ(normalizeLineBreaks("\r"), "\n");
}

}  // namespace
}  // namespace kivo
