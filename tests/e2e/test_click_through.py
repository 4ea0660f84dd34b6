"""With click-through on, a click anywhere on Tavrin reaches the program below it, while the
grip still scales the window and Alt or Ctrl with a drag still moves it."""
import os
import time

from frame_points import GRIP_FILL, grip_fill_point
from harness import Expectations, HarnessError, wait_for_pixel, wait_until, window_geometry
from keys_support import button_held, key_held, key_rects, main_settings, start_keyboard, window_size, xdotool

RECTS = key_rects()
WIDTH, HEIGHT = window_size(1.0)
PANEL_POINT = (858, 150)  # the speed panel, between its figures and its bar
GAP_POINT = (234, 38)     # between "4" and "5": a transparent pixel
CLICK_TIMEOUT = 10
# Short of the whole screen: Wine confines the pointer to a foreground window that covers
# the screen once it is clicked, and every pointer event then goes to that window.
TARGET_SIZE = (1800, 1000)


def target_clicks(s):
    path = os.path.join(s.app_dir, "target-clicks.txt")
    try:
        with open(path) as f:
            return [tuple(map(int, line.split())) for line in f if line.strip()]
    except FileNotFoundError:
        return []


def click(x, y):
    xdotool("mousemove", x, y)
    time.sleep(0.15)  # the pointer's arrival is noticed before the press
    xdotool("click", 1)


def clicks_reached(s, expect, points, what):
    try:
        wait_until(f"{len(points)} clicks at the target", lambda: len(target_clicks(s)) >= len(points),
                   CLICK_TIMEOUT)
    except HarnessError:
        pass
    expect.equal(f"clicks the program below received ({what})", target_clicks(s), points)


def test_a_click_on_a_key_the_panel_or_a_gap_reaches_the_program_below(s):
    start_keyboard(s, TARGET_SIZE)
    expect = Expectations()
    points = [(86, 158), PANEL_POINT, GAP_POINT, (300, 278)]  # "A", the panel, a gap, Space
    for point in points:
        click(*point)
    clicks_reached(s, expect, points, "key face, panel, gap, Space bar")
    expect.check()


def test_the_grip_takes_the_pointer_while_everything_else_lets_clicks_through(s):
    _, tavrin = start_keyboard(s, TARGET_SIZE)
    expect = Expectations()
    grip = grip_fill_point(0, 0, WIDTH, HEIGHT)
    # A press and release on the grip is Tavrin's: nothing reaches the program below.
    click(*grip)
    time.sleep(0.5)
    expect.equal("clicks on the grip that reached the program below", target_clicks(s), [])
    # Leaving the grip lets clicks through again at once.
    click(86, 158)
    clicks_reached(s, expect, [(86, 158)], "a key right after the grip")
    # And the grip still scales by drag.
    xdotool("mousemove", *grip)
    time.sleep(0.15)
    with button_held(*grip):
        time.sleep(0.1)
        xdotool("mousemove", grip[0] + 50, grip[1] + 50)
        time.sleep(0.3)
    wait_until("the window to grow", lambda: window_geometry(tavrin)[2] > WIDTH, CLICK_TIMEOUT)
    expect.check()


def test_alt_or_ctrl_with_a_drag_moves_the_window(s):
    _, tavrin = start_keyboard(s, TARGET_SIZE)
    expect = Expectations()
    for modifier, to in (("alt", (120, 80)), ("ctrl", (40, 200))):
        left, top, _, _ = window_geometry(tavrin)
        start = (left + 86, top + 158)  # on the "A" key
        with key_held(modifier):
            time.sleep(0.15)
            with button_held(*start):
                time.sleep(0.1)
                xdotool("mousemove", start[0] + to[0] - left, start[1] + to[1] - top)
                time.sleep(0.3)
        try:
            wait_until(f"the window at {to}", lambda: window_geometry(tavrin)[:2] == to, CLICK_TIMEOUT)
        except HarnessError:
            expect.equal(f"{modifier}+drag: window position", window_geometry(tavrin)[:2], to)
    try:
        wait_until("the position in settings.ini",
                   lambda: (main_settings(s).get("left"), main_settings(s).get("top")) == ("40", "200"),
                   CLICK_TIMEOUT)
    except HarnessError:
        expect.equal("position in settings.ini", (main_settings(s).get("left"), main_settings(s).get("top")),
                     ("40", "200"))
    # Once the modifier is up, clicks pass through again.
    click(40 + 86, 200 + 158)
    clicks_reached(s, expect, [(40 + 86, 200 + 158)], "a key after the move")
    expect.check()
