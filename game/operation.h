// SPDX-License-Identifier: GPL-3.0-or-later
// One request from the rules to the window. The rules describe everything they want shown as a
// sequence of these values, so the window may carry them out at once or keep them for later.
#pragma once

#include "controls.h"

#include <cstdint>
#include <string>
#include <variant>

namespace tavlo {

namespace op {

struct SetBackColor {
    Control control;
    Rgb colour;
    friend bool operator==(const SetBackColor&, const SetBackColor&) = default;
};
struct SetForeColor {
    Control control;
    Rgb colour;
    friend bool operator==(const SetForeColor&, const SetForeColor&) = default;
};
struct SetCaption {
    Control control;
    std::string caption; // shown literally, never interpreted as markup
    friend bool operator==(const SetCaption&, const SetCaption&) = default;
};
struct SetVisible {
    Control control;
    bool visible;
    friend bool operator==(const SetVisible&, const SetVisible&) = default;
};
// Enables or disables a control; for `Timer1` and `Timer2` it starts or stops the timer.
struct SetEnabled {
    Control control;
    bool enabled;
    friend bool operator==(const SetEnabled&, const SetEnabled&) = default;
};
// Shows picture `index` (from 1) of `list` in an image control or in `picdice`.
struct SetPicture {
    Control control;
    ImageList list;
    std::int16_t index;
    friend bool operator==(const SetPicture&, const SetPicture&) = default;
};
struct SetToolTip {
    Control control;
    std::string text; // shown literally
    friend bool operator==(const SetToolTip&, const SetToolTip&) = default;
};
// Moves an image control, in twips of its container.
struct Move {
    Control control;
    std::int16_t left;
    std::int16_t top;
    std::int16_t width;
    std::int16_t height;
    friend bool operator==(const Move&, const Move&) = default;
};
struct SetMousePointer {
    MousePointer pointer;
    friend bool operator==(const SetMousePointer&, const SetMousePointer&) = default;
};
// Nothing more is shown for this long; what came before must be on screen meanwhile.
struct Pause {
    int milliseconds;
    friend bool operator==(const Pause&, const Pause&) = default;
};
// What assistive technology says a control is. Nothing visible changes. An image control with an
// empty name has nothing to tell, and assistive technology does not present it at all.
struct SetAccessibleName {
    Control control;
    std::string text;
    friend bool operator==(const SetAccessibleName&, const SetAccessibleName&) = default;
};
// The game's latest news for a screen reader's user, in one sentence: what has just happened
// (the end of a move, a new game) or, as the window opens, whose turn it is. With `sayNow` they
// hear it once, at this moment; otherwise it is only kept, for them to ask for. Nothing visible
// changes.
struct News {
    std::string text;
    bool sayNow = true;
    friend bool operator==(const News&, const News&) = default;
};
// Paints the board and creates its number labels; requested once, at start-up.
struct DrawBoard {
    friend bool operator==(const DrawBoard&, const DrawBoard&) = default;
};
// Closes the window, which ends the program.
struct Close {
    friend bool operator==(const Close&, const Close&) = default;
};

} // namespace op

using Operation =
    std::variant<op::SetBackColor, op::SetForeColor, op::SetCaption, op::SetVisible, op::SetEnabled,
                 op::SetPicture, op::SetToolTip, op::Move, op::SetMousePointer, op::Pause,
                 op::SetAccessibleName, op::News, op::DrawBoard, op::Close>;

// Builds a visitor for std::visit from one lambda per operation.
template <class... Ts> struct Overloaded : Ts... { using Ts::operator()...; };
template <class... Ts> Overloaded(Ts...) -> Overloaded<Ts...>;

// A readable one-line form, e.g. `Move(Image1, 0, 9000, 980, 980)`, for logs and test failures.
std::string describe(const Operation& operation);

} // namespace tavlo
