// SPDX-License-Identifier: GPL-3.0-or-later
// Shared procedures acting on the one main window, and the die's order of faces.
#pragma once

#include "random_source.h"
#include "window.h"

#include <array>
#include <cstdint>

namespace tavlo {

// Six faces in the order the die shows them, addressed by slot 1..6 as `dicesequence(2)`; any
// other slot throws std::out_of_range.
class DiceSequence {
public:
    std::int16_t operator()(int slot) const { return slots_.at(index(slot)); }
    std::int16_t& operator()(int slot) { return slots_.at(index(slot)); }

private:
    static std::size_t index(int slot) { return static_cast<std::size_t>(slot - 1); }
    std::array<std::int16_t, 6> slots_{};
};

class CommonFunction {
public:
    CommonFunction(Window& window, RandomSource& random) : window_(window), random_(random) {}

    DiceSequence dicesequence;

    // Puts the faces 1..6 into a fresh random order: per slot, re-seed from the clock, then draw
    // until a face not yet used comes up.
    void shuffledice();
    // Disables the player-count options and the name boxes; the frames, buttons and die stay on.
    void locksetup() { enableSetup(false); }
    // Enables what locksetup disables, in the same order.
    void unlocksetup() { enableSetup(true); }
    // Hides the start-area tokens of players 3 and 4.
    void hideextratokens();

private:
    std::int16_t drawFace();
    void enableSetup(bool enabled);

    Window& window_;
    RandomSource& random_;
};

} // namespace tavlo
