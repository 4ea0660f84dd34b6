"""The full keyboard (layout=1): modifiers, Enter, Backspace, Tab, Esc, function keys, arrows
and the keypad each light a key of their own; the menu switches keyboards; the compact
keyboard still ignores the keys it does not show."""
import time

import control_support as control
from control_support import KEYBOARD_COMPACT, KEYBOARD_FULL, KEYBOARD_MENU
from frame_points import GRIP_FILL, grip_fill_point
from harness import Expectations, Screenshot, focus_window, run, wait_for_pixel, window_geometry
from keys_support import (BAR_BLUE, LIT_TIMEOUT, crop, drawn_lit, drawn_normal, grid_rect, main_settings,
                          poll_shots, settle, type_text, window_size)

# The full keyboard at scale 1.00: keys 48 pixels wide and 56 apart, rows 60 apart with the
# digits a quarter row below the function keys, the keypad's right edge at 22.5 units.
FULL_SIZE = (1408, 391)


# X key names, pressed with xte (xdotool presses the left Ctrl too for the right one under
# Wine), and the key each lights on the ANSI and ISO keyboards. Under Wine the US keymap has
# the key beside the left Shift, so the ISO keyboard is shown; the keys below sit alike on both.
KEYS = {
    "Control_L": grid_rect(0, 5.25, 1.25),
    "Control_R": grid_rect(13.75, 5.25, 1.25),
    "Alt_L": grid_rect(2.5, 5.25, 1.25),
    "Return": grid_rect(12.75, 3.25, 2.25),
    "KP_Enter": grid_rect(21.5, 4.25, 1, 2),
    "BackSpace": grid_rect(13, 1.25, 2),
    "Tab": grid_rect(0, 2.25, 1.5),
    "Escape": grid_rect(0, 0),
    "F5": grid_rect(6.5, 0),
    "Left": grid_rect(15.25, 5.25),
    "KP_Left": grid_rect(18.5, 3.25),  # the keypad's 4, with and without Num Lock
}
A_KEY = grid_rect(1.75, 3.25)
PANEL_BAR_COLUMN = 1334  # the middle of the speed panel, right of the keypad


def xte(*commands):
    run(["xte", *commands])


def start_full_keyboard(s, language=None):
    """The target with the X focus, and Tavrin showing the full keyboard at (0, 0)."""
    if language:
        s.use_wine(language=language)
    s.write_settings([("main", [("layout", "1"), ("left", "0"), ("top", "0")])], utf16=True)
    _, target = s.start_target()
    focus_window(target)
    _, xid = s.start_tavrin()
    wait_for_pixel(grip_fill_point(0, 0, *FULL_SIZE), GRIP_FILL)
    focus_window(target)
    return xid


def others_lit(shot, name):
    return [other for other, rect in KEYS.items() if other != name and drawn_lit(shot, rect)]


def hold_and_check(expect, name, what=None):
    """Holds the key: its own key, and no other of KEYS, is drawn lit; released, it goes out."""
    what = what or name
    rect = KEYS[name]
    xte(f"keydown {name}")
    try:
        shot = poll_shots(f"{what} drawn lit", lambda shot: drawn_lit(shot, rect), LIT_TIMEOUT)
        expect.equal(f"other keys lit with {what}", others_lit(shot, name), [])
    finally:
        xte(f"keyup {name}")
    poll_shots(f"{what} drawn out again", lambda shot: drawn_normal(shot, rect), LIT_TIMEOUT)


def test_every_kind_of_key_lights_a_key_of_its_own_on_the_full_keyboard(s):
    xid = start_full_keyboard(s)
    expect = Expectations()
    geometry = window_geometry(xid)
    expect.equal("window of the full keyboard", geometry, (0, 0) + FULL_SIZE)
    compact = window_size(1.0)
    expect.true(f"larger than the compact one {compact}", geometry[2] > compact[0] and geometry[3] > compact[1])

    # Escape after Alt, which may leave the target in its menu mode.
    for name in ("Control_L", "Control_R", "Alt_L", "Return", "KP_Enter", "BackSpace", "Tab", "Escape", "F5",
                 "Left", "KP_Left"):
        hold_and_check(expect, name)
    xte("key Num_Lock")
    try:
        hold_and_check(expect, "KP_Left", "the keypad's 4 with Num Lock on")
    finally:
        xte("key Num_Lock")

    # Letters still light, and typing moves the speed panel.
    xte("keydown a")
    try:
        poll_shots("the A key drawn lit", lambda shot: drawn_lit(shot, A_KEY), LIT_TIMEOUT)
    finally:
        xte("keyup a")
    type_text("go type it")
    poll_shots("the speed bar up after typing",
               lambda shot: any(shot.pixel(PANEL_BAR_COLUMN, y) == BAR_BLUE for y in range(48, 364)), LIT_TIMEOUT)
    expect.check()


def test_a_japanese_keyboard_shows_the_japanese_arrangement(s):
    # Wine calls the keyboard Japanese (GetKeyboardType 7) in a Japanese session.
    start_full_keyboard(s, language="ja_JP.UTF-8")
    jis_enter = grid_rect(13.75, 2.25, 1.25, 2)
    xte("keydown Return")
    try:
        poll_shots("the tall Enter drawn lit", lambda shot: drawn_lit(shot, jis_enter), LIT_TIMEOUT)
    finally:
        xte("keyup Return")


def test_the_compact_keyboard_ignores_keys_it_lacks_and_the_menu_switches_keyboards_keeping_the_corner(s):
    _, target = s.start_target()
    focus_window(target)
    _, xid = control.start_below_tray(s)
    left, top = control.START_POSITION
    width, height = window_size(1.0)
    control.wait_geometry(xid, (left, top, width, height))
    wait_for_pixel(grip_fill_point(left, top, width, height), GRIP_FILL)
    focus_window(target)
    expect = Expectations()

    # The compact keyboard shows no Enter, arrow or keypad: holding them changes nothing.
    window = (left, top, left + width, top + height)
    before = crop(Screenshot.take(), window)
    for name in ("Return", "Left", "KP_Enter"):
        xte(f"keydown {name}")
        try:
            time.sleep(0.4)  # well past the time a key takes to light
            changed = crop(Screenshot.take(), window) != before
        finally:
            xte(f"keyup {name}")
        expect.true(f"the window unchanged while {name} is held", not changed)

    control.choose(xid, KEYBOARD_MENU, KEYBOARD_FULL)
    control.wait_geometry(xid, (left, top) + FULL_SIZE)
    expect.equal("layout saved", settle(lambda: main_settings(s).get("layout"), "1", 10), "1")
    control.choose(xid, KEYBOARD_MENU, KEYBOARD_COMPACT)
    control.wait_geometry(xid, (left, top, width, height))
    expect.equal("layout saved", settle(lambda: main_settings(s).get("layout"), "0", 10), "0")
    expect.check()
