# SPDX-License-Identifier: GPL-3.0-or-later
# Plays a scripted two-player game the way a blind player does: by keys alone, through the X
# server, listening to Orca. Through the accessibility bus it also checks what the tokens are
# called, whose turn the label names, and the winner label.
#   python3 accessibility_client.py NAME1 ROLLS SPOKEN
# NAME1 and ROLLS are what the program was started with (--name1, --rolls); SPOKEN is the file
# that Orca's speech goes to, one line an utterance. The program must be showing a fresh
# two-player game, with the keyboard and Orca's attention.
import re
import subprocess
import sys
import time

import pyatspi
from gi.repository import Atspi

WINDOW_NAME = "Tavlo"
DIE_NAME = "Roll the die"
SPEECH_SECONDS = 10  # from a key to what Orca says about it, a whole move included
START_SECONDS = 20  # from the window showing to the program appearing on the bus

PLAYER2 = "Player 2"


def fail(message):
    print(f"FAIL: {message}", file=sys.stderr, flush=True)
    sys.exit(1)


def poll(check, seconds, pause=0.05):
    """Calls `check` until what it returns is true or `seconds` have passed; returns that."""
    deadline = time.monotonic() + seconds
    while not (result := check()) and time.monotonic() < deadline:
        time.sleep(pause)
    return result


def turns(ada):
    """The game the scripted rolls make, one turn a row: the mover's player number, the roll,
    what Orca says when the move ends, the squares of players 1 and 2 afterwards (None: not yet
    on the board), and whose turn is next (None after the win)."""
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
        (1, 2, f"{ada} rolled 2 and reached square 100. {ada} wins. "
               "Press New Game to play again.", (100, 1), None),
    ]


def check_tokens(tokens, names, squares, when):
    """Fails unless the tokens are the two players', named for `names` on `squares` (None: not yet
    on the board). The tokens of players 3 and 4 take no part and are not there."""
    expected = sorted(f"Token of {name}, " + ("not on the board" if square is None else
                                              f"square {square}")
                      for name, square in zip(names, squares))
    if sorted(o.name for o in tokens) != expected:
        fail(f"{when}: the tokens are named {sorted(o.name for o in tokens)}, expected {expected}")


# Lines of nothing but Orca's own words: its roles and states are lower case, while every text of
# the game holds a capital letter or a digit; and Orca 51 names the key that presses a focused
# button.
ORCAS_OWN_WORDS = re.compile(r"[a-z][a-z ]*\.?|Enter")


def said(sentence):
    """The game's own sentence, to be heard once: a line that ends with it, after whatever the
    screen reader puts before it (Orca 43 says "notification" before a notification's text)."""
    return sentence_pattern(re.escape(sentence))


def described(text):
    """A control's description or tooltip, heard once: Orca 51 leaves out its full stop."""
    return sentence_pattern(re.escape(text.removesuffix(".")) + r"\.?")


def sentence_pattern(pattern):
    return re.compile(r"(?:.* )?" + pattern), True


def starts(words):
    """Lines that begin with a control's name and go on in the screen reader's own words, which
    differ between its versions ("push button", "button", "selected radio button")."""
    return re.compile(re.escape(words) + r"\b.*"), False


def describe(accessible):
    return f"{accessible.getRoleName()} {accessible.name!r}"


def walk(accessible):
    yield accessible
    for child in accessible:
        if child is not None:
            yield from walk(child)


def find_window():
    """The program's main window and the version of its Qt, once the program has joined the
    bus."""
    def joined():
        for app in pyatspi.Registry.getDesktop(0):
            for window in app or []:
                if window is not None and window.name == WINDOW_NAME:
                    # Every read goes to the program, so nothing is judged on a stale copy.
                    app.set_cache_mask(Atspi.Cache.NONE)
                    version = app.get_toolkit_version().split(".")
                    return window, (int(version[0]), int(version[1]))
    return poll(joined, START_SECONDS, 0.1) or fail(
        f"no window named '{WINDOW_NAME}' joined the bus within {START_SECONDS}s")


