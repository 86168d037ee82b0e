#pragma once
// Drawing different entries of the word list as the topics: two, or three,
// from the whole list or one from each of its sections.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/Headings.h"
#include "wordlist/DrawPorts.h"
#include "wordlist/Random.h"

namespace kivo {

// Read access to the word list: its count and line i (UTF-8).
struct WordListSource {
    std::function<std::uint32_t()> count;
    std::function<std::string(std::uint32_t)> line;
};

// How many topics a draw gives, and where from.
inline constexpr std::size_t kFewestTopics = 2;
inline constexpr std::size_t kMostTopics = 3;

enum class DrawOutcome {
    Drawn,           // every topic set
    NoEntries,       // the list is empty
    OneEntry,        // one entry is not enough for two topics
    TooFewEntries,   // fewer entries than three topics need
    EmptyEntry,      // a drawn entry has no text
    MissingSection,  // fewer sections than topics
    EmptySection,    // a section without an entry to draw
};

struct DrawResult {
    DrawOutcome outcome = DrawOutcome::NoEntries;
    std::vector<std::uint32_t> positions;  // the drawn lines, in topic order
    DrawnTopics topics;                    // when drawn
    // What a stop by section names: the heading of the empty section, or
    // the number (1 for the first) of the section missing.
    std::string section;
    std::size_t missingSection = 0;
};

// Draws `count` (2 or 3) different positions of the whole list: the first
// and second as ever (the second drawn again while it equals the first),
// the third after them from the same generator, drawn again while it
// equals either. Reads the entries only after every position is drawn, and
// leaves the seed untouched when the list is too short.
DrawResult drawTopics(const WordListSource& list, RandomGenerator& random,
                      std::size_t count = kFewestTopics);

// A part of the list under a heading line: the positions of its entries,
// blank lines left out.
struct ListSection {
    std::string heading;  // without its brackets
    std::vector<std::uint32_t> entries;
};

// The heading a line holds when it is only a heading in full-width
// brackets ("【人物】", blanks around allowed); empty when it is not one.
std::string_view headingOf(std::string_view line);
// Whether a line holds only blanks (spaces, tabs, ideographic spaces).
bool isBlankLine(std::string_view line);
// The list read in sections: each heading line starts one; lines before
// the first heading belong to none.
std::vector<ListSection> readSections(const WordListSource& list);
// Entries to draw from across the sections.
std::size_t drawableEntries(const std::vector<ListSection>& sections);

// Checks that the first `count` sections are there and hold an entry;
// Drawn when they do, else the stop naming the section.
DrawResult checkSections(const std::vector<ListSection>& sections, std::size_t count);
// One entry from each of the first `count` sections, in order, one step of
// the generator each; nothing is drawn when checkSections stops.
DrawResult drawFromSections(const std::vector<ListSection>& sections, const WordListSource& list,
                            RandomGenerator& random, std::size_t count);

// What the user is told when a draw stops (UTF-8); empty for Drawn.
std::string drawMessage(const DrawResult& result);
std::string drawMessage(DrawOutcome outcome);

// The message of the reseed command.
inline constexpr const char* kReseedMessage = "ランダムを再生成しました";

}  // namespace kivo
