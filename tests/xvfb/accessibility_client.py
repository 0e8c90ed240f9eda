# SPDX-License-Identifier: GPL-3.0-or-later
# Plays a scripted two-player game the way a screen reader user does: through the accessibility
# bus only. It finds the die by its role and name, rolls it with its "Press" action, and after
# every move checks what the die says (its description, announced by a change event), what the
# tokens are called, and whose turn the label names; the token and the label must have been
# renamed before the die announces the move. While a roll is under way the die must keep its
# name, so a screen reader never reads out the faces flashing past. After the win it checks the
# winner label, then presses New Game, which must take every token off the board.
#
# Run by accessibility_bus_test.sh with Debian's python3, which has pyatspi:
#   python3 accessibility_client.py NAME1 ROLLS
# NAME1 and ROLLS are what the program was started with (--name1, --rolls); the program must be
# showing a fresh two-player game.
import sys
import time

import pyatspi
from gi.repository import Atspi, GLib

TITLE_PREFIX = "Tavlo - Game created by "
DIE_NAME = "Roll the die"
MOVE_SECONDS = 10  # from pressing the die to the move's description
START_SECONDS = 20  # from the window showing to the program appearing on the bus

PLAYER2 = "Player 2"


def fail(message):
    print(f"FAIL: {message}", file=sys.stderr, flush=True)
    sys.exit(1)


def turns(ada):
    """The game the scripted rolls make, one turn a row: the mover's player number, the roll,
    the die's description after the move, the squares of players 1 and 2 afterwards (None: not
    yet on the board), and whose turn is next (None after the win)."""
    p2 = PLAYER2

    def moved(name, roll, square, next_name):
        return f"{name} rolled {roll} and moved to square {square}. {next_name}'s turn."

    return [
        (1, 6, moved(ada, 6, 6, p2), (6, None), p2),
        (2, 6, moved(p2, 6, 6, ada), (6, 6), ada),
        (1, 6, moved(ada, 6, 12, p2), (12, 6), p2),
        (2, 6, moved(p2, 6, 12, ada), (12, 12), ada),
        (1, 1, moved(ada, 1, 13, p2), (13, 12), p2),
        (2, 6, moved(p2, 6, 18, ada), (13, 18), ada),
        (1, 2, f"{ada} rolled 2: ladder from 15 up to 97. {ada} rolls again.", (97, 18), ada),
        (1, 1, moved(ada, 1, 98, p2), (98, 18), p2),
        (2, 6, f"{p2} rolled 6: snake from 24 down to 1. {ada}'s turn.", (98, 1), ada),
        (1, 2, f"{ada} rolled 2 and reached square 100. {ada} wins.", (100, 1), None),
    ]


def token_names(names, squares):
    """The four tokens' names, sorted, when players 1 and 2 stand on `squares` (None: not yet on
    the board)."""
    expected = []
    for k in range(1, 5):
        square = squares[k - 1] if k <= 2 else None
        if square is None:
            expected.append(f"Token of player {k}, not on the board")
        else:
            expected.append(f"Token of {names[k - 1]}, square {square}")
    return sorted(expected)


def describe(accessible):
    return f"{accessible.getRoleName()} {accessible.name!r}"


def walk(accessible):
    yield accessible
    for child in accessible:
        if child is not None:
            yield from walk(child)


def find_window():
    """The program's application and its main window, once the program has joined the bus."""
    deadline = time.monotonic() + START_SECONDS
    while time.monotonic() < deadline:
        desktop = pyatspi.Registry.getDesktop(0)
        for app in desktop:
            if app is None:
                continue
            for window in app:
                if window is not None and window.name.startswith(TITLE_PREFIX):
                    return app, window
        time.sleep(0.1)
    fail(f"no application with a window titled '{TITLE_PREFIX}...' joined the bus "
         f"within {START_SECONDS}s")


def showing(accessible):
    return accessible.getState().contains(pyatspi.STATE_SHOWING)


