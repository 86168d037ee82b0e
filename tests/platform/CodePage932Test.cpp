#include <gtest/gtest.h>

#include "CodePage932.h"

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

}  // namespace
}  // namespace kivo
