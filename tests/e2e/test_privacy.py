"""Tavrin sees every key typed on the machine and keeps none of it: once it has ended, no file
it may have written holds what was typed, neither as text nor as the keys' codes."""
import os
import time

import control_support as control
import faults_support as faults
import keys_support as keys
from harness import (MAIN_TITLE, Expectations, Screenshot, end_wine_session, focus_window,
                     wait_for_pixel, wait_window_gone)
from privacy_support import (PASSWORD_FIELD, PLAIN_FIELD, SECRET_BOX, TYPED, WINDOW_AREA, click_into,
                             set_back_access_time, start_with_sound, type_holding_each_key,
                             unchanged_while_typing)

SECRET = "zqxsecretkeyword"
# The set-1 scan codes of the US layout's letters, which a keyboard report also carries.
SCAN_CODES = {"a": 0x1E, "b": 0x30, "c": 0x2E, "d": 0x20, "e": 0x12, "f": 0x21, "g": 0x22,
              "h": 0x23, "i": 0x17, "j": 0x24, "k": 0x25, "l": 0x26, "m": 0x32, "n": 0x31,
              "o": 0x18, "p": 0x19, "q": 0x10, "r": 0x13, "s": 0x1F, "t": 0x14, "u": 0x16,
              "v": 0x2F, "w": 0x11, "x": 0x2D, "y": 0x15, "z": 0x2C}
REGISTRY_FILES = ("user.reg", "system.reg", "userdef.reg")


def traces_of(text):
    """{form: bytes} of every way a file could hold the typed text. The text forms are
    matched without regard to case; the virtual-key code of a letter is its capital."""
    key_codes = [ord(c.upper()) for c in text]
    return {
        "text": text.encode("ascii"),
        "UTF-16 text": text.encode("utf-16-le"),
        "8-bit key codes": bytes(key_codes),
        "16-bit key codes": b"".join(code.to_bytes(2, "little") for code in key_codes),
        "32-bit key codes": b"".join(code.to_bytes(4, "little") for code in key_codes),
        "scan codes": bytes(SCAN_CODES[c] for c in text),
        "16-bit scan codes": b"".join(SCAN_CODES[c].to_bytes(2, "little") for c in text),
    }


def files_under(folder):
    for root, _, names in os.walk(folder):
        for name in names:
            path = os.path.join(root, name)
            if os.path.isfile(path) and not os.path.islink(path):
                yield path


def files_tavrin_may_write(session):
    prefix = os.environ["WINEPREFIX"]
    yield from files_under(session.app_dir)
    yield from files_under(os.path.join(prefix, "drive_c", "users"))
    for name in REGISTRY_FILES:
        path = os.path.join(prefix, name)
        if os.path.isfile(path):
            yield path


def found_traces(paths, traces):
    """[(path, form), ...] for every trace some file holds."""
    found = []
    for path in paths:
        with open(path, "rb") as f:
            data = f.read()
        folded = data.lower()
        for form, trace in traces.items():
            if trace in data or trace.lower() in folded:
                found.append((path, form))
    return found


def test_nothing_typed_while_tavrin_runs_is_left_in_any_file_after_it_ends(s):
    _, target_xid = faults.start_target(s)
    focus_window(target_xid)
    tavrin, xid = control.start_below_tray(s)
    left, top = control.START_POSITION
    key_q = [v + d for v, d in zip(keys.key_rects()["Q"], (left, top, left, top))]
    wait_for_pixel(keys.centre(key_q), keys.FILL_N)

    focus_window(target_xid)
    keys.type_text(SECRET, delay_ms=40)
    # Tavrin saw the typing: a held key of the secret is drawn lit.
    with keys.key_held("q"):
        keys.poll_shots("Q to be drawn lit", lambda shot: keys.drawn_lit(shot, key_q), keys.LIT_TIMEOUT)

    faults.require_alive(tavrin, "before Exit")
    control.choose_exit(xid)
    expect = Expectations()
    expect.equal("exit code", tavrin.wait_exit(), 0)
    wait_window_gone(MAIN_TITLE)
    # The wineserver writes the registry files when it ends.
    end_wine_session()

    paths = list(files_tavrin_may_write(s))
    expect.true("settings.ini written", os.path.join(s.app_dir, "settings.ini") in paths)
    expect.true("the prefix's registry files searched",
                all(os.path.join(os.environ["WINEPREFIX"], name) in paths for name in REGISTRY_FILES))
    expect.equal("files holding what was typed", found_traces(paths, traces_of(SECRET)), [])
    expect.check()


def test_typing_into_a_password_field_shows_clicks_and_counts_nothing(s):
    sound = start_with_sound(s)
    expect = Expectations()
    for what, field in (("the password field", PASSWORD_FIELD), ("the password field of its own class", SECRET_BOX)):
        click_into(field)
        unchanged_while_typing(expect, what, keys.crop(Screenshot.take(), WINDOW_AREA), sound)

    # The same typing anywhere else shows every key, clicks and counts.
    click_into(PLAIN_FIELD)
    accessed = set_back_access_time(sound)
    shots = type_holding_each_key(TYPED)
    rects = keys.key_rects()
    unlit = [c for c, shot in zip(TYPED, shots) if not keys.drawn_lit(shot, rects[c.upper()])]
    expect.equal("keys typed into the plain field that were not lit", unlit, [])
    expect.true("the plain field's typing clicked", os.stat(sound).st_atime != accessed)
    expect.true("the plain field's typing raised the speed bar", keys.bar_blue_rows(Screenshot.take()) > 0)
    expect.check()


def test_a_key_held_when_the_focus_enters_a_password_field_goes_out(s):
    start_with_sound(s)
    rects = keys.key_rects()
    click_into(PLAIN_FIELD)
    expect = Expectations()
    keys.xdotool("keydown", "a")
    try:
        keys.poll_shots("the A key lit", lambda shot: keys.drawn_lit(shot, rects["A"]), keys.LIT_TIMEOUT)
        # Still held, and repeating once the focus is in the password field.
        click_into(PASSWORD_FIELD)
        time.sleep(0.8)
        expect.true("the A key drawn normal in the password field though still down",
                    keys.drawn_normal(Screenshot.take(), rects["A"]))
    finally:
        keys.xdotool("keyup", "a")
    expect.check()
