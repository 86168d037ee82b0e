#include "wordlist/Random.h"

#include <chrono>

namespace kivo {

std::uint32_t RandomGenerator::nextIndex(std::uint32_t n) {
    seed_ = seed_ * kMultiplier + 1u;  // wraps modulo 2^32
    return static_cast<std::uint32_t>((static_cast<std::uint64_t>(n) * seed_) >> 32);
}

std::uint32_t seedFromTimeOfDay(unsigned hour, unsigned minute, unsigned second,
                                unsigned millisecond) {
    return ((hour * 60u + minute) * 60u + second) * 1000u + millisecond;
}

RandomGenerator& processRandom() {
    static RandomGenerator generator;
    return generator;
}

void SeedRandomFromClock() {
    // The system clock counts UTC since the epoch; only the time of day
    // matters, the date plays no part.
    using namespace std::chrono;
    const auto sinceEpoch = duration_cast<milliseconds>(system_clock::now().time_since_epoch());
    constexpr long long kMsPerDay = 24LL * 60 * 60 * 1000;
    long long ms = sinceEpoch.count() % kMsPerDay;
    if (ms < 0) ms += kMsPerDay;
    processRandom().setSeed(static_cast<std::uint32_t>(ms));
}

}  // namespace kivo
