#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The game's web page in Debian's headless Chromium, served from 127.0.0.1 by Python's plain file
server, with no special headers:
- the game's window fills the page, whose title is the window's; the console stays quiet;
- the scripted window plays a whole game by real mouse clicks, move for move as the Linux build
  plays it, and Exit ends the program: the page says so and offers a new game;
- Tab and Space reach the die and roll it; the accessibility tree has the controls' names and
  roles;
- once loaded, the page starts again from its service worker with the server gone.

- the board is the Linux build's, pixel for pixel but for the square numbers, at the win at
  device scale 1 and at the start at device scale 2.

Usage: page_test.py <page folder> <same, with the scripted window> <folder for screenshots>
                    [<the Linux build's moves and windows, from tests/web/linux_game.sh>]"""

import functools
import http.server
import pathlib
import sys
import threading

from PIL import Image, ImageChops, ImageDraw

from chromium import Chromium, Failure, wait_until

TITLE = "Tavlo - Game created by "
# Qt puts its windows in a shadow tree of the container.
SHADOW = "document.getElementById('qt-shadow-container')?.shadowRoot"
WINDOW = f"{SHADOW}?.querySelector('.qt-window') != null"
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

# Two players: 6, 1, 6, 1, then 3 onto the ladder from 15 to 97, its extra turn, 3 to 100.
ROLLS = "6,1,6,1,3,3"
WON = "moved | Player 2's  Turn | Player 1  Wins"


def serve(folder):
    """Python's plain static file server on a free port of 127.0.0.1, on a thread of its own."""

    class Quiet(http.server.SimpleHTTPRequestHandler):
        def log_message(self, *args):
            pass

    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0),
                                             functools.partial(Quiet, directory=folder))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server, f"http://127.0.0.1:{server.server_address[1]}/"


def stop(server):
    server.shutdown()
    server.server_close()


def open_window(browser, url):
    """Loads the page and waits for the window on it; returns the page's title."""
    browser.navigate(url)
    title = wait_until("the window's title on the page", lambda: (
        t := browser.evaluate("document.title")).startswith(TITLE) and t, timeout=180)
    wait_until("the window on the page", lambda: browser.evaluate(
        WINDOW))
    return title


def click(browser, place):
    x, y = place
    for kind in ("mouseMoved", "mousePressed", "mouseReleased"):
        browser.call("Input.dispatchMouseEvent", {"type": kind, "x": x, "y": y,
                                                  "button": "left", "clickCount": 1})


def key(browser, name, code, number, text=None, modifiers=0):
    down = {"type": "keyDown" if text else "rawKeyDown", "key": name, "code": code,
            "windowsVirtualKeyCode": number, "modifiers": modifiers}
    if text:
        down["text"] = text
    browser.call("Input.dispatchKeyEvent", down)
    browser.call("Input.dispatchKeyEvent", {"type": "keyUp", "key": name, "code": code,
                                            "windowsVirtualKeyCode": number,
                                            "modifiers": modifiers})


def tree_values(browser):
    """The browser's accessibility tree: ((role, name), value) of each node it does not
    ignore."""
    return [((n.get("role", {}).get("value"), n.get("name", {}).get("value")),
             n.get("value", {}).get("value"))
            for n in browser.call("Accessibility.getFullAXTree")["nodes"] if not n.get("ignored")]


def controls(browser):
    return {(role, (name or "").strip()) for (role, name), _ in tree_values(browser)}


def moves(browser):
    return [line for line in browser.console_lines() if line.startswith("moved")]


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
    difference = ImageChops.difference(board(web, scale), board(linux, scale))
    differing = sum(1 for pixel in difference.getdata() if pixel != (0, 0, 0))
    if differing:
        difference.point(lambda v: 255 if v else 0).save(f"{web}.board-difference.png")
        raise Failure(f"{differing} pixels of the board at scale {scale} (numbers aside) differ "
                      f"from the Linux build's: {web}.board-difference.png")


