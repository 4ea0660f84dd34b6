"""What the key, label, speed and gesture tests share: where things are drawn, how a lit key
looks on the screen, and typing and pointing with xdotool that always lets go again."""
import contextlib
import time

from frame_points import GRIP_FILL, grip_fill_point
from harness import (HarnessError, Screenshot, focus_window, run, wait_for_pixel, wait_until,
                     window_geometry)

FILL_N = (230, 230, 230)
FILL_A = (60, 160, 255)
BAR_BLUE = (0, 120, 255)
LIT_GROW = 6

# The bar's middle column and the lowest row a bar can reach up to (inner frame top + 28).
BAR_COLUMN = 858
BAR_BOTTOM = 288
BAR_HIGHEST_TOP = 48
BAR_ROOM = 236

LIT_TIMEOUT = 10  # a loaded machine may paint late, but a lit key must show eventually


# ---------------------------------------------------------------------------- layout

def _round(x):
    return int(x + 0.5)


def metrics(scale):
    return {"key": _round(48 * scale), "gap": _round(8 * scale), "row_gap": _round(12 * scale),
            "margin": _round(14 * scale), "panel": _round(120 * scale)}


# The compact keyboard, row by row: (indent in key widths, [(name, width in key units), ...]).
_COMPACT_ROWS = [(0, [(c, 1) for c in "1234567890"] + [("ー", 1)]),
                 (0.5, [(c, 1) for c in "QWERTYUIOP@"]),
                 (1, [(c, 1) for c in "ASDFGHJKL;:"]),
                 (0, [("LShift", 2)] + [(c, 1) for c in "ZXCVBNM,./"] + [("RShift", 2)]),
                 (2, [("Space", 7)])]


def grid_rect(units, row, width=1.0, height=1.0, indent=0.0, scale=1.0):
    """A key's rectangle (left, top, right, bottom) in client pixels, as the keyboard is built
    from its table: its place in key units (a key and the gap after it) plus `indent` key
    widths, its row, and its width and height in units and rows."""
    m = metrics(scale)

    def x(at):
        return m["margin"] + int(at * (m["key"] + m["gap"]) + indent * m["key"])

    def y(at):
        return m["margin"] + int(at * (m["key"] + m["row_gap"]))

    return x(units), y(row), x(units + width) - m["gap"], y(row + height) - m["row_gap"]


def key_rects(scale=1.0):
    """Every key's rectangle of the compact keyboard by its name."""
    rects = {}
    for row, (indent, keys) in enumerate(_COMPACT_ROWS):
        units = 0
        for name, width in keys:
            rects[name] = grid_rect(units, row, width, indent=indent, scale=scale)
            units += width
    return rects


def window_size(scale):
    m = metrics(scale)
    rects = key_rects(scale).values()
    right = max(r[2] for r in rects)
    bottom = max(r[3] for r in rects)
    return right + m["gap"] + m["margin"] + m["panel"], bottom + m["margin"]


# ---------------------------------------------------------------------------- pixels

def grown(rect, by=LIT_GROW):
    left, top, right, bottom = rect
    return left - by, top - by, right + by, bottom + by


def centre(rect):
    return (rect[0] + rect[2]) // 2, (rect[1] + rect[3]) // 2


def _corner_points(rect, inset):
    """Four points `inset` pixels inside the corners of rect, clear of the rounded corners,
    the outline and the glow disc in the middle."""
    left, top, right, bottom = rect
    return [(left + inset, top + inset), (right - 1 - inset, top + inset),
            (left + inset, bottom - 1 - inset), (right - 1 - inset, bottom - 1 - inset)]


def lit_body_points(rect):
    """Points of the grown body that lie outside the key's own rectangle."""
    return _corner_points(grown(rect), 3)


def normal_body_points(rect):
    return _corner_points(rect, 3)


def drawn_lit(shot, rect):
    return all(shot.pixel(*p) == FILL_A for p in lit_body_points(rect))


def drawn_normal(shot, rect, background=None):
    """The key's body in the normal fill; given the background, also the band that a lit key
    would cover shows what lies behind the window again. (Neighbours' bands overlap: a lit
    key's band covers part of the band of the key beside it.)"""
    return (all(shot.pixel(*p) == FILL_N for p in normal_body_points(rect))
            and (background is None
                 or all(shot.pixel(*p) == background for p in lit_body_points(rect))))


