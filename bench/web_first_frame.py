#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The first frame of a program's web page in a fresh headless Chromium: the time from the start
of the navigation to the first animation frame whose window canvas has every given pixel in its
colour, with the page's folder served from 127.0.0.1 as tests/web/page_test.py serves it; prints
first_frame_ms=<milliseconds>.

Usage: web_first_frame.py <folder> <program> <device scale> --pixel X,Y=RRGGBB ...
(X, Y in device pixels of the window, as ./scripts/bench gives them)"""

import json
import pathlib
import re
import sys

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent.parent / "tests" / "web"))
from chromium import Chromium, served, wait_until  # noqa: E402

# Checks the window's canvas at each animation frame from the page's start, and keeps the time of
# the first frame with every pixel in place.
WATCH = """(() => {
    const want = %s;
    const check = () => {
        const canvas = document.getElementById("qt-shadow-container")?.shadowRoot
            ?.querySelector("canvas.qt-window-content");
        const context = canvas?.width ? canvas.getContext("2d") : null;
        if (context && want.every(([x, y, colour]) => {
            const [r, g, b] = context.getImageData(x, y, 1, 1).data;
            return ((r << 16) | (g << 8) | b) === colour;
        })) {
            window.firstFrame = performance.now();
            return;
        }
        requestAnimationFrame(check);
    };
    requestAnimationFrame(check);
})();"""


def main():
    folder, program, scale = sys.argv[1], sys.argv[2], int(sys.argv[3])
    pixels = []
    for argument in sys.argv[5::2]:  # X,Y=RRGGBB, each after --pixel
        x, y, colour = re.split("[,=]", argument)
        pixels.append([int(x), int(y), int(colour, 16)])
    with served(folder) as server, Chromium(scale) as browser:
        browser.call("Page.addScriptToEvaluateOnNewDocument",
                     {"source": WATCH % json.dumps(pixels)})
        browser.navigate(f"{server.url}?program={program}")
        frame = wait_until("the first frame with the pixels", lambda: browser.evaluate(
            "window.firstFrame"), timeout=120, step=0.05)
    print(f"first_frame_ms={frame:.0f}")


if __name__ == "__main__":
    main()
