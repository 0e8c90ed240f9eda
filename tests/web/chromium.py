# SPDX-License-Identifier: GPL-3.0-or-later
"""Debian's headless Chromium, driven through its DevTools protocol over a WebSocket
(python3-websocket): pages, screenshots, input, device scale, the accessibility tree and the
console, with no driver of its own."""

import base64
import json
import pathlib
import shutil
import subprocess
import tempfile
import time

import websocket


class Failure(Exception):
    pass


def wait_until(what, check, timeout=60.0, step=0.1):
    """Polls `check` until it returns something true, and returns that; fails after `timeout`
    seconds, naming `what` was awaited."""
    deadline = time.monotonic() + timeout
    while True:
        result = check()
        if result:
            return result
        if time.monotonic() > deadline:
            raise Failure(f"timed out waiting for {what}")
        time.sleep(step)


class Chromium:
    """A headless Chromium with a fresh profile, and one page in it."""

    def __init__(self, scale=1, width=1280, height=1024):
        # On disk: in a profile on a small tmpfs, Chromium's cache refuses the program's 11 MB,
        # and the service worker then never installs.
        self.profile = tempfile.mkdtemp(prefix="tavlo-chromium.", dir="/var/tmp")
        # As root it runs only without its sandbox; nothing of its own goes to the network.
        self.process = subprocess.Popen(
            ["chromium", "--headless", "--no-sandbox", "--disable-gpu", "--disable-quic",
             "--no-first-run", "--disable-background-networking", "--disable-component-update",
             "--disable-sync", "--disable-extensions", "--remote-debugging-port=0",
             f"--user-data-dir={self.profile}", f"--window-size={width},{height}",
             f"--force-device-scale-factor={scale}", "about:blank"],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        active = pathlib.Path(self.profile, "DevToolsActivePort")
        wait_until("Chromium's DevTools port", lambda: active.exists() and
                   len(active.read_text().splitlines()) == 2, timeout=60)
        port = active.read_text().splitlines()[0]
        self.browser = websocket.create_connection(
            f"ws://127.0.0.1:{port}{active.read_text().splitlines()[1]}", timeout=60)
        self.next_id = 0
        self.events = []
        targets = self.call("Target.getTargets", session=None)["targetInfos"]
        page = next(t for t in targets if t["type"] == "page")
        self.session = self.call("Target.attachToTarget", {"targetId": page["targetId"],
                                                           "flatten": True},
                                 session=None)["sessionId"]
        for domain in ("Page", "Runtime", "Log"):
            self.call(f"{domain}.enable")
        # The page has the keyboard, as a tab in front on a desktop has it.
        self.call("Emulation.setFocusEmulationEnabled", {"enabled": True})

    def close(self):
        try:
            self.call("Browser.close", session=None)
        except Exception:
            pass
        self.browser.close()
        try:
            self.process.wait(timeout=20)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()
        shutil.rmtree(self.profile, ignore_errors=True)

    def call(self, method, params=None, session="page"):
        """Sends a command (to the page's session, or to the browser) and returns its result;
        the events that come meanwhile are kept in `events`."""
        self.next_id += 1
        message = {"id": self.next_id, "method": method, "params": params or {}}
        if session == "page":
            message["sessionId"] = self.session
        self.browser.send(json.dumps(message))
        while True:
            answer = json.loads(self.browser.recv())
            if answer.get("id") == self.next_id:
                if "error" in answer:
                    raise Failure(f"{method}: {answer['error']}")
                return answer.get("result", {})
            if "method" in answer:
                self.events.append(answer)

    def pump(self):
        """Takes in the events that have come."""
        self.call("Runtime.evaluate", {"expression": "0"})

    def evaluate(self, expression):
        result = self.call("Runtime.evaluate", {"expression": expression,
                                                "returnByValue": True, "awaitPromise": True})
        if "exceptionDetails" in result:
            raise Failure(f"{expression}: {result['exceptionDetails']}")
        return result["result"].get("value")

    def navigate(self, url):
        self.call("Page.navigate", {"url": url})

    def screenshot(self, path, settled=True):
        """A picture of the page, once it has settled (the same twice in a row) unless told
        otherwise."""
        if not settled:
            data = self.call("Page.captureScreenshot", {"format": "png"})["data"]
            pathlib.Path(path).write_bytes(base64.b64decode(data))
            return
        shots = []

        def same_again():
            shots.append(base64.b64decode(
                self.call("Page.captureScreenshot", {"format": "png"})["data"]))
            return len(shots) > 1 and shots[-1] == shots[-2]

        wait_until(f"the page to settle for {path}", same_again, timeout=30, step=0.2)
        pathlib.Path(path).write_bytes(shots[-1])

    def console_problems(self):
        """The errors and warnings the page's console got, and its uncaught exceptions."""
        self.pump()
        problems = []
        for event in self.events:
            method, params = event["method"], event.get("params", {})
            if method == "Runtime.consoleAPICalled" and params["type"] in ("error", "warning",
                                                                           "assert"):
                text = " ".join(str(a.get("value", a.get("description", "")))
                                for a in params["args"])
                problems.append(f"console.{params['type']}: {text}")
            elif method == "Runtime.exceptionThrown":
                details = params["exceptionDetails"]
                problems.append("exception: " + details.get("exception", {}).get(
                    "description", details.get("text", "")))
            elif method == "Log.entryAdded" and params["entry"]["level"] in ("error", "warning"):
                entry = params["entry"]
                problems.append(f"log {entry['level']}: {entry['text']} {entry.get('url', '')}")
        return problems

    def console_lines(self):
        """What the page's programs printed (console.log), in order."""
        self.pump()
        return [" ".join(str(a.get("value", "")) for a in e["params"]["args"])
                for e in self.events if e["method"] == "Runtime.consoleAPICalled" and
                e["params"]["type"] in ("log", "info")]
