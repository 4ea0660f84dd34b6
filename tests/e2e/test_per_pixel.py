"""Per-pixel alpha and smoothed text, as a streamer sees them over what lies behind the window.

Under Wine in Xvfb there is no compositor: a pixel of alpha 0 shows what lies behind the window
(Wine cuts it out of an X shape), every other pixel shows its colour premultiplied by its alpha
and by the window's opacity, over black."""
import os
import time

import control_support as control
from control_support import DRAWING_MENU, RENDER_COLOR_KEY, RENDER_MODE_MENU, RENDER_PER_PIXEL
from frame_points import GRIP_FILL, TRANSPARENT_POINTS, grip_fill_point
from harness import (MAIN_TITLE, TARGET_COLOR, Expectations, HarnessError, Screenshot, focus_window,
                     focused_window, wait_for_window, window_geometry)
from keys_support import (button_held, centre, crop, key_held, key_rects, label_ink, main_settings,
                          poll_shots, settle, window_size, xdotool)

LEFT, TOP = control.START_POSITION
WIDTH, HEIGHT = window_size(1.0)
WINDOW = (LEFT, TOP, LEFT + WIDTH, TOP + HEIGHT)
RECTS = {name: (l + LEFT, t + TOP, r + LEFT, b + TOP) for name, (l, t, r, b) in key_rects().items()}
GAPS = [(x + LEFT, y + TOP) for x, y in TRANSPARENT_POINTS]
LETTERS = ["Q", "W", "E", "A", "S", "Z"]
SWITCH_TIMEOUT = 15
# Red and blue both this far above green: magenta, or a colour mixed with it.
TINT = 16


def magenta_tinted(colour):
    r, g, b = colour
    return min(r, b) > g + TINT


def tinted_pixels(shot, rect=WINDOW):
    left, top, right, bottom = rect
    return [(x, y) for y in range(top, bottom) for x in range(left, right)
            if magenta_tinted(shot.pixel(x, y))]


def glowing(shot, rect):
    """An orange pixel in rect: the glow, dimmed or not by the window's opacity."""
    left, top, right, bottom = rect
    return any(r >= 100 and r > g + 40 and b < 40
               for r, g, b in (shot.pixel(x, y) for y in range(top, bottom, 2) for x in range(left, right, 2)))


def target_clicks(s):
    """The clicks the typing target received, as it records them."""
    try:
        with open(os.path.join(s.app_dir, "target-clicks.txt")) as f:
            return [tuple(map(int, line.split())) for line in f if line.strip()]
    except FileNotFoundError:
        return []


def start(s, rendermode, alpha=204, target_size=(None, None)):
    """The typing target behind, and Tavrin below Wine's tray window in the labels-only design
    with smoothed text, drawn the given way."""
    _, target_xid = s.start_target(0, 0, *target_size)
    focus_window(target_xid)
    s.write_settings([("main", [("left", str(LEFT)), ("top", str(TOP)), ("style", "0"), ("aa", "1"),
                                ("alpha", str(alpha)), ("rendermode", str(rendermode))])], utf16=True)
    _, xid = s.start_tavrin()
    return target_xid, xid


def expect_labels_and_gaps(expect, shot, what):
    for name in LETTERS:
        expect.true(f"{what}: label of {name} drawn", label_ink(shot, RECTS[name]) is not None)
    expect.pixels(shot, {p: TARGET_COLOR for p in GAPS}, f"{what}: gap showing the program behind")


