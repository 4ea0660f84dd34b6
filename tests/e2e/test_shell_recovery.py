"""The shell around Tavrin misbehaves and Tavrin copes: a hot key held down toggles the window
once, and a tray icon lost with the taskbar comes back when the taskbar does."""
import time

import control_support as control
from harness import (MAIN_TITLE, Expectations, HarnessError, find_windows, focus_window, run,
                     wait_until)

HOLD_SECONDS = 1.6


def visibility_changes_while_held(seconds):
    """Holds Ctrl+Shift+K down for `seconds` and counts how often the window appeared or
    disappeared meanwhile; returns (changes, shown at the end)."""
    shown = bool(find_windows(MAIN_TITLE))
    changes = 0
    run(["xdotool", "keydown", "ctrl+shift+k"])
    try:
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline:
            now_shown = bool(find_windows(MAIN_TITLE))
            changes += now_shown != shown
            shown = now_shown
    finally:
        run(["xdotool", "keyup", "ctrl+shift+k"])
    time.sleep(0.3)
    now_shown = bool(find_windows(MAIN_TITLE))
    return changes + (now_shown != shown), now_shown


def test_holding_the_hot_key_toggles_the_window_once(s):
    _, target = s.start_target()
    focus_window(target)
    control.start_below_tray(s)
    expect = Expectations()
    # The keyboard repeats K about every 40 ms after 660 ms: a held hot key must not follow it.
    changes, shown = visibility_changes_while_held(HOLD_SECONDS)
    expect.equal("window changes while the hot key was held", changes, 1)
    expect.equal("shown after the first hold", shown, False)
    changes, shown = visibility_changes_while_held(HOLD_SECONDS)
    expect.equal("window changes while held the second time", changes, 1)
    expect.equal("shown after the second hold", shown, True)
    # A quick press after a release toggles again at once.
    control.press_hot_key()
    control.main_window_shown(False)
    expect.check()


def tray_shown():
    return bool(find_windows(control.TRAY_TITLE))


def test_a_tray_icon_lost_with_the_taskbar_comes_back_with_it(s):
    control.link_japanese_font()
    _, target = s.start_target(0, 540, 1920, 540)
    focus_window(target)
    _, xid = control.start_below_tray(s)
    wait_until("the tray icon", tray_shown, control.MENU_TIMEOUT)
    # The shell goes and takes the icon with it; Wine's tray window goes when it is empty.
    s.tool("lose-tray-icon")
    wait_until("the tray window to go with its last icon", lambda: not tray_shown(), control.MENU_TIMEOUT)
    s.tool("taskbar-created")
    expect = Expectations()
    try:
        wait_until("the tray icon back", tray_shown, control.MENU_TIMEOUT)
    except HarnessError:
        expect.true("no tray icon after the taskbar came back", False)
    else:
        # It is Tavrin's icon, and it works: its menu opens.
        control.open_menu(xid)
        run(["xdotool", "key", "Escape"])
    expect.check()
