"""The live device under test: `pocketsim --serve 0` started, its URL read, plain HTTP to it."""

import json
import os
import selectors
import signal
import subprocess
import time
import urllib.error
import urllib.request


class LiveServer:
    def __init__(self, pocketsim, *args):
        self.process = subprocess.Popen([pocketsim, "--serve", "0", *args], stdout=subprocess.PIPE, text=True)
        selector = selectors.DefaultSelector()
        selector.register(self.process.stdout, selectors.EVENT_READ)
        if not selector.select(timeout=10):
            self.stop()
            raise RuntimeError("pocketsim --serve printed no URL in 10 s")
        self.url = self.process.stdout.readline().strip()
        if not self.url.startswith("http://127.0.0.1:"):
            self.stop()
            raise RuntimeError(f"pocketsim --serve printed {self.url!r}, not its URL (is pocketscreen built?)")
        self.url = self.url.rstrip("/")

    def stop(self):
        if self.process.poll() is None:
            self.process.send_signal(signal.SIGTERM)
            try:
                self.process.wait(timeout=5)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
                raise AssertionError("the server did not end on SIGTERM within 5 s")

    def device_pid(self):
        """The pocketsim --interactive the server drives (pocketsim --serve became the server)."""
        pid = self.process.pid
        children = []
        for task in os.listdir(f"/proc/{pid}/task"):
            with open(f"/proc/{pid}/task/{task}/children") as listing:
                children += listing.read().split()
        assert len(children) == 1, f"expected one device process, found {children}"
        return int(children[0])

    def request(self, path, body=None, headers=None):
        """(status, headers, body bytes); an HTTP error is an answer here, not an exception."""
        data = body.encode() if isinstance(body, str) else body
        request = urllib.request.Request(self.url + path, data=data, headers=headers or {},
                                         method="POST" if data is not None else "GET")
        try:
            with urllib.request.urlopen(request, timeout=15) as response:
                return response.status, response.headers, response.read()
        except urllib.error.HTTPError as error:
            return error.code, error.headers, error.read()

    def json(self, path, body=None, headers=None):
        status, _, payload = self.request(path, body, headers)
        return status, json.loads(payload)

    def command(self, line):
        return self.json("/command", line)

    def touch(self, kind, x, y):
        return self.json("/touch", json.dumps({"kind": kind, "x": x, "y": y}))

    def layout(self):
        status, _, text = self.request("/layout")
        assert status == 200, f"/layout answered {status}"
        return text.decode()

    def picture(self):
        status, headers, png = self.request("/screen.png")
        assert status == 200 and png.startswith(b"\x89PNG"), f"/screen.png answered {status}"
        return int(headers["X-Screen-Version"]), png

    def events(self, after=0):
        status, answer = self.json(f"/events?after={after}&wait=0")
        assert status == 200
        return answer


def wait_until(condition, what, timeout=5.0):
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() > deadline:
            raise AssertionError(f"timed out waiting for {what}")
        time.sleep(0.05)
