#!/usr/bin/python3
"""How long from a touch sent to the new picture served: POST /touch, then GET /screen.png.
Not a test, a figure (the target is under 100 ms).

    touch_latency.py POCKETSIM [ROUNDS]
"""

import statistics
import sys
import time

from live_device_common import LiveServer


def main():
    pocketsim = sys.argv[1]
    rounds = int(sys.argv[2]) if len(sys.argv) > 2 else 30
    server = LiveServer(pocketsim)
    try:
        server.command("start appshut")
        changed, unchanged = [], []
        for _ in range(rounds):
            server.command("app add notes NotesApp Notes front")
            server.picture()  # the picture with Notes, made before the clock starts
            started = time.perf_counter()
            status, answer = server.touch("tap", 230, 10)  # closes Notes: a new picture
            version, _ = server.picture()
            changed.append(time.perf_counter() - started)
            assert status == 200 and version == answer["version"], (status, answer, version)

            started = time.perf_counter()
            server.touch("tap", 120, 200)  # the desktop: nothing answers it, the picture is the one made before
            server.picture()
            unchanged.append(time.perf_counter() - started)
        for name, times in (("touch that closes an application", changed), ("touch on the desktop", unchanged)):
            ms = sorted(t * 1000 for t in times)
            print(f"{name}: median {statistics.median(ms):.1f} ms, 90th percentile {ms[int(len(ms) * 0.9) - 1]:.1f} ms,"
                  f" worst {ms[-1]:.1f} ms over {len(ms)} rounds (touch POST to new picture served)")
    finally:
        server.stop()


if __name__ == "__main__":
    main()
