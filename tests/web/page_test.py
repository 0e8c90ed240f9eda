#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The game's web page in Debian's headless Chromium, served from 127.0.0.1 by Python's plain file
server, with no special headers:
- the game's window fills the page, whose title is the window's; the console stays quiet;
- without scripts, or without WebAssembly, the page says what the game needs;
- the scripted window plays a whole game by real mouse clicks, move for move as the Linux build
  plays it, and Exit ends the program: the page says so and offers a new game;
- the board is the Linux build's, pixel for pixel but for the square numbers, at the win at
  device scale 1 and at the start at device scale 2;
- Tab and Space reach the die and roll it; the accessibility tree has the controls' names and
  roles; a name typed as markup stays text;
- once loaded, the page starts again from its service worker with the server gone.

Usage: page_test.py <page folder> <same, with the scripted window> <folder for screenshots,
                    with the Linux build's moves and windows from tests/web/linux_game.sh>"""

import contextlib
import pathlib
import sys

from PIL import Image, ImageChops, ImageDraw

from chromium import Chromium, Failure, served, stop, wait_until

TITLE = "Tavlo - Game created by "
# Qt puts its windows in a shadow tree of the container.
SHADOW = "document.getElementById('qt-shadow-container')?.shadowRoot"
# The window on the page, with its title.
LOADED = (f"document.title.startsWith('{TITLE}') && "
          f"{SHADOW}?.querySelector('.qt-window') != null")
# Window-relative places of the controls the test clicks (tests/xvfb/lib.sh); the window fills
# the page from its top left.
DIE = (856, 144)
NEW_GAME = (860, 34)
EXIT = (860, 676)
NAME1 = (834, 508)
# At device scale 2, the most pixels of the window that may differ from the Linux build's: a few
# edges of the text (253 when measured). A fallback font's text differs in some 100,000.
TEXT_BOUND = 2000
# What a screen reader's user finds in the browser's tree: (role, name).
CONTROLS = [("button", "Roll the die"), ("button", "New Game"), ("button", "Exit")] + [
    ("radio", f"{n} Players") for n in (2, 3, 4)] + [
    ("textbox", f"Name of player {n}") for n in (1, 2, 3, 4)]
# A player's name that would run a script, and make elements, were it taken as HTML.
HOSTILE = '<img src=x onerror="window.typedNameRan=true"><b>Bo</b>'
# What the console may not say.
PROBLEMS = ("error", "warning", "assert", "exception", "log error", "log warning")

# Two players: 6, 1, 6, 1, then 3 onto the ladder from 15 to 97, its extra turn, 3 to 100.
ROLLS = "6,1,6,1,3,3"
WON = "moved | Player 2's  Turn | Player 1  Wins"


def scripted_window(address, *arguments):
    return f"{address}?program=scripted_window" + "".join(f"&arg={a}" for a in arguments)


@contextlib.contextmanager
def window(url, when, scale=1):
    """A fresh Chromium at device scale `scale` with the page at `url` loaded and its window on
    it; the console must have stayed quiet by the end of the block (`when`)."""
    with Chromium(scale) as browser:
        browser.navigate(url)
        wait_until("the window, with its title, on the page", lambda: browser.evaluate(LOADED),
                   timeout=180)
        yield browser
        problems = [f"{kind}: {text}" for kind, text in browser.console() if kind in PROBLEMS]
        if problems:
            raise Failure(f"{when}, the console says:\n  " + "\n  ".join(problems))


def click(browser, place):
    for kind in ("mouseMoved", "mousePressed", "mouseReleased"):
        browser.call("Input.dispatchMouseEvent", {"type": kind, "x": place[0], "y": place[1],
                                                  "button": "left", "clickCount": 1})


def press(browser, *keys):
    """Presses and releases each key given in turn: Tab, Shift+Tab or Space."""
    for name in keys:
        code = name.removeprefix("Shift+")
        key, number = {"Tab": ("Tab", 9), "Space": (" ", 32)}[code]
        event = {"key": key, "code": code, "windowsVirtualKeyCode": number,
                 "modifiers": 8 if name.startswith("Shift+") else 0}
        # Space types a character; Tab goes down as a bare key.
        down = {"type": "keyDown", "text": key} if code == "Space" else {"type": "rawKeyDown"}
        browser.call("Input.dispatchKeyEvent", {**event, **down})
        browser.call("Input.dispatchKeyEvent", {**event, "type": "keyUp"})


def tree_values(browser):
    """The browser's accessibility tree: ((role, name), value) of each node it does not
    ignore."""
    return [((n.get("role", {}).get("value"), n.get("name", {}).get("value")),
             n.get("value", {}).get("value"))
            for n in browser.call("Accessibility.getFullAXTree")["nodes"] if not n.get("ignored")]


