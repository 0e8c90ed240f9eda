// SPDX-License-Identifier: GPL-3.0-or-later
// Whole games per second through the rules alone: a window that shows nothing, no pauses, a
// seeded die. Exits non-zero when a game does not end with a winner on square 100, so a short
// run doubles as a check that the benchmark still measures real games.
#include "support/scripted_random.h"

#include "game/board.h"
#include "game/game.h"
#include "game/window.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>

namespace {

using tavlo::BoardPoint;
using tavlo::Control;

class NullWindow final : public tavlo::Window {
public:
    void perform(const tavlo::Operation&) override {}
    bool selectOption(Control option) override {
        const bool changed = option != selected_;
        selected_ = option;
        return changed;
    }
    std::string text(Control box) const override {
        switch (box) {
        case Control::txtplayer2name:
            return "Player 2";
        case Control::txtplayer3name:
            return "Player 3";
        case Control::txtplayer4name:
            return "Player 4";
        default:
            return "Player 1";
        }
    }
    BoardPoint labelPosition(std::int16_t square) const override {
        return tavlo::squareOrigin(square);
    }

private:
    Control selected_ = Control::frmmain;
};

// Far beyond any real game, whose length is a few dozen rolls.
constexpr int kMostRolls = 100000;
bool failed = false;

void BM_WholeGame(benchmark::State& state) {
    unsigned seed = 1;
    double rolls = 0;
    for (auto _ : state) {
        tavlo::testing::SeededRandom random(seed++);
        NullWindow window;
        tavlo::Game game(window, random);
        game.Form_Load();
        int n = 0;
        while (game.state().gameover == 0 && n < kMostRolls) {
            game.picdice_Click();
            for (int tick = 0; tick < tavlo::kRollTicks; ++tick)
                game.Timer2_Timer();
            ++n;
        }
        rolls += n;
        const tavlo::GameState& s = game.state();
        if (s.gameover != tavlo::kTrue ||
            std::max(s.movetotalcountp1, s.movetotalcountp2) < tavlo::kWinningSquare) {
            failed = true;
            state.SkipWithError("a game did not end with a winner on square 100");
            break;
        }
    }
    using benchmark::Counter;
    state.counters["games_per_s"] =
        Counter(static_cast<double>(state.iterations()), Counter::kIsRate);
    state.counters["rolls_per_game"] = Counter(rolls, Counter::kAvgIterations);
}

BENCHMARK(BM_WholeGame)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char* argv[]) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 2;
    const std::size_t ran = benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (ran == 0 || failed) {
        std::fputs("bench_engine: a game was not played to a win, or nothing ran\n", stderr);
        return 1;
    }
    return 0;
}
