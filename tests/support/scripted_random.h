// SPDX-License-Identifier: GPL-3.0-or-later
// Random sources for tests: one that plays back given values, one seeded and repeatable.
#pragma once

#include "game/random_source.h"

#include <deque>
#include <initializer_list>
#include <optional>
#include <random>
#include <stdexcept>

namespace tavlo::testing {

// Plays back queued values and ignores re-seeding (but counts it). Once the queue is empty it
// throws, unless told to carry on with a seeded generator: a window test must, because a timer
// that ticks once more than planned would otherwise throw inside the event loop.
class ScriptedRandom : public RandomSource {
public:
    void reseed() override { ++reseeds; }
    double next() override {
        if (values_.empty() && fallback_)
            return std::uniform_real_distribution<double>(0.0, 1.0)(*fallback_);
        if (values_.empty())
            throw std::logic_error("ScriptedRandom: no value left to draw");
        const double value = values_.front();
        values_.pop_front();
        return value;
    }

    void push(double value) { values_.push_back(value); }
    // A value that the die turns into `face` (1..6).
    static double valueFor(int face) { return (face - 0.5) / 6.0; }
    void pushFaces(std::initializer_list<int> faces) {
        for (int face : faces)
            push(valueFor(face));
    }
    // Draws for one shuffle that makes the roll come out as `face`: the roll is always the
    // second face of the order.
    void pushRoll(int face) {
        const int first = face == 1 ? 2 : 1;
        push(valueFor(first));
        push(valueFor(face));
        for (int other = 1; other <= 6; ++other)
            if (other != first && other != face)
                push(valueFor(other));
    }
    void carryOnWithSeed(unsigned seed) { fallback_.emplace(seed); }

    int reseeds = 0;

private:
    std::deque<double> values_;
    std::optional<std::mt19937> fallback_;
};

// A repeatable source for long random runs: re-seeding moves on without returning to the start.
class SeededRandom : public RandomSource {
public:
    explicit SeededRandom(unsigned seed) : engine_(seed) {}
    void reseed() override {}
    double next() override { return std::uniform_real_distribution<double>(0.0, 1.0)(engine_); }

private:
    std::mt19937 engine_;
};

} // namespace tavlo::testing
