// SPDX-License-Identifier: GPL-3.0-or-later
// Requests before the first pause happen at once; the rest wait for the pauses, in order.
#include "ui/operation_player.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace tavlo::testing {
namespace {

class Player : public ::testing::Test {
protected:
    std::vector<std::string> applied;
    std::vector<int> pausesAsked;
    ui::OperationPlayer player{[this](const Operation& o) { applied.push_back(describe(o)); },
                               [this](int ms) {
                                   pausesAsked.push_back(ms);
                                   return 0;
                               }};
};

TEST_F(Player, CarriesOutAtOnceUntilThePauseThenTheRestInOrder) {
    QSignalSpy finished(&player, &ui::OperationPlayer::finished);
    player.submit(op::SetVisible{Control::imgstartp1, false});
    player.submit(op::Pause{500});
    player.submit(op::Move{Control::Image1, 0, 9000, 980, 980});
    player.submit(op::Pause{500});
    player.submit(op::Move{Control::Image1, 1000, 9000, 980, 980});
    EXPECT_EQ(applied, std::vector<std::string>{"SetVisible(imgstartp1, false)"});
    EXPECT_TRUE(player.isPlaying());

    ASSERT_TRUE(finished.wait(1000));
    EXPECT_EQ(applied, (std::vector<std::string>{"SetVisible(imgstartp1, false)",
                                                 "Move(Image1, 0, 9000, 980, 980)",
                                                 "Move(Image1, 1000, 9000, 980, 980)"}));
    EXPECT_EQ(pausesAsked, (std::vector<int>{500, 500}));
    EXPECT_FALSE(player.isPlaying());
    player.submit(op::SetMousePointer{MousePointer::Default});
    EXPECT_EQ(applied.back(), "SetMousePointer(Default)"); // idle again: at once
}

TEST_F(Player, DiscardForgetsWhatWaits) {
    player.submit(op::Pause{500});
    player.submit(op::Move{Control::Image1, 0, 9000, 980, 980});
    player.discard();
    EXPECT_FALSE(player.isPlaying());
    QTest::qWait(20);
    EXPECT_TRUE(applied.empty());
}

} // namespace
} // namespace tavlo::testing
