#pragma once
// The positions of a list not yet drawn since the pool last started, taken
// without replacement. A sparse swap-remove permutation: slot k holds
// position k unless a draw has moved another there, and only moved slots
// are stored. Starting again and each draw cost the same for a list of ten
// lines or of a million.
#include <cstdint>
#include <unordered_map>

#include "wordlist/Random.h"

namespace kivo {

class NoRepeatPool {
public:
    // Starts again over positions 0 .. size - 1.
    void restart(std::uint32_t size);
    // The list length the pool was last started for.
    std::uint32_t size() const { return size_; }
    std::uint32_t remaining() const { return remaining_; }
    // Takes one of the remaining positions, chosen by `random` among them
    // (one step of the generator). remaining() must be at least 1.
    std::uint32_t take(RandomGenerator& random);

private:
    std::uint32_t slot(std::uint32_t k) const;

    std::unordered_map<std::uint32_t, std::uint32_t> moved_;
    std::uint32_t size_ = 0;
    std::uint32_t remaining_ = 0;
};

}  // namespace kivo
