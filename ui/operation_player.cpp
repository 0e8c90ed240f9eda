// SPDX-License-Identifier: GPL-3.0-or-later
#include "operation_player.h"

namespace tavlo::ui {

using std::chrono::steady_clock;

OperationPlayer::OperationPlayer(Apply apply, PauseLength pauseLength, QObject* parent)
    : QObject(parent), apply_(std::move(apply)), pauseLength_(std::move(pauseLength)) {
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &OperationPlayer::resume);
}

void OperationPlayer::submit(const Operation& operation) {
    if (playing_) {
        waiting_.push_back(operation);
        return;
    }
    if (const auto* pause = std::get_if<op::Pause>(&operation)) {
        playing_ = true;
        deadline_ =
            steady_clock::now() + std::chrono::milliseconds(pauseLength_(pause->milliseconds));
        waitUntilDeadline();
        return;
    }
    apply_(operation);
}

void OperationPlayer::discard() {
    timer_.stop();
    waiting_.clear();
    playing_ = false;
}

void OperationPlayer::waitUntilDeadline() {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline_ - steady_clock::now());
    timer_.start(std::max<int>(0, static_cast<int>(left.count())));
}

void OperationPlayer::resume() {
    // Steady-clock deadlines can still be a hair away when the timer fires early.
    if (steady_clock::now() < deadline_ - std::chrono::microseconds(500)) {
        waitUntilDeadline();
        return;
    }
    while (!waiting_.empty()) {
        const Operation next = std::move(waiting_.front());
        waiting_.pop_front();
        if (const auto* pause = std::get_if<op::Pause>(&next)) {
            deadline_ += std::chrono::milliseconds(pauseLength_(pause->milliseconds));
            waitUntilDeadline();
            return;
        }
        apply_(next);
        if (!playing_)
            return; // the window closed meanwhile
    }
    playing_ = false;
    emit finished();
}

} // namespace tavlo::ui
