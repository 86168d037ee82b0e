#include "commands/PresentationLayout.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <unordered_map>
#include <utility>

#include "core/Utf8.h"
#include "wordlist/TopicDraw.h"

namespace kivo {
namespace {

// From one line's top to the next's, and the extra space between the two
// topics, in font sizes.
constexpr double kLineSpacing = 1.25;
constexpr double kTopicGap = 0.5;
// The part of the area left free at each edge.
constexpr double kMargin = 0.05;
// At the real size hinting may widen a text a little over its measure.
constexpr double kSlack = 0.98;
constexpr int kSmallestPixels = 8;
// A topic kept on one line must stay at least this part of the area's
// height tall; one that would shrink below it is broken into lines instead.
constexpr int kReadableFraction = 12;

// Characters no line starts with: closing brackets and punctuation, the
// small kana, the prolonged sound mark, iteration marks, dashes and dots.
constexpr std::u32string_view kNoLineStart =
    U"、。，．,.・：；？！?!:;)）]］}｝〕〉》」』】〙〗〟’”»｝"
    U"ぁぃぅぇぉっゃゅょゎゕゖァィゥェォッャュョヮヵヶㇰㇱㇲㇳㇴㇵㇶㇷㇸㇹㇺㇻㇼㇽㇾㇿ"
    U"ーゝゞヽヾ々〻‐゠–〜～…‥％%"
    U"｡｣､･ｰｧｨｩｪｫｬｭｮｯﾞﾟ";
// Characters no line ends with: opening brackets.
constexpr std::u32string_view kNoLineEnd = U"(（[［{｛〔〈《「『【〘〖〝‘“«｢";

struct Glyph {
    char32_t c;
    std::size_t begin, end;  // its bytes in the topic
    double width;            // at kPresentationMeasurePixels
};
struct Glyphs {
    std::string_view text;
    std::vector<Glyph> glyphs;
    double width = 0;
};
struct Topic {
    Glyphs text;
    Glyphs heading;  // empty when drawn from the whole list
    std::string headingText;
};
// A line of a topic: glyphs [begin, end).
using Span = std::pair<std::size_t, std::size_t>;

bool isBlank(char32_t c) { return c == U' ' || c == U'\t' || c == U'\u3000'; }

// Latin words stay whole where they can.
bool isWordCharacter(char32_t c) {
    return (c >= U'0' && c <= U'9') || (c >= U'A' && c <= U'Z') || (c >= U'a' && c <= U'z') ||
           (c >= 0xC0 && c <= 0x24F && c != 0xD7 && c != 0xF7) || c == U'\'';
}

// A heading is set at this part of its topic's size.
constexpr double kHeadingScale = 0.5;

int headingPixelsAt(int pixels) {
    return std::max(kSmallestPixels, static_cast<int>(pixels * kHeadingScale));
}

// The text's glyphs and widths, without the blanks around it.
Glyphs measureText(std::string_view text, std::unordered_map<char32_t, double>& known,
                   const CharacterWidth& width) {
    Glyphs out;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t begin = i;
        const char32_t c = nextUtf8(text, i);
        // Line breaks inside a topic would only come from a pasted box.
        if (c == U'\r' || c == U'\n') continue;
        auto found = known.find(c);
        if (found == known.end()) {
            found = known.emplace(c, std::max(0.0, width(text.substr(begin, i - begin)))).first;
        }
        out.glyphs.push_back({c, begin, i, found->second});
    }
    // Blanks around the topic (the draw puts one before it) show nothing.
    while (!out.glyphs.empty() && isBlank(out.glyphs.back().c)) out.glyphs.pop_back();
    const auto first = std::find_if(out.glyphs.begin(), out.glyphs.end(),
                                    [](const Glyph& g) { return !isBlank(g.c); });
    out.glyphs.erase(out.glyphs.begin(), first);
    out.text = text;
    for (const Glyph& g : out.glyphs) out.width += g.width;
    return out;
}

std::vector<Topic> measure(const DrawnTopics& drawn, const CharacterWidth& width) {
    std::unordered_map<char32_t, double> known;
    std::vector<Topic> topics;
    topics.reserve(drawn.size());  // the glyphs keep views into headingText
    for (const DrawnTopic& topic : drawn) {
        Glyphs text = measureText(topic.text, known, width);
        if (text.glyphs.empty()) continue;
        Topic& added = topics.emplace_back();
        added.text = std::move(text);
        if (!topic.heading.empty()) {
            added.headingText = bracketedHeading(topic.heading);
            added.heading = measureText(added.headingText, known, width);
        }
    }
    return topics;
}

bool mayBreakBefore(const std::vector<Glyph>& glyphs, std::size_t at) {
    const char32_t before = glyphs[at - 1].c, after = glyphs[at].c;
    if (isBlank(before) || isBlank(after)) return true;
    return mayStartLine(after) && mayEndLine(before) &&
           !(isWordCharacter(before) && isWordCharacter(after));
}

// Greedy lines no wider than maxWidth, each break moved back to where the
// rules allow one; a run with no such place breaks where it fills the line.
std::vector<Span> breakLines(const std::vector<Glyph>& glyphs, double maxWidth) {
    std::vector<Span> lines;
    const std::size_t n = glyphs.size();
    std::size_t start = 0;
    while (start < n) {
        while (start < n && !lines.empty() && isBlank(glyphs[start].c)) ++start;
        if (start == n) break;
        double used = 0;
        std::size_t end = start;
        while (end < n && (end == start || used + glyphs[end].width <= maxWidth)) {
            used += glyphs[end++].width;
        }
        if (end < n) {
            std::size_t at = end;
            while (at > start + 1 && !mayBreakBefore(glyphs, at)) --at;
            if (mayBreakBefore(glyphs, at)) end = at;
        }
        std::size_t last = end;
        while (last > start + 1 && isBlank(glyphs[last - 1].c)) --last;
        lines.emplace_back(start, last);
        start = end;
    }
    return lines;
}

int lineHeightAt(int pixels) { return static_cast<int>(std::lround(pixels * kLineSpacing)); }
int topicGapAt(int pixels) { return static_cast<int>(std::lround(pixels * kTopicGap)); }

struct Setting {
    std::vector<std::vector<Span>> lines;     // per topic
    std::vector<std::vector<Span>> headings;  // per topic
    int height = 0;
};

Setting setAt(const std::vector<Topic>& topics, int pixels, double innerWidth) {
    Setting setting;
    const double maxWidth = innerWidth * kSlack * kPresentationMeasurePixels / pixels;
    const int headingPixels = headingPixelsAt(pixels);
    for (const Topic& topic : topics) {
        setting.headings.push_back(
            breakLines(topic.heading.glyphs, maxWidth * pixels / headingPixels));
        setting.height +=
            static_cast<int>(setting.headings.back().size()) * lineHeightAt(headingPixels);
        setting.lines.push_back(breakLines(topic.text.glyphs, maxWidth));
        setting.height += static_cast<int>(setting.lines.back().size()) * lineHeightAt(pixels);
    }
    setting.height += static_cast<int>(topics.size() - 1) * topicGapAt(pixels);
    return setting;
}

// Puts the lines of one text, each centred, from `top` on.
void placeLines(const Glyphs& text, const std::vector<Span>& lines, int pixels, int areaWidth,
                int& top, PresentationLayout& layout) {
    for (const auto& [begin, end] : lines) {
        double lineWidth = 0;
        for (std::size_t g = begin; g < end; ++g) lineWidth += text.glyphs[g].width;
        lineWidth = lineWidth * pixels / kPresentationMeasurePixels;
        const std::size_t from = text.glyphs[begin].begin, to = text.glyphs[end - 1].end;
        layout.lines.push_back({std::string(text.text.substr(from, to - from)),
                                std::max(0, static_cast<int>((areaWidth - lineWidth) / 2)), top,
                                pixels, lineHeightAt(pixels)});
        top += lineHeightAt(pixels);
    }
}

}  // namespace