def moves(browser):
    return [text for kind, text in browser.console() if kind in ("log", "info") and
            text.startswith("moved")]


def differing(first, second):
    """The difference of two pictures, and the number of its pixels that differ."""
    difference = ImageChops.difference(first, second)
    return difference, sum(1 for pixel in difference.getdata() if pixel != (0, 0, 0))


def board(picture, scale):
    """The board of a window picture at device scale `scale`, its square numbers blacked out:
    each is text, at most 44x20 pixels at its square's top left."""
    image = Image.open(picture).convert("RGB")
    draw = ImageDraw.Draw(image)
    for row in range(10):
        for column in range(10):
            x = scale * (56 + int(column * 1000 / 15 + 0.5))
            y = scale * (24 + int(row * 1000 / 15 + 0.5))
            draw.rectangle((x, y, x + scale * 44, y + scale * 20), fill="black")
    return image.crop((56 * scale, 24 * scale, (56 + 667) * scale, (24 + 667) * scale))


def same_board(web, linux, scale):
    difference, count = differing(board(web, scale), board(linux, scale))
    if count:
        difference.point(lambda v: 255 if v else 0).save(f"{web}.board-difference.png")
        raise Failure(f"{count} pixels of the board at scale {scale} (numbers aside) differ "
                      f"from the Linux build's: {web}.board-difference.png")


def started_page(address, shots):
    with window(address, "at the start") as browser:
        title = browser.evaluate("document.title")
        browser.screenshot(shots / "started.png")
    print(f"PASS: the page shows the window, with its title ({title!r}); the console is quiet")


def without(address):
    """Without scripts, and without WebAssembly, the page says what the game needs."""
    with Chromium() as browser:
        def says(words):
            return words in browser.evaluate("document.body?.innerText ?? ''")

        browser.call("Emulation.setScriptExecutionDisabled", {"value": True})
        browser.navigate(address)
        wait_until("the page's word on scripts", lambda: says("needs JavaScript"))
        browser.call("Emulation.setScriptExecutionDisabled", {"value": False})
        browser.call("Page.addScriptToEvaluateOnNewDocument",
                     {"source": "delete globalThis.WebAssembly;"})
        browser.navigate(address + "?again")
        wait_until("the page's word on WebAssembly", lambda: says("needs WebAssembly"))
    print("PASS: without scripts, or without WebAssembly, the page says what the game needs")


def whole_game(address, shots):
    url = scripted_window(address, "--report", "--pause-percent", "0", "--rolls", ROLLS)
    with window(url, "after a whole game and Exit") as browser:
        for n in range(1, len(ROLLS.split(",")) + 1):
            click(browser, DIE)
            wait_until(f"move {n}", lambda: len(moves(browser)) >= n, timeout=30)
        played = moves(browser)
        # (The winner's label flashes: the page never settles.)
        browser.screenshot(shots / "won.png", settled=False)
        if played[-1] != WON:
            raise Failure("the game did not end in player 1's win:\n  " + "\n  ".join(played))
        if played != (shots / "linux.moves").read_text().splitlines():
            raise Failure("the moves differ from the Linux build's:\n  " + "\n  ".join(played))
        same_board(shots / "won.png", shots / "linux-won.png", 1)
        click(browser, NEW_GAME)
        click(browser, EXIT)
        wait_until("the page's word that the game has ended", lambda: browser.evaluate(
            "!document.getElementById('message').hidden && "
            "document.getElementById('message').textContent"), timeout=30)
        said = browser.evaluate("document.getElementById('message').innerText")
        if "The game has ended." not in said or not browser.evaluate(
                "document.getElementById('new-game') !== null"):
            raise Failure(f"after Exit the page says: {said!r}")
        browser.screenshot(shots / "ended.png")
    print(f"PASS: a whole game by clicks, {len(played)} moves as on Linux, with its board, to"
          " player 1's win; Exit ends the program and the page offers a new game")


def scaled(address, shots):
    with window(scripted_window(address), "at device scale 2", scale=2) as browser:
        browser.screenshot(shots / "start2.png")
    same_board(shots / "start2.png", shots / "linux-start2.png", 2)
    # The rest differs only in how the text is drawn: fewer pixels than with another font.
    box = (0, 0, 985 * 2, 702 * 2)
    web = Image.open(shots / "start2.png").convert("RGB").crop(box)
    text, fallback = (differing(web, Image.open(shots / name).convert("RGB").crop(box))[1]
                      for name in ("linux-start2.png", "linux-start2-fallback.png"))
    if not text <= TEXT_BOUND < fallback:
        raise Failure(f"{text} pixels of the window differ from the Linux build's, and "
                      f"{fallback} from its window with a fallback font: the bound is "
                      f"{TEXT_BOUND}")
    print(f"PASS: at device scale 2 the board is the Linux build's; {text} pixels of the"
          f" window differ, in text (bound {TEXT_BOUND}; with a fallback font {fallback})")