def test_per_pixel_alpha_leaves_no_magenta_and_switching_back_restores_the_colour_key(s):
    target_xid, xid = start(s, rendermode=0)
    # The colour-keyed picture first, as it looks with smoothed text: the reference to come
    # back to. Its grip is drawn at full strength, the opacity being the X server's business.
    grip = grip_fill_point(LEFT, TOP, WIDTH, HEIGHT)
    keyed = poll_shots("the colour-keyed picture", lambda shot: shot.pixel(*grip) == GRIP_FILL, 40)
    expect = Expectations()
    expect.equal("magenta-tinted pixels of the colour-keyed picture with smoothed text",
                 tinted_pixels(keyed), [])

    control.choose(xid, DRAWING_MENU, RENDER_MODE_MENU, RENDER_PER_PIXEL)
    # Wine makes the window a new X window for the per-pixel picture.
    xid = wait_for_window(MAIN_TITLE)
    focus_window(target_xid)
    # The opacity of 80 % is in every pixel here: 255 x 204 / 255 of the grip's red.
    dimmed_grip = tuple(c * 204 // 255 for c in GRIP_FILL)
    idle = poll_shots("the per-pixel picture", lambda shot: all(
        abs(a - b) <= 2 for a, b in zip(shot.pixel(*grip), dimmed_grip)), SWITCH_TIMEOUT)
    expect.equal("magenta-tinted pixels, idle", tinted_pixels(idle), [])
    expect_labels_and_gaps(expect, idle, "idle")
    expect.equal("rendermode saved", settle(lambda: main_settings(s).get("rendermode"), "1", 10), "1")

    with key_held("a"):
        lit = poll_shots("the A key glowing", lambda shot: glowing(shot, RECTS["A"]), 10)
        shots = [lit] + [Screenshot.take() for _ in range(3)]
    for i, shot in enumerate(shots):
        expect.equal(f"magenta-tinted pixels around the glowing A ({i})", tinted_pixels(shot, RECTS["A"]), [])
    expect.equal("magenta-tinted pixels with a glowing key", tinted_pixels(shots[-1]), [])
    expect_labels_and_gaps(expect, shots[-1], "with a glowing key")

    control.choose(xid, DRAWING_MENU, RENDER_MODE_MENU, RENDER_COLOR_KEY)
    focus_window(target_xid)
    # The picture comes back pixel for pixel once the speed panel has counted the A down again.
    try:
        poll_shots("the colour-keyed picture back", lambda shot: crop(shot, WINDOW) == crop(keyed, WINDOW),
                   SWITCH_TIMEOUT, interval=0.3)
    except HarnessError:
        last = Screenshot.take()
        differing = sum(a != b for a, b in zip(crop(last, WINDOW), crop(keyed, WINDOW)))
        expect.true(f"colour-keyed picture back: {differing} pixels differ", False)
    expect.equal("X focus", focused_window(), target_xid)
    expect.check()


def test_a_per_pixel_window_hides_shows_and_scales_from_its_grip_like_the_colour_keyed_one(s):
    # Short of the whole screen: Wine confines the pointer to a clicked foreground window that
    # covers the screen.
    target_xid, xid = start(s, rendermode=1, alpha=255, target_size=(1800, 1000))
    grip = grip_fill_point(LEFT, TOP, WIDTH, HEIGHT)
    poll_shots("the per-pixel picture at start", lambda shot: shot.pixel(*grip) == GRIP_FILL, 40)
    expect = Expectations()

    # Click-through is on: a click on a key reaches the program below.
    key_a = centre(RECTS["A"])
    xdotool("mousemove", *key_a)
    time.sleep(0.15)
    xdotool("click", 1)
    expect.equal("clicks the program below received",
                 settle(lambda: target_clicks(s), [key_a], 10), [key_a])

    control.press_hot_key()
    control.main_window_shown(False)
    control.press_hot_key()
    control.main_window_shown(True)
    shown = poll_shots("the picture shown again", lambda shot: shot.pixel(*grip) == GRIP_FILL, 10)
    expect_labels_and_gaps(expect, shown, "shown again")

    # The grip takes the pointer, and a drag on it scales.
    x, y = grip[0] + 2, grip[1] + 2
    with button_held(x, y):
        time.sleep(0.3)
        for step in range(1, 11):
            xdotool("mousemove", x + 5 * step, y + 5 * step)
            time.sleep(0.03)
    width, height = window_size(1.005 ** 50)
    expect.equal("window geometry after the grip's drag",
                 settle(lambda: window_geometry(xid), (LEFT, TOP, width, height), 10), (LEFT, TOP, width, height))
    grown_grip = grip_fill_point(LEFT, TOP, width, height, 1.005 ** 50)
    expect.equal("grip drawn at the new size",
                 settle(lambda: Screenshot.take().pixel(*grown_grip), GRIP_FILL, 10), GRIP_FILL)
    expect.equal("X focus", focused_window(), target_xid)
    expect.check()
