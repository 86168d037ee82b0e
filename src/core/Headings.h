#pragma once
// A section's heading line in a word list, "【人物】": the draw reads it, a
// spreadsheet read by columns writes it.
#include <string>
#include <string_view>

namespace kivo {

inline constexpr std::string_view kHeadingOpen = "【";
inline constexpr std::string_view kHeadingClose = "】";

// "人物" as its line shows it, "【人物】".
inline std::string bracketedHeading(std::string_view heading) {
    std::string line;
    line.reserve(kHeadingOpen.size() + heading.size() + kHeadingClose.size());
    return line.append(kHeadingOpen).append(heading).append(kHeadingClose);
}

}  // namespace kivo
