// SPDX-License-Identifier: GPL-3.0-or-later
// The real main window for scripts in a real session, its die scripted and its pauses shortened
// as in the widget tests (options: --help), so that a script brings a game to any phase in
// seconds. The program itself takes no command line.
// --report prints "step <ms>" when player 1's token moves and, when a move has been played out,
// "moved | <whose-turn caption>" with " | <winner caption>" once someone has won; --check ends
// the program with status 3 and a message when an invariant is broken.
#include "support/scripted_random.h"
#include "support/state_checks.h"

#include "app/start_up.h"
#include "ui/frmmain.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include <cstdio>

namespace {

using tavlo::Control;

// Reports each step of the token it watches.
class StepReporter : public QObject {
public:
    explicit StepReporter(QObject* parent) : QObject(parent) { clock_.start(); }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Move) {
            std::printf("step %lld\n", static_cast<long long>(clock_.elapsed()));
            std::fflush(stdout);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QElapsedTimer clock_;
};

std::string brokenInvariant(const tavlo::ui::frmmain& window) {
    const tavlo::GameState& s = window.game().state();
    if (std::string range = tavlo::testing::stateOutOfRange(s); !range.empty())
        return range;
    if ((s.gameover == tavlo::kTrue) != window.control(Control::lblwinner)->isVisible())
        return "the winner label does not match gameover";
    const bool rolling = window.timer(Control::Timer2).isActive();
    if (rolling != (window.cursor().shape() == Qt::BusyCursor))
        return "busy pointer without a roll, or a roll without it";
    const Control options[] = {Control::player2, Control::player3, Control::player4};
    if (!static_cast<QRadioButton*>(window.control(options[s.noofplayers - 2]))->isChecked())
        return "the selected option does not match noofplayers";
    const bool unlocked = window.control(Control::player2)->isEnabled();
    for (Control c : {Control::player3, Control::player4, Control::txtplayer1name,
                      Control::txtplayer2name, Control::txtplayer3name, Control::txtplayer4name})
        if (window.control(c)->isEnabled() != unlocked)
            return "the setup controls are not locked together";
    if (unlocked && s.gameover == tavlo::kTrue)
        return "setup unlocked after a win";
    const std::int16_t squares[] = {s.movetotalcountp1, s.movetotalcountp2, s.movetotalcountp3,
                                    s.movetotalcountp4};
    for (int n = 1; n <= 4; ++n)
        if (window.control(tavlo::player(n).startToken)->isVisible() && squares[n - 1] != 0)
            return "a start token shows for a player on the board";
    return {};
}

} // namespace

// Plays until the window closes and returns what the event loop returned.
int play(QApplication& application) {
    QCommandLineParser parser;
    parser.addOptions({{"pause-percent", "Pauses last this share of their length.", "P", "100"},
                       {"rolls", "Comma-separated rolls to script first.", "list"},
                       {"seed", "Seed for the rolls after the script.", "N", "1"},
                       {"name1", "Player 1's name.", "text"},
                       {"report", "Print token steps and finished moves."},
                       {"check", "Check the game's invariants whenever the window is idle."},
                       {"notification", "Announce by notification only, as a Qt 6.4 build."}});
    parser.process(application);

    // The scripted rolls first, then a seeded generator.
    tavlo::testing::ScriptedRandom random;
    random.carryOnWithSeed(parser.value("seed").toUInt());
    for (const QString& roll : parser.value("rolls").split(',', Qt::SkipEmptyParts))
        random.pushRoll(roll.toInt());
    const int percent = parser.value("pause-percent").toInt();
    tavlo::ui::ScreenReaderChannels channels = tavlo::ui::ScreenReaderChannels::ofThisRun();
    if (parser.isSet("notification"))
        channels.announcementEvent = false;
    tavlo::ui::frmmain window(
        random, [percent](int ms) { return ms * percent / 100; }, channels);

    if (parser.isSet("name1"))
        static_cast<QLineEdit*>(window.control(Control::txtplayer1name))
            ->setText(parser.value("name1"));
    if (parser.isSet("report")) {
        window.control(Control::Image1)->installEventFilter(new StepReporter(&window));
        QObject::connect(&window, &tavlo::ui::frmmain::moveFinished, [&window] {
            auto caption = [&window](Control c) {
                return static_cast<QLabel*>(window.control(c))->text().toStdString();
            };
            std::string line = "moved | " + caption(Control::lblcurrentplayer);
            if (window.control(Control::lblwinner)->isVisible())
                line += " | " + caption(Control::lblwinner);
            std::puts(line.c_str());
            std::fflush(stdout);
        });
    }
    if (parser.isSet("check")) {
        QObject::connect(QAbstractEventDispatcher::instance(),
                         &QAbstractEventDispatcher::aboutToBlock, &window, [&window] {
                             if (window.isPlaying() || !window.isVisible())
                                 return;
                             if (const std::string broken = brokenInvariant(window);
                                 !broken.empty()) {
                                 std::fprintf(stderr, "invariant broken: %s\n", broken.c_str());
                                 std::_Exit(3);
                             }
                         });
    }

    window.show();
    return application.exec();
}

int main(int argc, char* argv[]) {
    return tavlo::app::run(argc, argv, play);
}