double MeasuredWidths::width(std::string_view character, const CharacterWidth& measure) {
    const std::string key(character);
    const auto found = known_.find(key);
    if (found != known_.end()) return found->second;
    return known_.emplace(key, measure(character)).first->second;
}

bool mayStartLine(char32_t c) { return kNoLineStart.find(c) == std::u32string_view::npos; }
bool mayEndLine(char32_t c) { return kNoLineEnd.find(c) == std::u32string_view::npos; }

unsigned countdownColour(bool dark, bool warning) {
    if (warning) return dark ? kCountdownWarningDark : kCountdownWarningLight;
    return dark ? kPresentationDark.text : kPresentationLight.text;
}

namespace {

// The countdown in the band [top, top + height): digits measured as the
// widest digit, so the size holds while the seconds go by.
PresentationLine fitCountdown(std::string_view text, const CharacterWidth& width, int areaWidth,
                              int top, int height) {
    double widest = 0;
    for (char digit = '0'; digit <= '9'; ++digit)
        widest = std::max(widest, width(std::string_view(&digit, 1)));
    double textWidth = 0;
    for (const char c : text) textWidth += c >= '0' && c <= '9' ? widest : width({&c, 1});
    const double innerWidth = areaWidth * (1 - 2 * kMargin);
    int pixels = static_cast<int>(height / kLineSpacing);
    if (textWidth > 0)
        pixels = std::min(
            pixels, static_cast<int>(innerWidth * kSlack * kPresentationMeasurePixels / textWidth));
    pixels = std::max(kSmallestPixels, pixels);
    const double lineWidth = textWidth * pixels / kPresentationMeasurePixels;
    const int lineHeight = lineHeightAt(pixels);
    return {std::string(text), std::max(0, static_cast<int>((areaWidth - lineWidth) / 2)),
            top + (height - lineHeight) / 2, pixels, lineHeight};
}

}  // namespace

