#include <gtest/gtest.h>

#include <string>

#include "commands/PresentationLayout.h"
#include "core/Utf8.h"

namespace kivo {
namespace {

// Topics drawn from the whole list, as the boxes show them.
DrawnTopics plain(std::initializer_list<std::string> texts) {
    DrawnTopics topics;
    for (const std::string& text : texts) topics.push_back({text, {}});
    return topics;
}

// A font where a full-width character is as wide as it is tall and an
// ASCII one half that.
double monospaced(std::string_view c) {
    return static_cast<unsigned char>(c[0]) < 0x80 ? kPresentationMeasurePixels / 2.0
                                                   : kPresentationMeasurePixels;
}

std::string joined(const PresentationLayout& layout) {
    std::string all;
    for (const PresentationLine& line : layout.lines) all += line.text;
    return all;
}

int bottom(const PresentationLayout& layout) {
    return layout.lines.back().top + layout.lines.back().height;
}

TEST(PresentationLayout, ShortTopicsFillTheScreenOnALineEach) {
    const PresentationLayout layout =
        fitPresentation(plain({" 犬", " 桜の木の下"}), monospaced, 1920, 1080);
    ASSERT_EQ(layout.lines.size(), 2u);
    EXPECT_EQ(layout.lines[0].text, "犬");
    EXPECT_EQ(layout.lines[1].text, "桜の木の下");
    // As tall as two lines allow, the longer one inside the width, centred.
    EXPECT_GT(layout.pixelSize, 300);
    EXPECT_LE(layout.pixelSize * 5, 1920);
    EXPECT_LT(layout.lines[1].left, layout.lines[0].left);
    EXPECT_GE(layout.lines[0].top, 0);
    EXPECT_LE(bottom(layout), 1080);
}

TEST(PresentationLayout, ALongTopicBreaksWhereJapaneseAllowsIt) {
    // Twenty characters a line at most at any readable size: the breaks
    // must move off the punctuation, small kana and brackets.
    std::string topic;
    for (int i = 0; i < 6; ++i) topic += "「ちょっと待って」と言ったら、みんなが笑った。";
    const PresentationLayout layout = fitPresentation(plain({topic, "猫"}), monospaced, 800, 600);
    ASSERT_GT(layout.lines.size(), 3u);
    EXPECT_EQ(joined(layout), topic + "猫");
    for (const PresentationLine& line : layout.lines) {
        std::size_t i = 0;
        EXPECT_TRUE(mayStartLine(nextUtf8(line.text, i))) << line.text;
        const std::size_t last = line.text.size() - 3;  // every character here takes 3 bytes
        i = last;
        EXPECT_TRUE(mayEndLine(nextUtf8(line.text, i))) << line.text;
        EXPECT_LE(utf16Length(line.text) * layout.pixelSize, 800u) << line.text;
    }
    EXPECT_LE(bottom(layout), 600);
}

TEST(PresentationLayout, AFullLineOf4096BytesFitsWholeAndEnglishKeepsItsWords) {
    const std::string longest(4096 / 2, 'a');
    std::string words;
    while (words.size() < 4000) words += "draw two topics ";
    const PresentationLayout layout =
        fitPresentation(plain({longest, words}), monospaced, 1024, 768);
    EXPECT_GE(layout.pixelSize, 8);
    EXPECT_LE(bottom(layout), 768);
    std::string rest;
    bool inWords = false;
    for (const PresentationLine& line : layout.lines) {
        inWords = inWords || line.text.starts_with("draw");
        if (inWords) {
            EXPECT_TRUE(line.text.ends_with("draw") || line.text.ends_with("two") ||
                        line.text.ends_with("topics"))
                << line.text;
        }
    }
    EXPECT_EQ(presentationText(plain({" 犬", ""})), "犬");
    EXPECT_TRUE(fitPresentation(plain({"", " "}), monospaced, 1024, 768).lines.empty());
}

// A caption on one line: a line break shows as a control character in the
// task bar.
TEST(PresentationLayout, TheCaptionIsTheTopicsOnOneLineAndTheProgramsName) {
    EXPECT_EQ(presentationCaption(plain({" 犬", " 桜の木"})), "犬 × 桜の木 - Kivo");
    EXPECT_EQ(presentationCaption(plain({" 犬", ""})), "犬 - Kivo");
    EXPECT_EQ(presentationCaption(plain({"", " "})), "お題 - Kivo");
}

}  // namespace
}  // namespace kivo

namespace kivo {
namespace {

TEST(PresentationLayout, TheCountdownGoesLargeUnderTheTopicsAtOneSizeWhileItTicks) {
    // A font whose "1" is narrow: the size must not grow as digits change.
    const auto width = [](std::string_view c) { return c == "1" ? 20.0 : monospaced(c); };
    const PresentationLayout at =
        fitPresentation(plain({" 犬", " 猫"}), width, 1920, 1080, "10:00");
    const PresentationLayout later =
        fitPresentation(plain({" 犬", " 猫"}), width, 1920, 1080, "1:11");
    ASSERT_TRUE(at.countdown && later.countdown);
    EXPECT_EQ(at.countdown->pixelSize, later.countdown->pixelSize);
    // Readable from the back of a room: about a fifth of the screen's height.
    EXPECT_GE(at.countdown->pixelSize, 1080 / 5);
    EXPECT_LE(bottom(at), at.countdown->top);
    EXPECT_LE(at.countdown->top + at.countdown->height, 1080);
    EXPECT_FALSE(fitPresentation(plain({" 犬", " 猫"}), width, 1920, 1080).countdown);
}

}  // namespace
}  // namespace kivo
