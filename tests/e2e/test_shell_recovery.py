"""The shell around Tavrin misbehaves and Tavrin copes: a tray icon lost with the taskbar comes
back when the taskbar does. (A hot key held down, which toggles the window once, is in
test_hot_key.)"""
import control_support as control
from harness import Expectations, HarnessError, find_windows, focus_window, run, wait_until


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
