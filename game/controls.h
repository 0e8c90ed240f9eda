// SPDX-License-Identifier: GPL-3.0-or-later
// The controls of the main window as the rules name them, and the small value types the rules
// hand to the window: colours, picture lists, mouse pointers and board points.
#pragma once

#include <cstdint>
#include <string_view>

namespace tavlo {

// Every control of the main window, in the order the window creates them. `frmmain` stands for
// the window itself (its background colour). Timers are controls too: enabling one starts it.
enum class Control : std::uint8_t {
    frmmain,
    Command2,
    Command1,
    Timer2,
    cmdexit,
    cmdnewgame,
    frameplayername,
    txtplayer4name,
    txtplayer3name,
    txtplayer2name,
    txtplayer1name,
    imgp4,
    imgp3,
    imgp2,
    imgp1,
    frameselectnoofplayer,
    player4,
    player3,
    player2,
    Timer1,
    picdice,
    pictureboard,
    Image4,
    Image3,
    Image2,
    Image1,
    Label1,
    lblwinner,
    Shape1,
    lblcurrentplayer,
    imgstartp2,
    imgstartp4,
    imgstartp3,
    imgstartp1,
};
inline constexpr int kControlCount = static_cast<int>(Control::imgstartp1) + 1;

// The control's name as the window's designer gave it; for diagnostics and object names only.
std::string_view controlName(Control control);

// The two picture lists; pictures in both are numbered from 1.
enum class ImageList : std::uint8_t { ImageList1, ImageList2 };

// Picture numbers the rules use.
inline constexpr std::int16_t kRestingDie = 7; // ImageList2: ROLL over DICE

enum class MousePointer : std::uint8_t { Default, Busy };

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    friend constexpr bool operator==(Rgb, Rgb) = default;
};

// A colour packed into one number: red in the low byte, green in the middle, blue in the high.
constexpr Rgb unpackColour(std::int32_t packed) {
    return {static_cast<std::uint8_t>(packed & 0xFF),
            static_cast<std::uint8_t>((packed >> 8) & 0xFF),
            static_cast<std::uint8_t>((packed >> 16) & 0xFF)};
}

inline constexpr Rgb kNavy{0, 0, 25};
inline constexpr Rgb kWhite{255, 255, 255};

// A position on the board in twips from its top-left corner, y growing downwards.
struct BoardPoint {
    std::int16_t left = 0;
    std::int16_t top = 0;
    friend constexpr bool operator==(BoardPoint, BoardPoint) = default;
};

} // namespace tavlo