PresentationLayout fitPresentation(const DrawnTopics& texts, const CharacterWidth& width,
                                   int areaWidth, int areaHeight, std::string_view countdown) {
    if (!countdown.empty()) {
        // The topics in the area above the band, the time in the band.
        const int band = static_cast<int>(areaHeight * kCountdownShare);
        const int margin = static_cast<int>(areaHeight * kMargin);
        PresentationLayout layout = fitPresentation(texts, width, areaWidth, areaHeight - band);
        layout.countdown =
            fitCountdown(countdown, width, areaWidth, areaHeight - band, band - margin);
        return layout;
    }
    PresentationLayout layout;
    const std::vector<Topic> topics = measure(texts, width);
    const double innerWidth = areaWidth * (1 - 2 * kMargin);
    const int innerHeight = static_cast<int>(areaHeight * (1 - 2 * kMargin));
    if (topics.empty() || innerWidth < 1 || innerHeight < 1) return layout;

    const auto count = static_cast<double>(topics.size());
    double headings = 0;
    double widest = 0;
    for (const Topic& topic : topics) {
        if (!topic.heading.glyphs.empty()) ++headings;
        widest = std::max({widest, topic.text.width, topic.heading.width * kHeadingScale});
    }
    const int byHeight =
        std::max(kSmallestPixels,
                 static_cast<int>(innerHeight / ((count + headings * kHeadingScale) * kLineSpacing +
                                                 (count - 1) * kTopicGap)));
    const int byWidth =
        widest > 0 ? static_cast<int>(innerWidth * kSlack * kPresentationMeasurePixels / widest)
                   : byHeight;

    // Each topic on one line while that keeps it readable; otherwise the
    // largest size at which the broken lines fit. Broken lines never take
    // less room than the text laid end to end, so that size is at most the
    // one at which the text would fill the area; it is mostly just below,
    // and the height the lines take grows with the size, so a few steps
    // down and then a halving search find it.
    int pixels = std::min(byWidth, byHeight);
    Setting setting;
    if (pixels < std::max(kSmallestPixels, areaHeight / kReadableFraction)) {
        double total = 0;
        for (const Topic& topic : topics) {
            total += topic.text.width + topic.heading.width * kHeadingScale * kHeadingScale;
        }
        const double filling = std::sqrt(innerHeight * innerWidth * kSlack *
                                         kPresentationMeasurePixels / (kLineSpacing * total));
        int high = std::clamp(static_cast<int>(filling), kSmallestPixels, byHeight);
        bool found = false;
        for (int step = 0; step < 3 && !found && high >= kSmallestPixels; ++step) {
            setting = setAt(topics, high, innerWidth);
            found = setting.height <= innerHeight;
            if (!found) --high;
        }
        pixels = found ? high : kSmallestPixels;
        for (int low = kSmallestPixels; !found && low <= high;) {
            const int middle = low + (high - low) / 2;
            if (setAt(topics, middle, innerWidth).height <= innerHeight) {
                pixels = middle;
                low = middle + 1;
            } else {
                high = middle - 1;
            }
        }
        if (!found) setting = setAt(topics, pixels, innerWidth);
    } else {
        setting = setAt(topics, pixels, innerWidth);
    }

    layout.pixelSize = pixels;
    int top = (areaHeight - setting.height) / 2;
    for (std::size_t t = 0; t < topics.size(); ++t) {
        placeLines(topics[t].heading, setting.headings[t], headingPixelsAt(pixels), areaWidth, top,
                   layout);
        placeLines(topics[t].text, setting.lines[t], pixels, areaWidth, top, layout);
        top += topicGapAt(pixels);
    }
    return layout;
}

std::string topicEntry(const DrawnTopic& topic) {
    const std::size_t first = topic.text.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    const std::size_t last = topic.text.find_last_not_of(" \t");
    return topic.text.substr(first, last - first + 1);
}

std::string joinedTopics(const DrawnTopics& topics, std::string_view separator, bool withHeadings) {
    std::string text;
    for (const DrawnTopic& topic : topics) {
        const std::string entry = topicEntry(topic);
        if (entry.empty()) continue;
        if (!text.empty()) text += separator;
        if (withHeadings && !topic.heading.empty()) text += bracketedHeading(topic.heading);
        text += entry;
    }
    return text;
}

std::string presentationText(const DrawnTopics& topics) { return joinedTopics(topics, "\n", true); }

std::string presentationCaption(const DrawnTopics& topics) {
    const std::string shown = joinedTopics(topics, " × ", false);
    return (shown.empty() ? std::string("お題") : shown) + " - Kivo";
}

}  // namespace kivo
