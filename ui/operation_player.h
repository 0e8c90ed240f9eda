// SPDX-License-Identifier: GPL-3.0-or-later
// Carries out the rules' requests in order. Everything up to the first pause happens at once;
// what follows waits on a precise timer and is carried out as each pause runs out, so the window
// keeps painting and answering the desktop while a token walks. Pauses are timed against
// deadlines, not from one step to the next, so a long walk does not drift.
#pragma once

#include "game/operation.h"

#include <QObject>
#include <QTimer>

#include <chrono>
#include <deque>
#include <functional>

namespace tavlo::ui {

class OperationPlayer : public QObject {
    Q_OBJECT
public:
    using Apply = std::function<void(const Operation&)>;
    // How long a requested pause really lasts (tests shorten it); milliseconds in and out.
    using PauseLength = std::function<int(int)>;

    OperationPlayer(Apply apply, PauseLength pauseLength, QObject* parent = nullptr);

    void submit(const Operation& operation);
    // True from the first pause until everything after it has been carried out.
    bool isPlaying() const { return playing_; }
    // Forgets whatever is still waiting.
    void discard();

signals:
    // Everything submitted has been carried out.
    void finished();

private:
    void resume();
    void waitUntilDeadline();

    Apply apply_;
    PauseLength pauseLength_;
    QTimer timer_;
    std::deque<Operation> waiting_;
    std::chrono::steady_clock::time_point deadline_;
    bool playing_ = false;
};

} // namespace tavlo::ui
