#include <gtest/gtest.h>

#include "wordlist/Random.h"

namespace kivo {
namespace {

TEST(Random, SeedIsMillisecondsSinceMidnight) {
    EXPECT_EQ(seedFromTimeOfDay(12, 34, 56, 789), 45296789u);
    EXPECT_EQ(seedFromTimeOfDay(0, 0, 0, 0), 0u);
    EXPECT_EQ(seedFromTimeOfDay(23, 59, 59, 999), 86399999u);
}

TEST(Random, StepsTheLinearCongruentialGeneratorAndTakesTheUpperProduct) {
    RandomGenerator g;
    g.setSeed(45296789u);
    EXPECT_EQ(g.nextIndex(5), 2u);
    EXPECT_EQ(g.seed(), 2099557098u);
    EXPECT_EQ(g.nextIndex(5), 1u);
    EXPECT_EQ(g.seed(), 1162356371u);

    g.setSeed(0);
    EXPECT_EQ(g.nextIndex(3), 0u);
    EXPECT_EQ(g.seed(), 1u);
    EXPECT_EQ(g.nextIndex(3), 0u);
    EXPECT_EQ(g.seed(), 134775814u);
    EXPECT_EQ(g.nextIndex(3), 2u);
    EXPECT_EQ(g.seed(), 3698175007u);
}

TEST(Random, ClockSeedingLandsWithinOneDay) {
    SeedRandomFromClock();
    EXPECT_LT(processRandom().seed(), 86400000u);
    const std::uint32_t seed = processRandom().seed();
    const std::uint32_t index = processRandom().nextIndex(10);
    EXPECT_LT(index, 10u);
    EXPECT_EQ(processRandom().seed(), seed * RandomGenerator::kMultiplier + 1u);
}

}  // namespace
}  // namespace kivo