def keyboard_and_screen_reader(address):
    """The keyboard from a fresh page; then what a screen reader finds there: the controls in
    the browser's tree, a player's name as typed, and the news in the live region."""
    url = scripted_window(address, "--report", "--pause-percent", "0", "--rolls", "6,1,6")
    with window(url, "with the screen reader's tree") as browser:
        # A fresh page has the die in focus; Tab takes the focus to the number of players
        # (where Space rolls nothing), Shift+Tab back to the die, where Space rolls.
        press(browser, "Tab", "Space", "Shift+Tab", "Space")
        wait_until("a move rolled by Space", lambda: moves(browser), timeout=30)
        if len(moves(browser)) != 1:
            raise Failure(f"Space rolled away from the die: {moves(browser)}")
        # And there again after going round by Tab and back.
        press(browser, "Tab", "Tab", "Shift+Tab", "Shift+Tab", "Space")
        wait_until("a move rolled by Space back on the die", lambda: len(moves(browser)) == 2,
                   timeout=30)
        print("PASS: Space rolls from the die in a fresh page; Tab leaves it, Shift+Tab comes back")

        # Qt's accessibility starts when the user presses its button, hidden but for screen
        # readers.
        browser.evaluate(f"{SHADOW}.querySelector('.qt-window-a11y-container button').click()")
        tree = wait_until("the controls in the accessibility tree", lambda: (t := {
            (role, (name or "").strip()) for (role, name), _ in tree_values(browser)}) and
            ("button", "Roll the die") in t and t)
        missing = [c for c in CONTROLS if c not in tree]
        if missing:
            raise Failure(f"the accessibility tree lacks {missing}; it has {sorted(tree)}")
        # In a new game, a name typed as markup stays text, in the window and in the page: no
        # element of it is made, and its script never runs.
        click(browser, NEW_GAME)
        click(browser, NAME1)
        browser.call("Input.insertText", {"text": HOSTILE})
        value = wait_until("the typed name in the tree", lambda: next(
            (v for (role, name), v in tree_values(browser) if name == "Name of player 1" and
             HOSTILE in (v or "")), None))
        click(browser, DIE)
        news = wait_until("the news in the live region", lambda: HOSTILE in (
            n := browser.evaluate("document.getElementById('news').textContent")) and n)
        made = browser.evaluate(f"{SHADOW}.querySelectorAll('img:not(.image-button img), b')"
                                ".length + document.querySelectorAll('#news *').length")
        if made or browser.evaluate("window.typedNameRan === true"):
            raise Failure(f"the typed name became markup: {made} elements, news {news!r}")
    print(f"PASS: the tree has {', '.join(f'{r} {n!r}' for r, n in CONTROLS)}; a name typed"
          f" as markup stays text ({value!r}); the news is in the live region: {news!r}")


def offline(page, shots):
    with served(page) as server, window(server.url, "offline") as browser:
        wait_until("the service worker in control", lambda: browser.evaluate(
            "navigator.serviceWorker.controller !== null"))
        # No network at all: the server is gone, and the browser is offline.
        stop(server)
        browser.call("Network.enable")
        browser.call("Network.emulateNetworkConditions", {
            "offline": True, "latency": 0, "downloadThroughput": -1, "uploadThroughput": -1})
        browser.call("Page.reload")
        wait_until("the page to go", lambda: not browser.evaluate(
            "document.title").startswith(TITLE), timeout=30)
        wait_until("the window again, offline", lambda: browser.evaluate(LOADED), timeout=180)
        browser.screenshot(shots / "offline.png")
    print("PASS: with the server gone, the page starts again from its service worker")


def main():
    sys.stdout.reconfigure(line_buffering=True)
    page, scripted, shots = sys.argv[1], sys.argv[2], pathlib.Path(sys.argv[3])
    with served(page) as server:
        started_page(server.url, shots)
        without(server.url)
    with served(scripted) as server:
        whole_game(server.url, shots)
        scaled(server.url, shots)
        keyboard_and_screen_reader(server.url)
    offline(page, shots)


if __name__ == "__main__":
    try:
        main()
    except Failure as failure:
        print(f"FAIL: {failure}", file=sys.stderr)
        sys.exit(1)
