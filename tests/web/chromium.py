# SPDX-License-Identifier: GPL-3.0-or-later
"""Debian's headless Chromium, driven through its DevTools protocol over a WebSocket
(python3-websocket), with no driver of its own; and Python's plain file server to serve it pages."""

import base64
import contextlib
import functools
import http.server
import json
import pathlib
import shutil
import subprocess
import tempfile
import threading
import time

import websocket


class Failure(Exception):
    pass


def wait_until(what, check, timeout=60.0, step=0.1):
    """Polls `check` until it returns something true, and returns that; fails after `timeout`
    seconds, naming `what` was awaited."""
    deadline = time.monotonic() + timeout
    while not (result := check()):
        if time.monotonic() > deadline:
            raise Failure(f"timed out waiting for {what}")
        time.sleep(step)
    return result


@contextlib.contextmanager
def served(folder):
    """Python's plain static file server on a free port of 127.0.0.1, on a thread of its own; its
    address is its `url`. stop() ends it before the block does."""

    class Quiet(http.server.SimpleHTTPRequestHandler):
        def log_message(self, *args):
            pass

    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0),
                                             functools.partial(Quiet, directory=folder))
    server.url = f"http://127.0.0.1:{server.server_address[1]}/"
    threading.Thread(target=server.serve_forever, daemon=True).start()
    try:
        yield server
    finally:
        stop(server)


def stop(server):
    server.shutdown()
    server.server_close()


class Chromium:
    """A headless Chromium with a fresh profile, and one page in it; closed at the end of a
    `with` block."""

    def __init__(self, scale=1):
        # On disk: in a profile on a small tmpfs, Chromium's cache refuses the program's 11 MB,
        # and the service worker then never installs.
        self.profile = tempfile.mkdtemp(prefix="tavlo-chromium.", dir="/var/tmp")
        # As root it runs only without its sandbox; nothing of its own goes to the network.
        self.process = subprocess.Popen(
            ["chromium", "--headless", "--no-sandbox", "--disable-gpu", "--disable-quic",
             "--no-first-run", "--disable-background-networking", "--disable-component-update",
             "--disable-sync", "--disable-extensions", "--remote-debugging-port=0",
             f"--user-data-dir={self.profile}", "--window-size=1280,1024",
             f"--force-device-scale-factor={scale}", "about:blank"],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        active = pathlib.Path(self.profile, "DevToolsActivePort")
        port, path = wait_until("Chromium's DevTools port", lambda: active.exists() and len(
            lines := active.read_text().splitlines()) == 2 and lines)
        self.browser = websocket.create_connection(f"ws://127.0.0.1:{port}{path}", timeout=60)
        self.next_id = 0
        self.events = []
        targets = self.call("Target.getTargets", session=None)["targetInfos"]
        page = next(t["targetId"] for t in targets if t["type"] == "page")
        self.session = self.call("Target.attachToTarget", {"targetId": page, "flatten": True},
                                 session=None)["sessionId"]
        for domain in ("Page", "Runtime", "Log"):
            self.call(f"{domain}.enable")
        # The page has the keyboard, as a tab in front on a desktop has it.
        self.call("Emulation.setFocusEmulationEnabled", {"enabled": True})

    def __enter__(self):
        return self

    def __exit__(self, *exception):
        with contextlib.suppress(Exception):
            self.call("Browser.close", session=None)
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
        while (answer := json.loads(self.browser.recv())).get("id") != self.next_id:
            if "method" in answer:
                self.events.append(answer)
        if "error" in answer:
            raise Failure(f"{method}: {answer['error']}")
        return answer.get("result", {})

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
        shots = []

        def taken():
            shots.append(base64.b64decode(self.call("Page.captureScreenshot")["data"]))
            return not settled or len(shots) > 1 and shots[-1] == shots[-2]

        wait_until(f"the page to settle for {path}", taken, timeout=30, step=0.2)
        pathlib.Path(path).write_bytes(shots[-1])

    def console(self):
        """What the page's console got, in order: (type, text) of each call, exception and log
        entry; the types of the latter two are "exception" and "log <level>"."""
        self.evaluate("0")  # takes in the events that have come
        said = []
        for event in self.events:
            method, params = event["method"], event.get("params", {})
            if method == "Runtime.consoleAPICalled":
                said.append((params["type"], " ".join(
                    str(a.get("value", a.get("description", ""))) for a in params["args"])))
            elif method == "Runtime.exceptionThrown":
                details = params["exceptionDetails"]
                said.append(("exception", details.get("exception", {}).get(
                    "description", details.get("text", ""))))
            elif method == "Log.entryAdded":
                entry = params["entry"]
                said.append((f"log {entry['level']}", f"{entry['text']} {entry.get('url', '')}"))
        return said
