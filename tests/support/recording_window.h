// SPDX-License-Identifier: GPL-3.0-or-later
// A stand-in for the main window: logs every request in order and keeps a simple model of what
// each control shows, so tests can assert both whole sequences and resulting states.
#pragma once

#include "game/window.h"

#include <array>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace tavlo::testing {

struct ControlModel {
    bool visible = true;
    bool enabled = true;
    std::optional<Rgb> foreColour;
    std::string caption;
    std::string accessibleName;
    std::optional<op::SetPicture> picture;
};

class RecordingWindow : public Window {
public:
    RecordingWindow();

    void perform(const Operation& operation) override;
    // Long random runs only need the model; the text log would grow without bound.
    bool logging = true;
    bool selectOption(Control option) override;
    std::string text(Control textBox) const override;
    BoardPoint labelPosition(std::int16_t square) const override;

    // What a player typed into a name box.
    void type(Control textBox, std::string name) { names_[textBox] = std::move(name); }

    const ControlModel& operator[](Control c) const { return controls_[static_cast<int>(c)]; }
    std::optional<Control> selectedOption() const { return selected_; }
    MousePointer pointer() const { return pointer_; }

    // Every request as `describe` writes it, with the questions asked as `Text(...)`,
    // `LabelPosition(...)` and `SelectOption(...) -> changed` in between.
    mutable std::vector<std::string> log;
    std::vector<Operation> operations;

    void clearLog() {
        log.clear();
        operations.clear();
    }
    // The operations of one kind, in order.
    template <class T> std::vector<T> all() const {
        std::vector<T> found;
        for (const Operation& o : operations)
            if (const T* t = std::get_if<T>(&o))
                found.push_back(*t);
        return found;
    }

private:
    ControlModel& at(Control c) { return controls_[static_cast<int>(c)]; }

    std::array<ControlModel, kControlCount> controls_;
    std::map<Control, std::string> names_;
    std::optional<Control> selected_;
    MousePointer pointer_ = MousePointer::Default;
};

} // namespace tavlo::testing
