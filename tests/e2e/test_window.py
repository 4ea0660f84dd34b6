"""The main window on a first start: where it appears, its size, styles, look and opacity."""
import os

from frame_points import GRIP_FILL, TRANSPARENT_POINTS, expect_grip, grip_fill_point
from harness import (MAIN_CLASS, MAIN_TITLE, TARGET_COLOR, Expectations, focus_window,
                     focused_window, wait_for_pixel, window_geometry, window_opacity)

WS_POPUP = 0x80000000
WS_CAPTION = 0x00C00000
WS_THICKFRAME = 0x00040000
EX_STYLES = {"WS_EX_TOPMOST": 0x8, "WS_EX_TOOLWINDOW": 0x80, "WS_EX_LAYERED": 0x80000,
             "WS_EX_NOACTIVATE": 0x8000000}


def test_first_start_shows_the_default_window_at_the_top_left_borderless_layered_and_on_top(s):
    target, target_xid = s.start_target()
    focus_window(target_xid)
    tavrin, xid = s.start_tavrin()
    shot = wait_for_pixel(grip_fill_point(0, 0, 932, 316), GRIP_FILL)

    expect = Expectations()
    expect.equal("window geometry", window_geometry(xid), (0, 0, 932, 316))
    expect_grip(expect, shot, 0, 0, 932, 316)
    expect.pixels(shot, {p: TARGET_COLOR for p in TRANSPARENT_POINTS}, "transparent frame")
    # The constant alpha is not in the pixels (no compositor); Wine hands it to X here.
    expect.equal("_NET_WM_WINDOW_OPACITY", window_opacity(xid), 0xCCCCCCCC)
    expect.equal("X focus", focused_window(), target_xid)
    expect.true("no settings.ini written at start-up", not os.path.exists(s.settings_path))

    # What Windows knows of the window: borderless, on top, layered, never taking the focus.
    info = s.tool("info")
    expect.equal("class", info.get("class"), MAIN_CLASS)
    expect.equal("title", info.get("title"), MAIN_TITLE)
    style = int(info.get("style", "0"), 16)
    expect.true(f"WS_POPUP in style 0x{style:08X}", style & WS_POPUP)
    expect.true(f"no caption or sizing frame in style 0x{style:08X}",
                not style & (WS_CAPTION | WS_THICKFRAME))
    ex_style = int(info.get("exstyle", "0"), 16)
    for name, bit in EX_STYLES.items():
        expect.true(f"{name} in extended style 0x{ex_style:08X}", ex_style & bit)
    expect.equal("client size", info.get("client"), "932 316")
    expect.equal("colour key, alpha, flags", info.get("layered"), "0xFF00FF 204 0x3")
    expect.equal("visible", info.get("visible"), "1")
    expect.equal("foreground", info.get("foreground"), "0")
    expect.check()


def test_a_topmost_full_screen_window_brought_to_the_front_goes_behind_the_keyboard(s):
    s.start_tavrin()
    grip = grip_fill_point(0, 0, 932, 316)
    wait_for_pixel(grip, GRIP_FILL)
    # A full-screen window that makes itself topmost comes to the front after the keyboard, as
    # a game or a video player does: the keyboard is put back above it, without the focus.
    _, target_xid = s.start_target(topmost=True)
    focus_window(target_xid)
    wait_for_pixel(grip, GRIP_FILL, timeout=10)
    expect = Expectations()
    expect.equal("X focus", focused_window(), target_xid)
    expect.equal("foreground", s.tool("info").get("foreground"), "0")
    expect.check()