def differing(first, second, box):
    """The number of pixels in `box` that differ between two pictures."""
    difference = ImageChops.difference(Image.open(first).convert("RGB").crop(box),
                                       Image.open(second).convert("RGB").crop(box))
    return sum(1 for pixel in difference.getdata() if pixel != (0, 0, 0))


def check_console(browser, when):
    problems = browser.console_problems()
    if problems:
        raise Failure(f"{when}, the console says:\n  " + "\n  ".join(problems))


def started_page(address, shots):
    browser = Chromium()
    try:
        title = open_window(browser, address)
        browser.screenshot(shots / "started.png")
        check_console(browser, "at the start")
        print(f"PASS: the page shows the window, with its title ({title!r}); the console is quiet")
    finally:
        browser.close()


def without(address):
    """Without scripts, and without WebAssembly, the page says what the game needs."""
    browser = Chromium()
    try:
        browser.call("Emulation.setScriptExecutionDisabled", {"value": True})
        browser.navigate(address)
        wait_until("the page's word on scripts", lambda: "needs JavaScript" in browser.evaluate(
            "document.body?.innerText ?? ''"))
        browser.call("Emulation.setScriptExecutionDisabled", {"value": False})
        browser.call("Page.addScriptToEvaluateOnNewDocument",
                     {"source": "delete globalThis.WebAssembly;"})
        browser.navigate(address + "?again")
        wait_until("the page's word on WebAssembly", lambda: "needs WebAssembly" in
                   browser.evaluate("document.body?.innerText ?? ''"))
        print("PASS: without scripts, or without WebAssembly, the page says what the game needs")
    finally:
        browser.close()


def whole_game(address, shots, linux):
    browser = Chromium()
    try:
        query = "&".join(f"arg={a}" for a in
                         ("--report", "--pause-percent", "0", "--rolls", ROLLS))
        open_window(browser, f"{address}?program=scripted_window&{query}")
        for n in range(1, len(ROLLS.split(",")) + 1):
            click(browser, DIE)
            wait_until(f"move {n}", lambda: len(moves(browser)) >= n, timeout=30)
        played = moves(browser)
        # (The winner's label flashes: the page never settles.)
        browser.screenshot(shots / "won.png", settled=False)
        if played[-1] != WON:
            raise Failure("the game did not end in player 1's win:\n  " + "\n  ".join(played))
        if linux:
            if played != (linux / "linux.moves").read_text().splitlines():
                raise Failure("the moves differ from the Linux build's:\n  " + "\n  ".join(played))
            same_board(shots / "won.png", linux / "linux-won.png", 1)
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
        check_console(browser, "after a whole game and Exit")
        print(f"PASS: a whole game by clicks, {len(played)} moves"
              f"{' as on Linux, with its board' if linux else ''}, to player 1's win; Exit"
              " ends the program and the page offers a new game")
    finally:
        browser.close()


def scaled(address, shots, linux):
    browser = Chromium(scale=2)
    try:
        open_window(browser, f"{address}?program=scripted_window")
        browser.screenshot(shots / "start2.png")
        same_board(shots / "start2.png", linux / "linux-start2.png", 2)
        # The rest differs only in how the text is drawn: fewer pixels than with another font.
        window = (0, 0, 985 * 2, 702 * 2)
        text = differing(shots / "start2.png", linux / "linux-start2.png", window)
        fallback = differing(shots / "start2.png", linux / "linux-start2-fallback.png", window)
        if not text <= TEXT_BOUND < fallback:
            raise Failure(f"{text} pixels of the window differ from the Linux build's, and "
                          f"{fallback} from its window with a fallback font: the bound is "
                          f"{TEXT_BOUND}")
        check_console(browser, "at device scale 2")
        print(f"PASS: at device scale 2 the board is the Linux build's; {text} pixels of the"
              f" window differ, in text (bound {TEXT_BOUND}; with a fallback font {fallback})")
    finally:
        browser.close()


