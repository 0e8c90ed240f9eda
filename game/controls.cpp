// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls.h"

#include <array>

namespace tavlo {

std::string_view controlName(Control control) {
    static constexpr std::array<std::string_view, kControlCount> kNames{
        "frmmain",         "Command2",
        "Command1",        "Timer2",
        "cmdexit",         "cmdnewgame",
        "frameplayername", "txtplayer4name",
        "txtplayer3name",  "txtplayer2name",
        "txtplayer1name",  "imgp4",
        "imgp3",           "imgp2",
        "imgp1",           "frameselectnoofplayer",
        "player4",         "player3",
        "player2",         "Timer1",
        "picdice",         "pictureboard",
        "Image4",          "Image3",
        "Image2",          "Image1",
        "Label1",          "lblwinner",
        "Shape1",          "lblcurrentplayer",
        "imgstartp2",      "imgstartp4",
        "imgstartp3",      "imgstartp1",
    };
    const auto index = static_cast<std::size_t>(control);
    return index < kNames.size() ? kNames[index] : std::string_view{"?"};
}

} // namespace tavlo
