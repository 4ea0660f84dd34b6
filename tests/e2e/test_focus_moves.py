"""The keyboard focus moving as it does in everyday programs: a password field stays private
through its own context menu and while other programs announce focus changes of their own,
and no key typed around an ordinary focus change is lost."""
import time

import keys_support as keys
from harness import Expectations, Screenshot, focus_window, wait_for_window
from privacy_support import (PASSWORD_FIELD, PLAIN_BOXES, WINDOW_AREA, click_into, start_fields,
                             unchanged_while_typing)

ANNOUNCER_TITLE = "Tavrin E2E Announcer"
# Clear of Tavrin's window and of the target's fields.
ANNOUNCER_PLACE = (1000, 400, 300, 120)


def test_a_password_field_stays_private_after_its_own_context_menu_and_while_another_program_announces_focus(s):
    target, sound = start_fields(s, sound=True)
    click_into(PASSWORD_FIELD)
    before = keys.crop(Screenshot.take(), WINDOW_AREA)
    # Its menu's first item takes the focus, as Windows announces it; Esc closes the menu and
    # the focus is back in the field without an announcement of its own.
    click_into(PASSWORD_FIELD, button=3)
    keys.xdotool("key", "Escape")
    time.sleep(0.3)
    expect = Expectations()
    unchanged_while_typing(expect, "the password field after its context menu", before, sound)

    s.start("announcer", s.target_exe, *ANNOUNCER_PLACE, "announce")
    wait_for_window(ANNOUNCER_TITLE)
    focus_window(target)  # Wine makes a new window the foreground; the user types into the target
    click_into(PASSWORD_FIELD)
    before = keys.crop(Screenshot.take(), WINDOW_AREA)
    # Typing takes over a second: a dozen announcements come meanwhile.
    unchanged_while_typing(expect, "the password field while a focus is announced every 100 ms", before, sound)
    expect.check()


def test_keys_typed_around_a_move_into_a_plain_field_light_count_and_stay_lit(s):
    start_fields(s)
    click_into(PLAIN_BOXES[1])  # a first question loads the accessibility libraries
    click_into(PASSWORD_FIELD)
    rects = keys.key_rects()
    expect = Expectations()
    # The click and four keys in one go, the last one held: the keys come before the target
    # has moved its focus, and the field is asked about while they wait.
    x, y = PLAIN_BOXES[0]
    keys.xdotool("mousemove", x, y, "mousedown", "1", "mouseup", "1", "key", "--delay", "0", "b", "c", "d",
                 "keydown", "a")
    try:
        # Well before the first auto-repeat (about 660 ms after the press).
        keys.poll_shots("A lit", lambda shot: keys.drawn_lit(shot, rects["A"]), 0.5, interval=0.02)
        expect.equal("rows of the speed bar for the four presses",
                     keys.settle(lambda: keys.bar_blue_rows(Screenshot.take()), keys.bar_blue_rows_for(4), 0.3),
                     keys.bar_blue_rows_for(4))
    finally:
        keys.xdotool("keyup", "a")

    # A Shift held while Tab moves the focus on to the next plain field stays lit.
    keys.xdotool("keydown", "shift")
    try:
        keys.poll_shots("Shift lit", lambda shot: keys.drawn_lit(shot, rects["LShift"]), keys.LIT_TIMEOUT)
        keys.xdotool("key", "Tab")
        time.sleep(0.5)  # the focus moves to the second field, which is asked about and answers
        expect.true("Shift drawn lit after the Tab while still held",
                    keys.drawn_lit(Screenshot.take(), rects["LShift"]))
    finally:
        keys.xdotool("keyup", "shift")
    expect.check()
