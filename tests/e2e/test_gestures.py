"""Scaling the window from its grip: a drag, and the mouse wheel over it."""
import time

from frame_points import GRIP_FILL, grip_fill_point, grip_size
from harness import Expectations, Screenshot, focused_window, window_geometry
from keys_support import button_held, main_settings, settle, start_keyboard, window_size, xdotool

SETTLE_TIMEOUT = 10


def grip_centre(scale):
    width, height = window_size(scale)
    half = grip_size(scale) // 2
    return width - half - 1, height - half - 1


def expect_grip_painted(expect, width, height, scale):
    point = grip_fill_point(0, 0, width, height, scale)
    expect.equal(f"grip at {point}", settle(lambda: Screenshot.take().pixel(*point), GRIP_FILL,
                                            SETTLE_TIMEOUT), GRIP_FILL)


def test_dragging_the_grip_right_and_down_grows_the_window_from_its_top_left_corner(s):
    target, xid = start_keyboard(s)
    x, y = grip_centre(1.0)
    # The window is click-through except for the grip, so the press must land on it.
    with button_held(x, y):
        # Tavrin reads the pointer when it handles the press, not where the press happened;
        # give it time to do so before the pointer moves on.
        time.sleep(0.3)
        for step in range(1, 11):
            xdotool("mousemove", x + 5 * step, y + 5 * step)
            time.sleep(0.03)
    # 50 px right and 50 px down: exponent (50 + 50) / 2 with base 1.005.
    scale = 1.005 ** 50
    width, height = window_size(scale)

    expect = Expectations()
    expect.equal("window geometry", settle(lambda: window_geometry(xid), (0, 0, width, height),
                                           SETTLE_TIMEOUT), (0, 0, width, height))
    expect.equal("saved scale", settle(lambda: main_settings(s).get("scale"), "1283",
                                       SETTLE_TIMEOUT), "1283")
    expect_grip_painted(expect, width, height, scale)
    expect.equal("X focus", focused_window(), target)
    expect.check()


# (direction, xdotool button, scale before, scale after, saved scale)
NOTCHES = [("up", 4, 1.0, 1.05, "1050"), ("down", 5, 1.05, 1.0, "1000")]


def test_a_wheel_notch_over_the_grip_scales_by_five_percent_each_way(s):
    # Wine hands the wheel to the window under the pointer, not to the one with the X focus
    # (the target here), as Windows does by default; so a notch over the grip reaches Tavrin.
    target, xid = start_keyboard(s)
    expect = Expectations()
    for direction, button, before, after, saved in NOTCHES:
        xdotool("mousemove", *grip_centre(before))
        xdotool("click", button)
        size = (0, 0, *window_size(after))
        expect.equal(f"window geometry after a notch {direction}",
                     settle(lambda: window_geometry(xid), size, SETTLE_TIMEOUT), size)
        expect.equal(f"saved scale after a notch {direction}",
                     settle(lambda: main_settings(s).get("scale"), saved, SETTLE_TIMEOUT), saved)
        expect_grip_painted(expect, size[2], size[3], after)
    expect.equal("X focus", focused_window(), target)
    expect.check()


WM_CANCELMODE = 0x001F


def test_a_grip_drag_that_loses_the_mouse_ends_and_hovering_later_changes_nothing(s):
    _, xid = start_keyboard(s, (1800, 1000))
    x, y = grip_centre(1.0)
    xdotool("mousemove", x, y)
    time.sleep(0.1)
    xdotool("mousedown", 1)
    try:
        time.sleep(0.3)
        xdotool("mousemove", x + 10, y + 10)
        grown = settle(lambda: window_geometry(xid)[2], window_size(1.005 ** 10)[0], SETTLE_TIMEOUT)
        # As when Alt+Tab or Ctrl+Alt+Del takes the mouse away in the middle of the drag.
        s.tool("post", WM_CANCELMODE, 0)
        time.sleep(0.3)
        xdotool("mousemove", 1500, 800)
    finally:
        xdotool("mouseup", 1)
    time.sleep(0.3)
    before = window_geometry(xid)
    # Hovering over the grip and around it is no drag.
    for dx, dy in ((0, 0), (-30, -30), (-5, 0), (0, -8)):
        xdotool("mousemove", before[2] - 11 + dx, before[3] - 11 + dy)
        time.sleep(0.1)
    time.sleep(0.3)
    expect = Expectations()
    expect.equal("width while the drag was on", grown, window_size(1.005 ** 10)[0])
    expect.equal("window after hovering", window_geometry(xid), before)
    expect.check()
