"""Keys typed into another application light up on Tavrin, and the speed panel follows."""
import time

from harness import TARGET_COLOR, Expectations, Screenshot, focused_window, wait_until
from keys_support import (FILL_A, FILL_N, LIT_TIMEOUT, bar_blue_rows, bar_blue_rows_for,
                          drawn_lit, key_held, key_rects, lit_body_points, normal_body_points,
                          poll_shots, start_keyboard, type_text)

KEY_A = key_rects()["A"]
SENTENCE = "go type it"  # ten presses: eight letters and two spaces
# The panel counts the presses of the last second and repaints at least once a second.
BAR_FALL_LIMIT = 2.5


def test_a_key_held_in_another_window_is_lit_until_shortly_after_its_release(s):
    target, _ = start_keyboard(s)
    expect = Expectations()
    with key_held("a") as pressed:
        poll_shots("the A key drawn lit", lambda shot: drawn_lit(shot, KEY_A), LIT_TIMEOUT)
        # Well past the 140 ms that even a tap stays lit, and before the keyboard's
        # auto-repeat (about 660 ms) presses the key again: only the hold keeps it lit now.
        time.sleep(max(0.0, pressed + 0.4 - time.monotonic()))
        held = Screenshot.take()
    released = time.monotonic()
    expect.pixels(held, {p: FILL_A for p in lit_body_points(KEY_A)}, "held A, grown body")

    time.sleep(max(0.0, released + 0.3 - time.monotonic()))
    after = Screenshot.take()
    expect.pixels(after, {p: FILL_N for p in normal_body_points(KEY_A)}, "released A, body")
    expect.pixels(after, {p: TARGET_COLOR for p in lit_body_points(KEY_A)},
                  "released A, band of the grown body")
    expect.equal("X focus", focused_window(), target)
    expect.check()


def test_ten_quick_presses_raise_the_speed_bar_which_falls_back_to_zero(s):
    target, _ = start_keyboard(s)
    expect = Expectations()
    expect.equal("bar rows before typing", bar_blue_rows(Screenshot.take()), 0)

    last_press = type_text(SENTENCE)
    # All ten presses stay in the panel's one-second count for most of a second.
    ten = bar_blue_rows_for(10)
    seen = []
    while not seen or (seen[-1] != ten and time.monotonic() < last_press + 1.5):
        seen.append(bar_blue_rows(Screenshot.take()))
    expect.equal("highest bar seen (rows of the bar colour)", max(seen), ten)

    def zero_bar_seen_at():
        taken = time.monotonic()
        return taken if bar_blue_rows(Screenshot.take()) == 0 else None

    fell = wait_until("the bar back at zero", zero_bar_seen_at, 10) - last_press
    expect.true(f"bar back at zero {fell:.2f} s after the last press, limit {BAR_FALL_LIMIT} s",
                fell <= BAR_FALL_LIMIT)
    expect.equal("X focus", focused_window(), target)
    expect.check()


# Either side of the speed panel, beside the CPM figure's rows: margins that show what lies
# behind the window, where a figure wider than the panel draws while it is up.
BESIDE_PANEL = [(x, y) for x in (792, 795, 920, 925, 929) for y in range(26, 76, 3)]


def test_a_wide_speed_figure_leaves_nothing_beside_the_panel_once_it_narrows(s):
    start_keyboard(s)
    expect = Expectations()
    # Twenty presses in well under a second: a four-digit CPM, wider than the panel. The
    # capitals bring Shift, whose every change repaints the whole window, spill included.
    type_text("abcdefghijklmnopqRST", delay_ms=15)
    wide = Screenshot.take()
    spilled = [p for p in BESIDE_PANEL if wide.pixel(*p) != TARGET_COLOR]
    wait_until("the bar back at zero", lambda: bar_blue_rows(Screenshot.take()) == 0, 10)
    time.sleep(1.2)  # and a further once-a-second refresh
    after = Screenshot.take()
    stale = [p for p in BESIDE_PANEL if after.pixel(*p) != TARGET_COLOR]
    expect.equal(f"pixels beside the panel left drawn (of {len(spilled)} the wide figure covered)",
                 stale, [])
    expect.check()
