#pragma once
// The program's random generator: a 32-bit linear congruential generator
// seeded from the time of day. Its exact arithmetic decides which topics a
// seed yields, so it must not change.
#include <cstdint>

namespace kivo {

class RandomGenerator {
public:
    static constexpr std::uint32_t kMultiplier = 134775813u;

    std::uint32_t seed() const { return seed_; }
    void setSeed(std::uint32_t seed) { seed_ = seed; }

    // Advances the seed one step and returns floor(n * seed / 2^32), an index
    // below n (n >= 1).
    std::uint32_t nextIndex(std::uint32_t n);

private:
    std::uint32_t seed_ = 0;
};

// Milliseconds since midnight of the given UTC time of day.
std::uint32_t seedFromTimeOfDay(unsigned hour, unsigned minute, unsigned second,
                                unsigned millisecond);

// The one generator of the process.
RandomGenerator& processRandom();

// Seeds the process generator from the current UTC time of day.
void SeedRandomFromClock();

}  // namespace kivo
