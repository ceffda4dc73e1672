#!/usr/bin/python3
"""The live device in headless Chromium: the page drives one simulated device, its journal and
picture follow, and what was done replays as a script.

    live_device_test.py POCKETSIM
"""

import os
import signal
import subprocess
import sys
import tempfile
import time

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.by import By

from live_device_common import LiveServer, wait_until

SCALE = 2  # the page shows the 240 x 320 screen at twice its size


def open_browser():
    options = webdriver.ChromeOptions()
    for flag in ("--headless=new", "--no-sandbox", "--disable-dev-shm-usage", "--window-size=1400,900"):
        options.add_argument(flag)
    return webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)


def journal(driver):
    """The page's event stream: (line, status, recorded, answer lines) per entry."""
    return driver.execute_script("""
        return [...document.querySelectorAll('#events li')].map(li => [
            li.querySelector('.line').textContent, li.dataset.status, li.dataset.recorded === 'true',
            li.querySelector('.lines').textContent]);""")


def wait_for_entry(driver, predicate, what):
    return wait_until(lambda: next((e for e in journal(driver) if predicate(e)), None), what)


def click(driver, element_id, line):
    before = len(journal(driver))
    driver.find_element(By.ID, element_id).click()
    entry = wait_until(lambda: next((e for e in journal(driver)[before:] if e[0] == line), None),
                       f"{line!r} in the journal after clicking {element_id}")
    assert entry[1] == "ok", f"{line!r} answered {entry[1]}: {entry[3]}"
    return entry


def tap_screen(driver, x, y):
    """A mouse click at screen pixel (x, y) of the picture (Selenium offsets are from its centre)."""
    image = driver.find_element(By.ID, "screen")
    box = driver.execute_script("const r = arguments[0]; return [r.clientLeft, r.clientTop, r.clientWidth, r.clientHeight,"
                                " r.offsetWidth, r.offsetHeight];", image)
    left, top, width, height, outer_width, outer_height = box
    assert (width, height) == (240 * SCALE, 320 * SCALE), f"the picture is shown {width} x {height}"
    dx = left + x * SCALE + SCALE // 2 - outer_width // 2
    dy = top + y * SCALE + SCALE // 2 - outer_height // 2
    ActionChains(driver).move_to_element_with_offset(image, dx, dy).click().perform()


def check_tap_closes_application(server, driver):
    click(driver, "start-appshut", "start appshut")
    click(driver, "add-notes", "app add notes NotesApp Notes front")
    assert 'class="NotesApp"' in server.layout()
    version_before, picture_before = server.picture()
    wait_until(lambda: driver.execute_script("return document.getElementById('screen').src").endswith(f"v={version_before}"),
               "the page to show the picture with Notes")

    tap_screen(driver, 230, 10)  # the taskbar's close button
    wait_for_entry(driver, lambda e: e[0] == "stylus up 230 10" and "notes: ended" in e[3], "Notes to end on the tap")
    assert 'class="NotesApp"' not in server.layout()
    version_after, picture_after = server.picture()
    assert version_after > version_before and picture_after != picture_before
    wait_until(lambda: driver.execute_script("return document.getElementById('screen').src").endswith(f"v={version_after}"),
               "the page to show the new picture")


