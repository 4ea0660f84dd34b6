"""A key stops being shown as held once it is up, whatever happened while it was down: Shift
pressed or released in between, or its key-up lost to a window Tavrin gets no input from."""
import contextlib
import subprocess
import time

from harness import (TARGET_COLOR, Expectations, HarnessError, Screenshot, focus_window, run,
                     wait_until)
from keys_support import (LIT_TIMEOUT, drawn_lit, drawn_normal, key_rects, label_ink, poll_shots,
                          start_keyboard, xdotool)

RECTS = key_rects()
# A released key is drawn normal again within a few frames once Tavrin can tell it is up.
RELEASE_TIMEOUT = 1.5
LETTERS = ["Q", "W", "E", "A", "S", "Z"]


def seen_lit(expect, key, what):
    rect = RECTS[key]
    try:
        poll_shots(f"the {key} key drawn lit", lambda shot: drawn_lit(shot, rect), LIT_TIMEOUT)
    except HarnessError:
        expect.true(f"{what}: the {key} key was never drawn lit", False)


def settles_normal(expect, key, what, timeout=RELEASE_TIMEOUT):
    rect = RECTS[key]
    try:
        poll_shots(f"the {key} key back to normal", lambda shot: drawn_normal(shot, rect, TARGET_COLOR),
                   timeout)
    except HarnessError:
        expect.true(f"{what}: the {key} key is still drawn lit {timeout} s after every key went up", False)


def keys(*steps):
    """Runs xdotool keydown/keyup steps with a short pause, as fingers do."""
    for step in steps:
        action, name = step.split(" ")
        xdotool(action, name)
        time.sleep(0.08)


def test_a_key_released_after_shift_changed_is_released_on_screen(s):
    start_keyboard(s)
    expect = Expectations()
    # Shift down, ';' down (types ':', lighting the ':' key), Shift up, ';' up (types ';').
    keys("keydown Shift_L", "keydown semicolon")
    seen_lit(expect, ":", "Shift held")
    keys("keyup Shift_L", "keyup semicolon")
    settles_normal(expect, ":", "Shift released before ';'")
    settles_normal(expect, ";", "Shift released before ';'")

    # '=' down (lights the ー key), Shift down, '=' up (would type '+'), Shift up.
    keys("keydown equal")
    seen_lit(expect, "ー", "'=' held")
    keys("keydown Shift_L", "keyup equal", "keyup Shift_L")
    settles_normal(expect, "ー", "Shift pressed before '=' went up")
    settles_normal(expect, "LShift", "every key up")
    expect.check()


@contextlib.contextmanager
def foreign_window():
    """An X window that is not Wine's: keys typed while it has the focus reach no Wine program."""
    process = subprocess.Popen(["xmessage", "-geometry", "200x60+1500+900", "-name",
                                "tavrin-e2e-foreign", "not a Wine window"],
                               stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL)
    try:
        found = wait_until("the foreign window", lambda: run(
            ["xdotool", "search", "--onlyvisible", "--classname", "^tavrin-e2e-foreign$"],
            check=False).stdout.split(), 20)
        yield int(found[0])
    finally:
        process.kill()
        process.wait(timeout=10)


def test_a_key_released_in_a_window_tavrin_cannot_see_is_released_when_it_can_tell(s):
    target, _ = start_keyboard(s)
    expect = Expectations()
    with foreign_window() as foreign:
        xdotool("keydown", "a")
        poll_shots("the A key drawn lit", lambda shot: drawn_lit(shot, RECTS["A"]), LIT_TIMEOUT)
        focus_window(foreign)
        xdotool("keyup", "a")  # goes to the foreign window: no Wine program hears it
        time.sleep(0.3)
        focus_window(target)
        settles_normal(expect, "A", "'a' released in a foreign window")
    expect.check()


def test_a_shift_released_in_a_window_tavrin_cannot_see_stops_shifting_the_labels(s):
    target, _ = start_keyboard(s)
    before = Screenshot.take()
    lower = {k: label_ink(before, RECTS[k]) for k in LETTERS}
    expect = Expectations()
    with foreign_window() as foreign:
        xdotool("keydown", "Shift_L")
        poll_shots("the left Shift drawn lit", lambda shot: drawn_lit(shot, RECTS["LShift"]), LIT_TIMEOUT)
        focus_window(foreign)
        xdotool("keyup", "Shift_L")
        time.sleep(0.3)
        focus_window(target)
        settles_normal(expect, "LShift", "Shift released in a foreign window")

        def lower_case(shot):
            return all(label_ink(shot, RECTS[k]) == lower[k] for k in LETTERS)

        try:
            poll_shots("lower-case labels again", lower_case, RELEASE_TIMEOUT)
        except HarnessError:
            expect.true("the labels are still shifted after Shift went up", False)
    expect.check()


WM_WTSSESSION_CHANGE, WTS_SESSION_LOCK = 0x02B1, 7
WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC = 0x0218, 0x12


def test_locking_the_session_or_waking_the_machine_releases_every_held_key(s):
    target, _ = start_keyboard(s)
    expect = Expectations()
    with foreign_window() as foreign:
        for what, message, event in (("the session locked", WM_WTSSESSION_CHANGE, WTS_SESSION_LOCK),
                                     ("the machine woken", WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC)):
            xdotool("keydown", "a")
            poll_shots("the A key drawn lit", lambda shot: drawn_lit(shot, RECTS["A"]), LIT_TIMEOUT)
            # Its key-up will be lost, and the platform still says it is down.
            focus_window(foreign)
            s.tool("post", message, event)
            settles_normal(expect, "A", what)
            xdotool("keyup", "a")
            focus_window(target)
    expect.check()
