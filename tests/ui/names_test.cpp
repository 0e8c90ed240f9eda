// SPDX-License-Identifier: GPL-3.0-or-later
// Whatever a player types as a name is shown exactly as typed: in the whose-turn label, on the
// token's tooltip and in the winner label, through a whole game.
#include "window_fixture.h"

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
    {"100,000 characters", QString(100000, QChar(u'm'))},
};

class Names : public WindowFixture, public ::testing::WithParamInterface<Name> {
protected:
    void SetUp() override {
        WindowFixture::SetUp();
        // The die's rhythm does not matter here: roll fast.
        window->timer(Control::Timer2).setInterval(1);
    }
    QString toolTipShown(Control c) const {
        QTextDocument document;
        document.setHtml(widget(c)->toolTip());
        return document.toPlainText();
    }
};

TEST_P(Names, ShowLiterallyInEveryCaptionThroughAWholeGame) {
    auto* box = widget<QLineEdit>(Control::txtplayer1name);
    box->setText(GetParam().text);
    const QString name = box->text(); // as the box holds it
    click(Control::cmdnewgame);
    EXPECT_EQ(caption(Control::lblcurrentplayer), name + QStringLiteral("'s Turn"));

    for (int face : {6, 1, 6, 1, 3}) // player 1 reaches the ladder at 15 and rolls again
        rollAndWait(face);
    EXPECT_EQ(caption(Control::lblcurrentplayer), name + QStringLiteral("'s  Turn"));
    if (name.isEmpty())
        EXPECT_TRUE(widget(Control::Image1)->toolTip().isEmpty());
    else
        EXPECT_EQ(toolTipShown(Control::Image1), name);

    rollAndWait(3); // to 100
    EXPECT_EQ(caption(Control::lblwinner), name + QStringLiteral("  Wins"));
    for (Control c : {Control::lblwinner, Control::lblcurrentplayer})
        EXPECT_EQ(widget<QLabel>(c)->textFormat(), Qt::PlainText) << controlName(c);
    EXPECT_EQ(window->game().state().gameover, kTrue);
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