def check_click_on_bubble_button(server, driver):
    """The pen pressed and lifted on a bubble's button taps the notification."""
    click(driver, "start-voltmarap", "start voltmarap")
    click(driver, "advance-1m", "advance 1m")
    button = next((line.split()[1:5] for line in server.layout().splitlines() if line.startswith("button ")), None)
    assert button, "no button on the screen:\n" + server.layout()
    x, y, width, height = map(int, button)
    tap_screen(driver, x + width // 2, y + height // 2)
    entry = wait_for_entry(driver, lambda e: e[0].startswith("tap notification"), "the click to tap the bubble's button")
    assert entry[1] == "ok", entry


def check_remote_key(driver):
    click(driver, "start-rcbridge", "start rcbridge")
    entry = click(driver, "key-volume-up", "press 0x89")
    assert "volume set to" in entry[3], entry[3]


def check_recording_replays(server, driver, pocketsim):
    status, headers, script = server.request("/recording.pocket")
    assert status == 200 and headers["Content-Disposition"].startswith("attachment")
    lines = script.decode().splitlines()
    assert lines[0] == "boot shell" and "stylus down 230 10" in lines and "press 0x89" in lines, lines
    with tempfile.NamedTemporaryFile("wb", suffix=".pocket") as recording:
        recording.write(script)
        recording.flush()
        replay = subprocess.run([pocketsim, recording.name], capture_output=True, text=True, timeout=30)
    assert replay.returncode == 0, replay.stderr
    recorded = [line for e in journal(driver) if e[2] for line in e[3].split("\n")]
    assert replay.stdout.splitlines() == recorded, "the replay's output differs from the journal"


def check_bad_requests_leave_device_alone(server):
    layout, version = server.layout(), server.events()["version"]
    recording = server.request("/recording.pocket")[2]

    status, answer = server.command("bogus line")
    assert status == 200 and answer["status"] == "malformed", answer
    refusals = {
        "oversized body": (413, server.json("/command", "echo " + "x" * 5000)),
        "malformed JSON": (400, server.json("/touch", '{"kind": "tap", "x": 1')),
        "missing field": (400, server.json("/touch", '{"kind": "tap", "x": 1}')),
        "unknown kind": (400, server.json("/touch", '{"kind": "swipe", "x": 1, "y": 1}')),
        "off-screen touch": (400, server.touch("tap", 240, 10)),
        "negative touch": (400, server.touch("down", 5, -1)),
        "two lines": (400, server.command("echo a\nstart voltmarap")),
        "not UTF-8": (400, server.json("/command", b"echo \xff\xfe")),
        "unknown path": (404, server.json("/nowhere")),
        "foreign page": (403, server.json("/command", "start voltmarap", {"Origin": "http://elsewhere.example"})),
        "foreign host name": (403, server.json("/command", "start voltmarap",
                                               {"Host": "elsewhere.example:" + server.url.rsplit(":", 1)[1]})),
        "bad sequence": (400, server.json("/events?after=x")),
    }
    status, answer = server.json("/touch", '{"kind": "\\ud800", "x": 1, "y": 1}')
    refusals["lone surrogate"] = (400, (status, answer))
    for case, (expected, (status, answer)) in refusals.items():
        assert status == expected and answer["error"], f"{case}: {status} {answer}"
    assert server.layout() == layout, "a refused request changed the screen"
    assert server.events()["version"] == version
    assert server.request("/recording.pocket")[2] == recording, "a refused request was recorded"


def check_two_pages_see_one_device(server, driver):
    first = driver.current_window_handle
    driver.switch_to.new_window("tab")
    driver.get(server.url + "/")
    wait_until(lambda: len(journal(driver)) == server.events()["last"], "the second page to load the journal")
    driver.find_element(By.ID, "command-line").send_keys("echo from the second page")
    click(driver, "command-run", "echo from the second page")
    second_page = journal(driver)
    driver.close()
    driver.switch_to.window(first)
    wait_until(lambda: journal(driver) == second_page, "the first page to show what the second did")


def check_port_in_use_is_refused(server, pocketsim):
    port = server.url.rsplit(":", 1)[1]
    second = subprocess.run([pocketsim, "--serve", port], capture_output=True, text=True, timeout=10)
    assert second.returncode != 0 and "http://" not in second.stdout, "a second server shares the port"


def check_device_death_is_reported(server, driver):
    server.picture()  # cached: still it must not be served as if the device lived
    device = server.device_pid()
    os.kill(device, signal.SIGKILL)
    wait_until(lambda: open(f"/proc/{device}/stat").read().split(") ")[1].startswith("Z"), "the device to die")
    started = time.monotonic()
    assert server.request("/screen.png")[0] == 503
    status, answer = server.command("advance 5s")
    assert status == 503 and "stopped" in answer["status"], answer
    assert server.touch("tap", 10, 10)[0] == 503
    assert server.events()["stopped"]
    assert time.monotonic() - started < 2, "requests to a dead device hang"
    wait_until(lambda: "stopped" in driver.find_element(By.ID, "device-state").text, "the page to show the device stopped",
               timeout=12)


def main():
    pocketsim = sys.argv[1]
    server = LiveServer(pocketsim)
    driver = None
    try:
        driver = open_browser()
        driver.get(server.url + "/")
        wait_for_entry(driver, lambda e: e[0] == "boot shell", "the journal to show the boot")
        check_tap_closes_application(server, driver)
        check_click_on_bubble_button(server, driver)
        check_remote_key(driver)
        check_recording_replays(server, driver, pocketsim)
        check_bad_requests_leave_device_alone(server)
        check_two_pages_see_one_device(server, driver)
        check_port_in_use_is_refused(server, pocketsim)
        check_device_death_is_reported(server, driver)
    finally:
        if driver:
            driver.quit()
        server.stop()
    print("live device test passed")


if __name__ == "__main__":
    main()
