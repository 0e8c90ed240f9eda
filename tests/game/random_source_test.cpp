// SPDX-License-Identifier: GPL-3.0-or-later
// The program's own random source stays fair through the die's six re-seeds per roll.
#include "game/common_function.h"
#include "game/random_source.h"
#include "support/recording_window.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <numeric>
#include <set>

namespace tavlo::testing {
namespace {

std::uint64_t frozenClock() {
    return 42;
}

// Chi-squared bounds that a fair die exceeds less than once in a million runs.
constexpr double kChiSquared5 = 35.89;
constexpr double kChiSquared35 = 89.95;
constexpr std::array<int, 6> kFaces{1, 2, 3, 4, 5, 6};

double chiSquared(const std::vector<long>& counts) {
    const long total = std::accumulate(counts.begin(), counts.end(), 0L);
    const double expected = static_cast<double>(total) / static_cast<double>(counts.size());
    double sum = 0;
    for (long c : counts)
        sum += (static_cast<double>(c) - expected) * (static_cast<double>(c) - expected) / expected;
    return sum;
}

struct RollCounts {
    std::vector<long> faces = std::vector<long>(6);
    std::vector<long> pairs = std::vector<long>(36);
    int ordersWithoutEveryFace = 0;
};

// Rolls the die the way the game does: a shuffle per roll, whose second face is the roll.
RollCounts roll(RandomSource& random, int rolls) {
    RecordingWindow window;
    CommonFunction common(window, random);
    RollCounts counts;
    int previous = 0;
    for (int i = 0; i < rolls; ++i) {
        common.shuffledice();
        const DiceSequence& d = common.dicesequence;
        const std::array<int, 6> order{d(1), d(2), d(3), d(4), d(5), d(6)};
        if (!std::is_permutation(order.begin(), order.end(), kFaces.begin()))
            ++counts.ordersWithoutEveryFace;
        const int face = common.dicesequence(2);
        ++counts.faces[face - 1];
        if (previous != 0)
            ++counts.pairs[(previous - 1) * 6 + (face - 1)];
        previous = face;
    }
    return counts;
}

TEST(ClockRandom, ReseedingOnAFrozenClockNeverReplaysTheSameDraws) {
    ClockRandom random(&frozenClock);
    std::set<double> firstDraws;
    for (int i = 0; i < 1000; ++i) {
        random.reseed();
        firstDraws.insert(random.next());
    }
    EXPECT_EQ(firstDraws.size(), 1000u);
}

// Every shuffle holds each face once, whatever the draws.
TEST(ClockRandom, RollsAndPairsOfRollsAreFairWhetherTheClockMovesOrNot) {
    ClockRandom moving, frozen(&frozenClock);
    for (ClockRandom* random : {&moving, &frozen}) {
        SCOPED_TRACE(random == &moving ? "moving clock" : "frozen clock");
        const RollCounts counts = roll(*random, 60000);
        EXPECT_LT(chiSquared(counts.faces), kChiSquared5);
        EXPECT_LT(chiSquared(counts.pairs), kChiSquared35);
        EXPECT_EQ(counts.ordersWithoutEveryFace, 0);
    }
}

// The check above must be able to fail: a source that replays after each re-seed, as a plain
// clock seed does within one clock tick, gives a die that always rolls the same.
TEST(ClockRandom, FairnessCheckCatchesASourceThatReplaysAfterReseeding) {
    class Replaying : public RandomSource {
    public:
        void reseed() override { engine_.seed(1); }
        double next() override { return std::uniform_real_distribution<double>(0, 1)(engine_); }

    private:
        std::mt19937 engine_;
    } replaying;
    const RollCounts counts = roll(replaying, 6000);
    EXPECT_GT(chiSquared(counts.faces), kChiSquared5);
}

} // namespace
} // namespace tavlo::testing
