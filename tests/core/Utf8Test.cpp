#include <gtest/gtest.h>

#include <random>
#include <string>

#include "core/Utf8.h"

namespace kivo {
namespace {

// The block check against the line-by-line one, which reads a byte at a
// time: every one- and two-byte sequence and the three- and four-byte ones
// at each of sixteen places in a block, between well-formed text; then
// random mixtures of the shapes that go wrong.
bool lineByLine(std::string_view text, std::size_t lines) {
    std::size_t found = 0;
    for (std::size_t lf; (lf = text.find('\n')) != std::string_view::npos; ++found) {
        if (!isLineText(text.substr(0, lf))) return false;
        text.remove_prefix(lf + 1);
    }
    return isLineText(text) && found == lines;
}

void expectSame(const std::string& text) {
    std::size_t lines = 0;
    for (const char c : text) lines += c == '\n';
    ASSERT_EQ(isLinesText(text, lines), lineByLine(text, lines)) << testing::PrintToString(text);
    if (lines > 0) {
        ASSERT_FALSE(isLinesText(text, lines - 1));
    }
}

TEST(Utf8, ABlockOfLinesIsJudgedAsLineByLine) {
    const std::string before = "猫\nab\xE3\x81\x82";
    for (std::size_t place = 0; place < 16; ++place) {
        const std::string head = (before + std::string(16, 'x')).substr(0, place);
        for (std::uint32_t v = 0; v < 0x10000; ++v) {
            for (const std::size_t length : {1, 2}) {
                if (length == 1 && v > 0xFF) continue;
                std::string text = head;
                for (std::size_t k = 0; k < length; ++k)
                    text.push_back(static_cast<char>(v >> (8 * k)));
                expectSame(text + "い");
                // The same cut by the end of the text.
                expectSame(text);
            }
            // Three and four bytes: each lead with each second byte, then
            // continuations, ASCII or the text's end.
            const auto lead = static_cast<char>(v >> 8), second = static_cast<char>(v);
            if (static_cast<unsigned char>(lead) < 0xE0) continue;
            for (const char* rest : {"\x80", "\xBF\x80", "\x80\x80\x80", "a", ""}) {
                expectSame(head + lead + second + rest + "\n");
            }
        }
    }
    std::mt19937 random(7);
    const std::string pieces[] = {"あ",       "\n",
                                  "\r",       "😀",
                                  "é",        "a",
                                  "\x80",     "\xE3\x81",
                                  "\xF0\x9F", "\xED\xA0\x80",
                                  "\xC0\xAF", "\xF4\x90\x80\x80"};
    for (int round = 0; round < 200000; ++round) {
        std::string text;
        for (auto n = random() % 40; n > 0; --n) text += pieces[random() % std::size(pieces)];
        expectSame(text);
    }
}

TEST(Utf8, Utf16LengthCountsEveryCharacterAtEveryLength) {
    // Counted sixteen bytes at a time and summed every 255 blocks, the rest
    // eight bytes or one at a time: every length up to past two sums.
    std::mt19937 random(11);
    const std::string pieces[] = {"a", "é", "あ", "😀"};
    std::string text;
    std::size_t units = 0;
    while (text.size() < 9000) {
        const std::string& piece = pieces[random() % std::size(pieces)];
        text += piece;
        units += piece.size() == 4 ? 2 : 1;
        ASSERT_EQ(utf16Length(text), units) << text.size();
    }
    // Lanes that count at every block, over many sums.
    std::string faces;
    for (int n = 0; n < 5000; ++n) faces += "😀";
    EXPECT_EQ(utf16Length(faces), 10000u);
}

}  // namespace
}  // namespace kivo
