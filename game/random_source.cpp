// SPDX-License-Identifier: GPL-3.0-or-later
#include "random_source.h"

#include <chrono>

namespace tavlo {

namespace {

// splitmix64's finaliser: spreads nearby inputs (successive clock readings, counts) over all bits.
std::uint64_t mix(std::uint64_t x) {
    x += 0x9E3779B97F4A7C15ULL;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ULL;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBULL;
    return x ^ (x >> 31);
}

} // namespace

std::uint64_t ClockRandom::highResolutionNow() {
    return static_cast<std::uint64_t>(
        std::chrono::high_resolution_clock::now().time_since_epoch().count());
}

ClockRandom::ClockRandom(Clock clock) : clock_(clock) {
    reseed();
}

void ClockRandom::reseed() {
    const std::uint64_t now = clock_();
    ++reseeds_;
    engine_.seed(mix(now ^ mix(reseeds_)));
}

double ClockRandom::next() {
    // The top 53 bits make a double in [0, 1) exactly; std::generate_canonical may round to 1.0.
    return static_cast<double>(engine_() >> 11) * 0x1.0p-53;
}

} // namespace tavlo
