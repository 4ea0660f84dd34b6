"""settings.ini beside the executable: what a start reads from it and what closing writes."""
import os

from frame_points import GRIP_FILL, expect_grip, grip_fill_point
from harness import (MAIN_TITLE, Expectations, Screenshot, wait_for_pixel, wait_until, wait_window_gone,
                     window_geometry, window_opacity)

MAIN_KEYS = ["style", "alpha", "topmost", "clickthru", "shadow", "aa", "rendermode", "soundOn",
             "soundSel", "autoMuteSys", "scale", "left", "top", "layout"]
COLOR_KEYS = ["textN", "textA", "fillN", "fillA", "lineN", "lineA", "shadow"]

DEFAULT_MAIN = {"style": "1", "alpha": "204", "topmost": "1", "clickthru": "1", "shadow": "0",
                "aa": "0", "rendermode": "0", "soundOn": "0", "soundSel": "1",
                "autoMuteSys": "0", "scale": "1000", "layout": "0"}
DEFAULT_COLOR = {"textN": "1E1E1E", "textA": "FFFFFF", "fillN": "E6E6E6", "fillA": "3CA0FF",
                 "lineN": "505050", "lineA": "3CA0FF", "shadow": "A0A0A0"}


def expect_file_layout(expect, sections):
    """Both sections, every key once, in the order a fresh file gets them."""
    names = [name for name, _ in sections]
    expect.equal("sections", names[:2], ["main", "color"])
    main = sections[0][1] if sections else []
    color = sections[1][1] if len(sections) > 1 else []
    expect.equal("keys of [main]", [key for key, _ in main], MAIN_KEYS)
    expect.equal("keys of [color]", [key for key, _ in color], COLOR_KEYS)


def test_closing_writes_every_setting_and_the_position_then_a_restart_comes_back(s):
    s.start_target()
    tavrin, _ = s.start_tavrin()
    wait_for_pixel(grip_fill_point(0, 0, 932, 316), GRIP_FILL)
    exit_code = s.close_tavrin(tavrin)
    wait_window_gone(MAIN_TITLE)

    expect = Expectations()
    expect.equal("exit code", exit_code, 0)
    expect.true("settings.ini written", os.path.exists(s.settings_path))
    if os.path.exists(s.settings_path):
        sections = s.read_settings()
        expect_file_layout(expect, sections)
        expect.equal("[main]", dict(sections[0][1]), {**DEFAULT_MAIN, "left": "0", "top": "0"})
        expect.equal("[color]", dict(sections[1][1]) if len(sections) > 1 else {}, DEFAULT_COLOR)
    expect.check()

    _, xid = s.start_tavrin()
    expect.equal("geometry after a restart", window_geometry(xid), (0, 0, 932, 316))
    expect.check()


def test_saved_scale_and_position_size_and_place_the_window(s):
    s.write_settings([("main", [("scale", "1500"), ("left", "250"), ("top", "350")])])
    s.start_target()
    _, xid = s.start_tavrin()
    shot = wait_for_pixel(grip_fill_point(250, 350, 1398, 474, 1.5), GRIP_FILL)

    expect = Expectations()
    expect.equal("window geometry", window_geometry(xid), (250, 350, 1398, 474))
    expect_grip(expect, shot, 250, 350, 1398, 474, 1.5)
    expect.check()


def test_a_saved_position_off_every_screen_opens_at_the_top_left_and_one_on_it_stays(s):
    # As after a monitor was unplugged: nothing of the window would be on the screen.
    s.write_settings([("main", [("left", "-3000"), ("top", "2500")])])
    tavrin = s.start_tavrin_unmapped()
    info = s.wait_for_main_window_info(tavrin)
    expect = Expectations()
    expect.equal("window rectangle of a position off every screen", info.get("rect"), "0 0 932 316")
    expect.equal("exit code", s.close_tavrin(tavrin), 0)
    main = dict(s.read_settings()[0][1])
    expect.equal("position saved at exit", (main.get("left"), main.get("top")), ("0", "0"))

    # Partly off the screen, negative coordinates included: exactly where it was left.
    for left, top in ((-500, -100), (1900, 1070)):
        s.write_settings([("main", [("left", str(left)), ("top", str(top))])])
        tavrin = s.start_tavrin_unmapped()
        info = s.wait_for_main_window_info(tavrin)
        expect.equal(f"window rectangle at ({left}, {top})", info.get("rect"),
                     f"{left} {top} {left + 932} {top + 316}")
        expect.equal("exit code", s.close_tavrin(tavrin), 0)
    expect.check()


def test_every_setting_survives_a_close_and_a_restart_in_a_unicode_file(s):
    saved = [("main", [("style", "2"), ("alpha", "153"), ("topmost", "0"), ("clickthru", "0"),
                       ("shadow", "1"), ("aa", "1"), ("rendermode", "1"), ("soundOn", "0"),
                       ("soundSel", "3"), ("autoMuteSys", "0"), ("scale", "1250"),
                       ("left", "120"), ("top", "80"), ("layout", "1")]),
             ("color", [("textN", "102030"), ("textA", "405060"), ("fillN", "708090"),
                        ("fillA", "A0B0C0"), ("lineN", "D0E0F0"), ("lineA", "0A0B0C"),
                        ("shadow", "0D0E0F")])]
    # A file that starts with the UTF-16LE byte-order mark stays Unicode when rewritten.
    s.write_settings(saved, utf16=True)
    s.start_target()
    tavrin, xid = s.start_tavrin()

    expect = Expectations()
    # The full keyboard at 1.25.
    expect.equal("window geometry", window_geometry(xid), (120, 80, 1761, 489))
    # Shown with per-pixel alpha, the window carries its opacity of 60 % in its pixels: under
    # Wine, without a compositor, the grip's orange over black.
    expect.equal("_NET_WM_WINDOW_OPACITY", window_opacity(xid), None)
    grip = grip_fill_point(120, 80, 1761, 489, 1.25)
    dimmed = tuple(c * 153 // 255 for c in GRIP_FILL)
    wait_until(f"the grip at 60 % opacity, {dimmed}, at {grip}",
               lambda: all(abs(a - b) <= 2 for a, b in zip(Screenshot.take().pixel(*grip), dimmed)), 40)
    expect.equal("exit code", s.close_tavrin(tavrin), 0)
    with open(s.settings_path, "rb") as f:
        expect.true("still UTF-16LE with its byte-order mark", f.read(2) == b"\xff\xfe")
    expect.equal("settings.ini after closing", s.read_settings(), saved)

    _, xid = s.start_tavrin()
    expect.equal("geometry after a restart", window_geometry(xid), (120, 80, 1761, 489))
    expect.check()
