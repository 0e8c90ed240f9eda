// SPDX-License-Identifier: GPL-3.0-or-later
// The source of chance for the die and the winner flash.
#pragma once

#include <cstdint>
#include <random>

namespace tavlo {

class RandomSource {
public:
    virtual ~RandomSource() = default;
    // Starts a fresh sequence seeded from the clock.
    virtual void reseed() = 0;
    // The next value, uniform in [0, 1).
    virtual double next() = 0;
};

// The program's own source. The die re-seeds it six times per roll, often within the same clock
// tick, so every re-seed also mixes in a running count: two re-seeds never replay the same
// values, however coarse or frozen the clock is.
class ClockRandom final : public RandomSource {
public:
    // Ticks of some clock; the finer the better, but equal readings are fine.
    using Clock = std::uint64_t (*)();
    static std::uint64_t highResolutionNow();

    // Seeds from the clock once so that `next` is usable before the first `reseed`.
    explicit ClockRandom(Clock clock = &highResolutionNow);
    void reseed() override;
    double next() override;

private:
    Clock clock_;
    std::mt19937_64 engine_;
    std::uint64_t reseeds_ = 0;
};

} // namespace tavlo
