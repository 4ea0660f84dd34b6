"""On a screen of 150 % (144 DPI) the keyboard is drawn half as large again in real pixels,
as crisp as at 100 %: the frame Tavrin draws there is the frame of scale 1.50 at 96 DPI."""
import harness
from frame_points import GRIP_FILL, grip_fill_point
from harness import Expectations, Screenshot, focus_window, time_limit, wait_for_pixel, window_geometry
from keys_support import LIT_TIMEOUT, drawn_lit, key_held, key_rects, poll_shots

# Where an earlier version, which let Windows stretch it, kept its 932 x 316 window in the
# bottom-right corner of this 1920 x 1080 screen at 150 %, which it saw as 1280 x 720.
OLD_PLACE = (1280 - 932, 720 - 316)
SIZE_AT_144 = (1398, 474)


def at(rect, left, top):
    return rect[0] + left, rect[1] + top, rect[2] + left, rect[3] + top


def start_at_old_place(s, settings):
    left, top = OLD_PLACE
    s.write_settings([("main", [("left", str(left)), ("top", str(top))] + settings)], utf16=True)
    # Taller than the screen: its edit control, whose caret blinks, is below the screen and not
    # seen through the window's transparent pixels.
    _, target_xid = s.start_target(0, 0, 1920, 1300)
    focus_window(target_xid)
    _, xid = s.start_tavrin()
    wait_for_pixel(grip_fill_point(left, top, *SIZE_AT_144, scale=1.5), GRIP_FILL)
    return target_xid, xid


def window_pixels(shot, geometry):
    """{(x, y): colour} of the window's pixels, in window coordinates."""
    left, top, width, height = geometry
    return {(x, y): shot.pixel(left + x, top + y) for y in range(height) for x in range(width)}


@time_limit(300)
def test_at_144_dpi_the_window_is_half_as_large_again_and_draws_what_scale_one_and_a_half_draws(s):
    expect = Expectations()
    left, top = OLD_PLACE
    # A prefix made for 144 DPI: Wine reads LogPixels when its server starts.
    s.use_wine(prefix=harness.dpi_prefix(144))
    target_xid, xid = start_at_old_place(s, [])
    geometry = window_geometry(xid)
    expect.equal("window at 144 DPI and scale 1.00, where it was saved", geometry, (left, top, *SIZE_AT_144))
    expect.true("the window wholly on the screen", geometry[0] + geometry[2] <= 1920 and geometry[1] + geometry[3] <= 1080)
    at_144 = window_pixels(Screenshot.take(), (left, top, *SIZE_AT_144))

    key_a = at(key_rects(1.5)["A"], left, top)
    focus_window(target_xid)
    with key_held("a"):
        poll_shots(f"the A key drawn lit at {key_a}", lambda shot: drawn_lit(shot, key_a), LIT_TIMEOUT)
    expect.check()

    # The same place at 96 DPI and scale 1.50.
    s.use_wine()
    start_at_old_place(s, [("scale", "1500")])
    at_96 = window_pixels(Screenshot.take(), (left, top, *SIZE_AT_144))
    differing = [(p, at_144[p], at_96[p]) for p in at_144 if at_144[p] != at_96[p]]
    expect.equal(f"pixels that differ from the frame of scale 1.50 at 96 DPI, first ones {differing[:8]}",
                 len(differing), 0)
    expect.check()
