// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording_window.h"

#include "game/board.h"

namespace tavlo::testing {

RecordingWindow::RecordingWindow() {
    at(Control::lblwinner).visible = false;
    at(Control::Timer1).enabled = false;
    at(Control::Timer2).enabled = false;
    names_[Control::txtplayer1name] = "Player 1";
    names_[Control::txtplayer2name] = "Player 2";
    names_[Control::txtplayer3name] = "Player 3";
    names_[Control::txtplayer4name] = "Player 4";
}

void RecordingWindow::perform(const Operation& operation) {
    if (logging) {
        log.push_back(describe(operation));
        operations.push_back(operation);
    }
    std::visit(Overloaded{
                   [&](const op::SetForeColor& o) { at(o.control).foreColour = o.colour; },
                   [&](const op::SetCaption& o) { at(o.control).caption = o.caption; },
                   [&](const op::SetVisible& o) { at(o.control).visible = o.visible; },
                   [&](const op::SetEnabled& o) { at(o.control).enabled = o.enabled; },
                   [&](const op::SetPicture& o) { at(o.control).picture = o; },
                   [&](const op::SetMousePointer& o) { pointer_ = o.pointer; },
                   [&](const op::SetAccessibleName& o) { at(o.control).accessibleName = o.text; },
                   [](const auto&) {}, // the rest is only logged
               },
               operation);
}

bool RecordingWindow::selectOption(Control option) {
    const bool changed = selected_ != option;
    selected_ = option;
    if (logging)
        log.push_back("SelectOption(" + std::string(controlName(option)) + ") -> " +
                      (changed ? "changed" : "unchanged"));
    return changed;
}

std::string RecordingWindow::text(Control textBox) const {
    if (logging)
        log.push_back("Text(" + std::string(controlName(textBox)) + ")");
    const auto found = names_.find(textBox);
    return found == names_.end() ? std::string{} : found->second;
}

BoardPoint RecordingWindow::labelPosition(std::int16_t square) const {
    if (logging)
        log.push_back("LabelPosition(" + std::to_string(square) + ")");
    return squareOrigin(square);
}

} // namespace tavlo::testing
