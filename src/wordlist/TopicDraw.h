#pragma once
// Drawing two different entries of the word list as the two topics.
#include <cstdint>
#include <functional>
#include <string>

#include "wordlist/Random.h"

namespace kivo {

// Read access to the word list: its count and line i (UTF-8).
struct WordListSource {
    std::function<std::uint32_t()> count;
    std::function<std::string(std::uint32_t)> line;
};

enum class DrawOutcome {
    Drawn,       // both topics set
    NoEntries,   // the list is empty
    OneEntry,    // one entry is not enough for two topics
    EmptyEntry,  // a drawn entry has no text
};

struct DrawResult {
    DrawOutcome outcome = DrawOutcome::NoEntries;
    std::uint32_t first = 0;
    std::uint32_t second = 0;
    std::string topic1;  // " " and the entry's text, when drawn
    std::string topic2;
};

// Draws two different positions; reads the two entries only after both are
// drawn. Leaves the seed untouched when the list is too short.
DrawResult drawTopics(const WordListSource& list, RandomGenerator& random);

// What the user is told when a draw stops (UTF-8); empty for Drawn.
std::string drawMessage(DrawOutcome outcome);

// The message of the reseed command.
inline constexpr const char* kReseedMessage = "ランダムを再生成しました";

}  // namespace kivo