class Listener:
    """Follows the program on the bus: the names the die is given and the description it
    announces after a press, and which other objects were renamed before that announcement."""

    def __init__(self, die):
        self.die = die
        self.loop = GLib.MainLoop()
        self.done = None  # while waiting: tells whether the wait is over
        self.description = None  # the first description announced since the press
        self.announcements = 0  # description changes of the die since the press
        self.die_names = []  # the die's names heard since the press
        self.renamed = []  # other objects renamed between the press and the announcement
        pyatspi.Registry.registerEventListener(
            self.on_event,
            "object:property-change:accessible-description",
            "object:property-change:accessible-name",
        )

    def on_event(self, event):
        if self.done is None:
            return
        # The event only says what changed (Qt sends the object, not the new text); the new
        # text is read back, as a screen reader does.
        renaming = event.type.endswith("accessible-name")
        if event.source != self.die:
            if renaming and self.description is None:
                self.renamed.append(event.source)
        elif renaming:
            self.die_names.append(self.die.name)
        else:
            self.announcements += 1
            if self.description is None:
                self.description = self.die.description
        if self.done():
            self.loop.quit()

    def act(self, target, action, done, seconds):
        """Does `target`'s action number `action`, then waits until `done()` holds, checking
        after every event, for at most `seconds`. Returns whether `done()` came to hold."""
        # Hands out every event already sent, so none from before the action counts after it.
        context = GLib.MainContext.default()
        while context.pending():
            context.iteration(False)
        self.description = None
        self.announcements = 0
        self.die_names = []
        self.renamed = []
        self.done = done
        if not target.queryAction().doAction(action):
            fail(f"{describe(target)}: its action {action} reported failure")
        timed_out = []

        def give_up():
            timed_out.append(True)
            self.loop.quit()
            return False

        timer = GLib.timeout_add(seconds * 1000, give_up)
        # Events may already have been handed out while the action call waited for its answer.
        if not done():
            self.loop.run()
        if not timed_out:
            GLib.source_remove(timer)
        self.done = None
        return done()

    def roll(self, press):
        """Presses the die and waits for it to announce the move, then a moment more: a screen
        reader would speak a second announcement again."""
        if not self.act(self.die, press, lambda: self.description is not None, MOVE_SECONDS):
            fail(f"no description change on the die within {MOVE_SECONDS}s of pressing it; "
                 f"its names heard meanwhile: {self.die_names}")
        self.done = lambda: False
        GLib.timeout_add(300, lambda: self.loop.quit() or False)
        self.loop.run()
        self.done = None
        if self.announcements != 1:
            fail(f"the die announced the move {self.announcements} times")


def action_index(accessible, name):
    action = accessible.queryAction()
    actions = [action.getName(i) for i in range(action.nActions)]
    if name not in actions:
        fail(f"{describe(accessible)} has no {name} action, only {actions}")
    return actions.index(name)


