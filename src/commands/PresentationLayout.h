#pragma once
// How the presentation view sets its topics: the largest size at which
// they fit the screen, each topic on lines of its own, broken by Japanese
// rules where a topic is longer than one line, its section's heading at
// half the size above it. The window only measures characters in its own
// font and paints the lines where this puts them.
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "wordlist/DrawPorts.h"

namespace kivo {

// The view's font, and the size at which the window measures a character
// for fitPresentation.
inline constexpr const char* kPresentationFontFamily = "ＭＳ Ｐゴシック";
inline constexpr int kPresentationMeasurePixels = 100;
// The view's size once the user leaves full screen: a stream's 16:9 frame.
inline constexpr int kPresentationWindowWidth = 960;
inline constexpr int kPresentationWindowHeight = 540;
// The pointer hides once it has been still this long over the view.
inline constexpr int kPresentationPointerHideMs = 2000;

// Dark text on a light background, or the high-contrast dark theme
// (0xRRGGBB).
struct PresentationColours {
    unsigned text;
    unsigned background;
};
inline constexpr PresentationColours kPresentationLight{0x000000, 0xFFFFFF};
inline constexpr PresentationColours kPresentationDark{0xFFFFFF, 0x000000};
// Red that keeps a contrast of at least 4.5:1 on the theme's background.
inline constexpr unsigned kCountdownWarningLight = 0xC00000;
inline constexpr unsigned kCountdownWarningDark = 0xFF6060;

// The advance of one character (a UTF-8 code point) at
// kPresentationMeasurePixels.
using CharacterWidth = std::function<double(std::string_view character)>;

// The widths a window has measured, kept for the next layout: a draw then
// costs no measuring for the characters seen before.
class MeasuredWidths {
public:
    double width(std::string_view character, const CharacterWidth& measure);

private:
    std::unordered_map<std::string, double> known_;
};

struct PresentationLine {
    std::string text;
    int left;  // the line's box, top-left, in the area's pixels
    int top;
    int pixelSize;  // the font's size in pixels: a heading's is half a topic's
    int height;     // the line's box
};
struct PresentationLayout {
    int pixelSize = 0;  // the topics' font size in pixels
    std::vector<PresentationLine> lines;
    // The countdown's line under them, when one is set.
    std::optional<PresentationLine> countdown;
};

// The share of the area's height the countdown takes at the bottom.
inline constexpr double kCountdownShare = 0.3;

// The topics (blanks around them left out) set in an area of
// width x height pixels: as large as fits, each topic kept on one line
// while that leaves it readable, centred, a heading over its topic. A
// countdown ("4:59") goes large and centred in a band under them, at a size
// that its seconds ticking by never change.
PresentationLayout fitPresentation(const DrawnTopics& topics, const CharacterWidth& width,
                                   int areaWidth, int areaHeight, std::string_view countdown = {});

// The countdown's colours: the theme's text colour, a warning colour for
// the last tenth and zero.
unsigned countdownColour(bool dark, bool warning);

// A topic's entry without the blanks around it.
std::string topicEntry(const DrawnTopic& topic);
// The topics that hold more than blanks, joined by `separator`, each after
// its bracketed heading when `withHeadings`.
std::string joinedTopics(const DrawnTopics& topics, std::string_view separator, bool withHeadings);

// The view's text as one string, a topic a line, each after its heading:
// its accessible name.
std::string presentationText(const DrawnTopics& topics);
// The view's caption, which the task bar and a stream's window list show:
// the topics on one line, "犬 × 猫 - Kivo"; "お題 - Kivo" before a draw.
std::string presentationCaption(const DrawnTopics& topics);

// Whether a line may start with, or end with, this character (禁則).
bool mayStartLine(char32_t c);
bool mayEndLine(char32_t c);

}  // namespace kivo
