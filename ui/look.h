// SPDX-License-Identifier: GPL-3.0-or-later
// The look the window was designed with, whatever the desktop's: Qt's Fusion style, fixed light
// colours and Arial. It is the application's, so that every control has it from the start: call
// once, before the window is built.
#pragma once

class QApplication;

namespace tavlo::ui {

void applyLook(QApplication& application);

} // namespace tavlo::ui