def main():
    if len(sys.argv) != 3:
        fail("usage: accessibility_client.py NAME1 ROLLS")
    ada, rolls = sys.argv[1], sys.argv[2]
    game = turns(ada)
    if rolls != ",".join(str(turn[1]) for turn in game):
        fail(f"the program was started with rolls {rolls}, this game needs others")
    names = (ada, PLAYER2)

    app, window = find_window()
    # Every read goes to the program, so nothing is judged on a stale copy.
    app.set_cache_mask(Atspi.Cache.NONE)
    objects = list(walk(window))

    dice = [o for o in objects if o.getRole() == pyatspi.ROLE_PUSH_BUTTON and o.name == DIE_NAME]
    if len(dice) != 1:
        candidates = [f"{describe(o)} (description {o.description!r})" for o in objects
                      if "die" in o.name.lower() or "die" in o.description.lower()]
        fail(f"expected one push button named '{DIE_NAME}', found {len(dice)}; "
             f"objects that mention the die: {candidates}")
    die = dice[0]
    if not die.getState().contains(pyatspi.STATE_FOCUSED):
        focused = [describe(o) for o in objects
                   if o.getState().contains(pyatspi.STATE_FOCUSED)]
        fail(f"the die does not have the keyboard focus; focused: {focused}")
    press = action_index(die, "Press")

    tokens = [o for o in objects if o.name.startswith("Token of")]
    if len(tokens) != 4:
        fail(f"expected four tokens, found {[describe(o) for o in tokens]}")

    def tokens_read(squares):
        return sorted(o.name for o in tokens) == token_names(names, squares)

    def check_tokens(squares, when):
        if not tokens_read(squares):
            fail(f"{when}: the tokens are named {sorted(o.name for o in tokens)}, expected "
                 f"{token_names(names, squares)}")

    check_tokens((None, None), "before the first roll")

    turn_labels = [o for o in objects if o.getRole() == pyatspi.ROLE_LABEL and
                   o.name.endswith("Turn")]
    if len(turn_labels) != 1:
        fail(f"expected one label saying whose turn it is, found "
             f"{[describe(o) for o in turn_labels]}")
    turn_label = turn_labels[0]
    early_winners = [describe(o) for o in objects if o.name.endswith("Wins") and showing(o)]
    if early_winners:
        fail(f"a winner shows before the game has begun: {early_winners}")

    listener = Listener(die)
    shown_turn = turn_label.name
    for number, (player, roll, expected, squares, next_name) in enumerate(game, start=1):
        mover = names[player - 1]
        listener.roll(press)
        if listener.description != expected:
            fail(f"turn {number} ({mover} rolls {roll}): the die announced "
                 f"{listener.description!r}, expected {expected!r}")
        if listener.die_names:
            fail(f"turn {number}: the die's name changed {len(listener.die_names)} times while "
                 f"it rolled, read back as {listener.die_names}")
        if die.name != DIE_NAME:
            fail(f"turn {number}: the die is named {die.name!r} after the move, not "
                 f"'{DIE_NAME}'")
        check_tokens(squares, f"after turn {number}")
        # The announcement ends the move: what the move changed was renamed before it, so a
        # screen reader asking right away hears the new squares.
        moved_name = f"Token of {mover}, square {squares[player - 1]}"
        moved = next(o for o in tokens if o.name == moved_name)
        if moved not in listener.renamed:
            fail(f"turn {number}: the die announced the move before the token was renamed "
                 f"'{moved_name}'")
        if next_name is not None:
            expected_turn = f"{next_name}'s  Turn"
            if turn_label.name != expected_turn:
                fail(f"after turn {number}: the turn label reads {turn_label.name!r}, expected "
                     f"{expected_turn!r}")
            if expected_turn != shown_turn and turn_label not in listener.renamed:
                fail(f"turn {number}: the die announced the move before the turn label changed "
                     f"to {expected_turn!r}")
            shown_turn = expected_turn
        print(f"turn {number}: heard {listener.description!r}", flush=True)

    winners = [o for o in walk(window) if o.name.endswith("Wins") and showing(o)]
    expected_winner = f"{ada}  Wins"
    if [(o.getRole(), o.name) for o in winners] != [(pyatspi.ROLE_LABEL, expected_winner)]:
        fail(f"after the win, expected one label {expected_winner!r}, found "
             f"{[describe(o) for o in winners]}")
    print(f"the winner label reads {expected_winner!r}", flush=True)

    # New Game takes every token off the board again.
    new_games = [o for o in walk(window)
                 if o.getRole() == pyatspi.ROLE_PUSH_BUTTON and o.name == "New Game"]
    if len(new_games) != 1:
        fail(f"expected one New Game button, found {[describe(o) for o in new_games]}")
    listener.act(new_games[0], action_index(new_games[0], "Press"),
                 lambda: tokens_read((None, None)), MOVE_SECONDS)
    check_tokens((None, None), f"{MOVE_SECONDS}s after New Game")
    print("New Game: every token is off the board", flush=True)


if __name__ == "__main__":
    main()