def keyboard_and_screen_reader(address):
    """The keyboard from a fresh page; then what a screen reader finds there: the controls in
    the browser's tree, a player's name as typed, and the news in the live region."""
    browser = Chromium()
    try:
        query = "&".join(f"arg={a}" for a in ("--report", "--pause-percent", "0", "--rolls",
                                               "6,1,6"))
        open_window(browser, f"{address}?program=scripted_window&{query}")
        # A fresh page has the die in focus; Tab takes the focus to the number of players
        # (where Space rolls nothing), Shift+Tab back to the die, where Space rolls.
        key(browser, "Tab", "Tab", 9)
        key(browser, " ", "Space", 32, " ")
        key(browser, "Tab", "Tab", 9, modifiers=8)
        key(browser, " ", "Space", 32, " ")
        wait_until("a move rolled by Space", lambda: moves(browser), timeout=30)
        if len(moves(browser)) != 1:
            raise Failure(f"Space rolled away from the die: {moves(browser)}")
        # And there again after going round by Tab and back.
        for modifiers in (0, 0, 8, 8):
            key(browser, "Tab", "Tab", 9, modifiers=modifiers)
        key(browser, " ", "Space", 32, " ")
        wait_until("a move rolled by Space back on the die", lambda: len(moves(browser)) == 2,
                   timeout=30)
        print("PASS: Space rolls from the die in a fresh page; Tab leaves it, Shift+Tab comes back")

        # Qt's accessibility starts when the user presses its button, hidden but for screen
        # readers.
        browser.evaluate(f"{SHADOW}.querySelector('.qt-window-a11y-container button').click()")
        tree = wait_until("the controls in the accessibility tree", lambda: (
            t := controls(browser)) and ("button", "Roll the die") in t and t)
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
        check_console(browser, "with the screen reader's tree")
        print(f"PASS: the tree has {', '.join(f'{r} {n!r}' for r, n in CONTROLS)}; a name typed"
              f" as markup stays text ({value!r}); the news is in the live region: {news!r}")
    finally:
        browser.close()


def offline(page, shots):
    server, address = serve(page)
    browser = Chromium()
    try:
        open_window(browser, address)
        wait_until("the service worker in control", lambda: browser.evaluate(
            "navigator.serviceWorker.controller !== null"), timeout=60)
        # No network at all: the server is gone, and the browser is offline.
        stop(server)
        server = None
        browser.call("Network.enable")
        browser.call("Network.emulateNetworkConditions", {
            "offline": True, "latency": 0, "downloadThroughput": -1, "uploadThroughput": -1})
        browser.call("Page.reload")
        wait_until("the page to go", lambda: not browser.evaluate(
            "document.title").startswith(TITLE), timeout=30)
        open_window_again = wait_until("the window again, offline", lambda: browser.evaluate(
            "document.title.startsWith('Tavlo - ') && " + WINDOW), timeout=180)
        browser.screenshot(shots / "offline.png")
        check_console(browser, "offline")
        print("PASS: with the server gone, the page starts again from its service worker")
        return open_window_again
    finally:
        browser.close()
        if server:
            stop(server)


def main():
    sys.stdout.reconfigure(line_buffering=True)
    page, scripted, shots = sys.argv[1], sys.argv[2], pathlib.Path(sys.argv[3])
    linux = pathlib.Path(sys.argv[4]) if len(sys.argv) > 4 else None
    shots.mkdir(parents=True, exist_ok=True)
    server, address = serve(page)
    try:
        started_page(address, shots)
        without(address)
    finally:
        stop(server)
    server, address = serve(scripted)
    try:
        whole_game(address, shots, linux)
        if linux:
            scaled(address, shots, linux)
    finally:
        stop(server)
    offline(page, shots)
    server, address = serve(scripted)
    try:
        keyboard_and_screen_reader(address)
    finally:
        stop(server)


if __name__ == "__main__":
    try:
        main()
    except Failure as failure:
        print(f"FAIL: {failure}", file=sys.stderr)
        sys.exit(1)
