// SPDX-License-Identifier: GPL-3.0-or-later
// Whatever a player types as a name is shown exactly as typed: in the whose-turn label, on the
// token's tooltip and in the winner label, through a whole game; and however long, it holds up
// no step of the walk.
#include "window_fixture.h"

#include <QElapsedTimer>
#include <QLineEdit>
#include <QTextDocument>

namespace tavlo::testing {
namespace {

struct Name {
    const char* what;
    QString text;
};

const Name kNames[] = {
    {"empty", QString()},
    {"one character", QStringLiteral("A")},
    {"markup and entities", QStringLiteral("<b>bold</b> <img src=x> &amp; &lt;i&gt; <!-- x -->")},
    {"quotes and backslashes", QStringLiteral("O'Brien \"Ob\" \\n \\\\ `x`")},
    {"control characters", QStringLiteral("a\u0001b\u0007c\td\u001Be")},
    {"emoji and combining marks",
     QStringLiteral("🐍🎲 👩‍👩‍👧 e\u0301 n\u0303 Z\u0336")},
    {"right to left", QStringLiteral("שלום עליכם مرحبا \u202Eabc")},
    {"100,000 characters of all these",
     QStringLiteral("<b>&amp;'\"\\ 🐍 שלום e\u0301 ").repeated(5000).left(100000)},
};

// Times player 1's token from its first step to its last in each walk.
class Steps : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Move) {
            last = clock.elapsed();
            first = first < 0 ? last : first;
        }
        return false;
    }
    QElapsedTimer clock;
    qint64 first = -1, last = -1;
};

class Names : public WindowFixture, public ::testing::WithParamInterface<Name> {
protected:
    void SetUp() override {
        WindowFixture::SetUp();
        // The die's rhythm does not matter here: roll fast.
        window->timer(Control::Timer2).setInterval(1);
        steps.clock.start();
        widget(Control::Image1)->installEventFilter(&steps);
    }
    QString toolTipShown(Control c) const {
        QTextDocument document;
        document.setHtml(widget(c)->toolTip());
        return document.toPlainText();
    }
    // Plays the rolls from `first` on until the one before `end` of a game that player 1 wins
    // in four walks, with 15 steps after the first of each: 6, (2: 1), 6, (2: 1), 3 and up the
    // ladder at 15, and 3 to 100. Returns how long player 1's walks took, first step to last.
    qint64 play(std::size_t first, std::size_t end) {
        static constexpr int kFaces[] = {6, 1, 6, 1, 3, 3};
        qint64 walking = 0;
        for (std::size_t k = first; k < end; ++k) {
            steps.first = -1;
            rollAndWait(kFaces[k]);
            walking += steps.first < 0 ? 0 : steps.last - steps.first;
        }
        return walking;
    }

    Steps steps;
};

TEST_P(Names, ShowLiterallyInEveryCaptionThroughAWholeGameAndHoldUpNoStep) {
    // What the same game takes with a one-letter name, here and now.
    auto* box = widget<QLineEdit>(Control::txtplayer1name);
    box->setText(QStringLiteral("A"));
    const qint64 baseline = play(0, 6);
    click(Control::cmdnewgame);

    box->setText(GetParam().text);
    const QString name = box->text(); // as the box holds it
    click(Control::cmdnewgame);
    EXPECT_EQ(caption(Control::lblcurrentplayer), name + QStringLiteral("'s Turn"));

    qint64 took = play(0, 5);
    EXPECT_EQ(caption(Control::lblcurrentplayer), name + QStringLiteral("'s  Turn"));
    if (name.isEmpty())
        EXPECT_TRUE(widget(Control::Image1)->toolTip().isEmpty());
    else
        EXPECT_EQ(toolTipShown(Control::Image1), name);

    took += play(5, 6);
    EXPECT_EQ(caption(Control::lblwinner), name + QStringLiteral("  Wins"));
    for (Control c : {Control::lblwinner, Control::lblcurrentplayer})
        EXPECT_EQ(widget<QLabel>(c)->textFormat(), Qt::PlainText) << controlName(c);
    EXPECT_EQ(window->game().state().gameover, kTrue);
    // With the pauses left out, a walk takes no time: only a stall counts, not a busy machine,
    // a fifth of a step's 500 ms pause on each step.
    EXPECT_LT(took - baseline, 15 * 100) << "took " << took << " ms, against " << baseline;
}

INSTANTIATE_TEST_SUITE_P(AnyText, Names, ::testing::ValuesIn(kNames), [](const auto& info) {
    std::string label;
    for (char c : std::string(info.param.what))
        if (std::isalnum(static_cast<unsigned char>(c)))
            label += c;
    return label;
});

} // namespace
} // namespace tavlo::testing
