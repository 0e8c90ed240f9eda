// SPDX-License-Identifier: GPL-3.0-or-later
#include "common_function.h"

#include <algorithm>
#include <cmath>

namespace tavlo {

std::int16_t CommonFunction::drawFace() {
    const double face = std::floor(random_.next() * 6.0) + 1.0;
    // A source that breaks its [0, 1) promise must not leave a face the search can never match.
    return static_cast<std::int16_t>(std::clamp(face, 1.0, 6.0));
}

void CommonFunction::shuffledice() {
    for (int slot = 1; slot <= 6; ++slot) {
        random_.reseed();
        std::int16_t face = drawFace();
        for (int earlier = 1; earlier < slot;) {
            if (dicesequence(earlier) == face) {
                face = drawFace();
                earlier = 1;
            } else {
                ++earlier;
            }
        }
        dicesequence(slot) = face;
    }
}

namespace {
constexpr Control kSetupControls[] = {
    Control::player2,        Control::player3,        Control::player4,
    Control::txtplayer1name, Control::txtplayer2name, Control::txtplayer3name,
    Control::txtplayer4name,
};
}

void CommonFunction::enableSetup(bool enabled) {
    for (Control control : kSetupControls)
        window_.perform(op::SetEnabled{control, enabled});
}

void CommonFunction::hideextratokens() {
    window_.perform(op::SetVisible{Control::imgstartp3, false});
    window_.perform(op::SetVisible{Control::imgstartp4, false});
}

} // namespace tavlo