def spoken(mark=0):
    """What Orca has said since its line `mark`, read from the file its speech goes to."""
    with open(sys.argv[3], encoding="utf-8") as lines:
        return lines.read().splitlines()[mark:]


def wait_for(expected, mark=0):
    """Waits until each pattern of `expected` matches a line said since line `mark`; returns
    those lines."""
    poll(lambda: all(any(map(w.fullmatch, spoken(mark))) for w, _ in expected), SPEECH_SECONDS)
    return spoken(mark)


def hear(key, expected, what):
    """Presses `key` (or keys, separated by spaces) and waits until Orca has said what
    `expected` asks for: each of the game's sentences (`said`) exactly once, and Orca's words
    about a control (`starts`) at least once, however Orca's version words and splits them.
    Every line since the key must be one of these, or Orca's own words alone, such as a role
    or a state ("notification", "selected radio button"): anything more (a repeat, a die
    face) is a failure, caught here or, if it comes late, after the next key."""
    mark = len(spoken())
    subprocess.run(["xdotool", "key", "--clearmodifiers", *key.split()], check=True)
    heard = wait_for(expected, mark)
    counts = [sum(1 for line in heard if wanted.fullmatch(line)) for wanted, _ in expected]
    stray = [line for line in heard if not any(w.fullmatch(line) for w, _ in expected) and
             not ORCAS_OWN_WORDS.fullmatch(line)]
    wrong = [w.pattern for (w, once), n in zip(expected, counts) if n == 0 or once and n > 1]
    if stray or wrong:
        fail(f"{what}: after {key} Orca said {heard}; not as expected: {stray + wrong}")
    print(f"{what}: Orca said {heard}", flush=True)