def glow_orange(colour):
    """Orange blended over the lit fill or the white label: far more red and far less blue
    than the lit fill RGB(60, 160, 255) has."""
    red, _, blue = colour
    return red >= FILL_A[0] + 80 and blue <= FILL_A[2] - 95


def label_ink(shot, rect):
    """(top row, bottom row, dark pixel count) of the label's dark text inside a key that is
    not lit, the outline excluded; None when there is no text."""
    left, top, right, bottom = rect
    dark = [(x, y) for y in range(top + 2, bottom - 2) for x in range(left + 2, right - 2)
            if max(shot.pixel(x, y)) < 128]
    if not dark:
        return None
    rows = [y for _, y in dark]
    return min(rows), max(rows), len(dark)


def crop(shot, rect):
    left, top, right, bottom = rect
    return [shot.pixel(x, y) for y in range(top, bottom) for x in range(left, right)]


def bar_blue_rows(shot):
    """How many rows of the speed bar's inside show the bar colour in its middle column."""
    return sum(1 for y in range(BAR_HIGHEST_TOP, BAR_BOTTOM)
               if shot.pixel(BAR_COLUMN, y) == BAR_BLUE)


def bar_blue_rows_for(presses):
    """The bar's inside for this many presses in the last second: its height less the
    outline's top and bottom rows."""
    cpm = min(presses * 60.0, 2000.0)
    height = int(cpm / 2000.0 * BAR_ROOM + 0.5)
    return max(height - 2, 0)


def poll_shots(what, accept, timeout, interval=0.05):
    """The first screenshot that accept() takes, polling until timeout."""
    def probe():
        shot = Screenshot.take()
        return shot if accept(shot) else None

    return wait_until(what, probe, timeout, interval)


def settle(probe, expected, timeout):
    """Polls probe until it returns expected or timeout passes; returns its last value, so
    that a mismatch can be reported with what was seen."""
    last = {}

    def probe_once():
        last["value"] = probe()
        return last["value"] == expected

    try:
        wait_until(f"{expected!r}", probe_once, timeout, interval=0.1)
    except HarnessError:
        pass
    return last["value"]


# ---------------------------------------------------------------------------- a session

def start_keyboard(session, target_size=None):
    """The target covering the screen (or, given its size, the screen's top-left part) with the
    X focus, and Tavrin at its default place and size, painted. Returns (target X id, Tavrin
    X id)."""
    width, height = target_size or (None, None)
    _, target_xid = session.start_target(0, 0, width, height)
    focus_window(target_xid)
    _, tavrin_xid = session.start_tavrin()
    width, height = window_size(1.0)
    wait_for_pixel(grip_fill_point(0, 0, width, height), GRIP_FILL)
    geometry = window_geometry(tavrin_xid)
    if geometry != (0, 0, width, height):
        raise HarnessError(f"Tavrin's window is at {geometry}, not at the default place")
    focus_window(target_xid)
    return target_xid, tavrin_xid


def main_settings(session):
    """[main] of settings.ini as a dict; empty while the file does not exist."""
    try:
        sections = session.read_settings()
    except FileNotFoundError:
        return {}
    for name, entries in sections:
        if name == "main":
            return dict(entries)
    return {}


# ---------------------------------------------------------------------------- xdotool

def xdotool(*args):
    run(["xdotool", *map(str, args)])


@contextlib.contextmanager
def key_held(name):
    """Holds a key down for the block; lets it go whatever happens inside."""
    xdotool("keydown", name)
    try:
        yield time.monotonic()
    finally:
        xdotool("keyup", name)


@contextlib.contextmanager
def button_held(x, y):
    """Presses the left button at (x, y) for the block; releases it whatever happens. The
    press follows the pointer's arrival a moment later, as a hand's does: a window that lets
    clicks through takes them only once it has seen the pointer reach its grip."""
    xdotool("mousemove", x, y)
    time.sleep(0.1)
    xdotool("mousedown", 1)
    try:
        yield
    finally:
        xdotool("mouseup", 1)


def type_text(text, delay_ms=30):
    """Types text into the window that has the X focus; returns when the last key is up."""
    xdotool("type", "--delay", delay_ms, text)
    return time.monotonic()