def main():
    ada, rolls = sys.argv[1:3]
    game = turns(ada)
    if rolls != ",".join(str(turn[1]) for turn in game):
        fail(f"the program was started with rolls {rolls}, this game needs others")
    names = (ada, PLAYER2)

    window, qt = find_window()
    # From Qt 6.5 on, a screen reader hears a new description with its change and Orca speaks
    # it: the die then tells nothing beyond its name, and the news come by announcement alone.
    # Before, the die's description repeats the news, for Orca to read with the die.
    by_description = qt < (6, 5)

    def die_tells(sentence):
        return [described(sentence)] if by_description else []

    # What Orca reads with the die: its name, then its description, or else its tooltip.
    tooltip = "Dice"
    die_heard = [starts(DIE_NAME)] + ([] if by_description else [described(tooltip)])
    print(f"Qt {qt[0]}.{qt[1]}: the die's description "
          f"{'tells' if by_description else 'does not tell'} the news", flush=True)
    objects = list(walk(window))
    dice = [o for o in objects if o.getRole() == pyatspi.ROLE_PUSH_BUTTON and o.name == DIE_NAME]
    if len(dice) != 1:
        fail(f"expected one push button named '{DIE_NAME}', found {[describe(o) for o in dice]}")
    die = dice[0]
    boards = [o for o in objects if o.name == "Board"]
    tokens = [o for o in objects if o.name.startswith("Token of")]
    turn_labels = [o for o in objects if o.getRole() == pyatspi.ROLE_LABEL and
                   o.name.endswith("Turn")]
    if len(boards) != 1 or len(tokens) != 2 or len(turn_labels) != 1:
        fail(f"expected the board, two tokens and one whose-turn label, found "
             f"{[describe(o) for o in boards + tokens + turn_labels]}")
    # Exploring the board, a screen reader meets the squares and the tokens in the game, and
    # nothing unnamed: not the tokens of players who take no part.
    unnamed = [describe(o) for o in boards[0] if o is not None and not o.name and
               o.getState().contains(pyatspi.STATE_SHOWING)]
    if unnamed:
        fail(f"the board shows unnamed objects: {unnamed}")

    # The window opened with the die focused: Orca named the game, not the web address in the
    # title, then the die and whose turn it is (player 1's name was typed after the window
    # opened, as a player would).
    first_turn = "Player 1's turn."
    wanted = [starts(WINDOW_NAME)] + die_heard + die_tells(first_turn)
    opening = wait_for(wanted)
    missing = [w.pattern for w, _ in wanted if not any(map(w.fullmatch, opening))]
    if missing:
        fail(f"on opening, Orca said nothing like {missing}: {opening}")
    if any("http" in line for line in opening):
        fail(f"on opening, Orca read out the web address: {opening}")
    # The tokens take the names typed when the first roll locks them.
    check_tokens(tokens, ("Player 1", PLAYER2), (None, None), "before the first roll")

    # Into the options, which say their group, and back to the die.
    hear("Tab", [starts("Number of players"), starts("2 Players")], "the options")
    hear("shift+Tab", die_heard + die_tells(first_turn), "back to the die")

    for number, (player, roll, told, squares, next_name) in enumerate(game, start=1):
        hear("space", [said(told)], f"turn {number} ({names[player - 1]} {roll})")
        check_tokens(tokens, names, squares, f"after turn {number}")
        if next_name is not None and turn_labels[0].name != f"{next_name}'s  Turn":
            fail(f"after turn {number}: the turn label reads {turn_labels[0].name!r}")
        if die.description != (told if by_description else tooltip):
            fail(f"after turn {number}: the die's description is {die.description!r}")
        if number == 1:
            # Asked where the player is, Orca reads the die, with the last move where it can.
            hear("KP_Enter", die_heard + die_tells(told), "Where Am I")

    winners = [o for o in walk(window) if o.name.endswith("Wins") and
               o.getState().contains(pyatspi.STATE_SHOWING)]
    if [(o.getRole(), o.name) for o in winners] != [(pyatspi.ROLE_LABEL, f"{ada}  Wins")]:
        fail(f"after the win, expected one label '{ada}  Wins', found "
             f"{[describe(o) for o in winners]}")

    # The game is over: the die moves nothing, and says so. The setup is locked, so Tab goes
    # straight to New Game; pressed, it hands the focus back to the die, which tells the news.
    won = f"{ada} wins. Press New Game to play again."
    hear("space", [said(won)], "the die after the win")
    new_game = [starts("New Game"), described("Start a new two-player game, keeping the names.")]
    hear("Tab", new_game, "New Game's button")
    news = f"New game. {ada}'s turn."
    hear("space", die_heard + [said(news)], "New Game")
    check_tokens(tokens, names, (None, None), "after New Game")
    # Ctrl+N on the die, which keeps the focus, while it rolls: the news are announced instead,
    # and the roll is dropped, so Space rolls for Ada from the start.
    hear("space ctrl+n", [said(news)], "Ctrl+N mid-roll")
    # (The script of rolls is spent: the winner's flash draws on the same die.)
    last = sentence_pattern(rf"{re.escape(ada)} rolled ([1-6]) and moved to square \1\. "
                            rf"{PLAYER2}'s turn\.")
    hear("space", [last], "Space after Ctrl+N")
    # Anything the move said late would come before what the next keys bring: past New Game and
    # Exit to the first title bar, a heading.
    hear("Tab", new_game, "after the last move")
    hear("Tab", [starts("Exit"), described("Close the game.")], "Exit's button")
    heading = starts("Select Number of Players")
    hear("Tab", [heading], "the first heading")
    if die.getRole() != pyatspi.ROLE_PUSH_BUTTON or not [
            o for o in objects
            if o.getRole() == pyatspi.ROLE_HEADING and heading[0].fullmatch(o.name)]:
        fail("the die is no longer a push button, or the title bar no heading")


if __name__ == "__main__":
    main()
