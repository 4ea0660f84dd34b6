"""Key labels follow the keyboard layout (US here) and Shift; a lit key carries the glow."""
from harness import TARGET_COLOR, Expectations, HarnessError, Screenshot, wait_until
from keys_support import (LIT_TIMEOUT, centre, crop, drawn_lit, drawn_normal, glow_orange,
                          key_held, key_rects, label_ink, poll_shots, start_keyboard, xdotool)

RECTS = key_rects()
# Letters without ascenders, whose lower-case forms stand lower than their capitals.
LETTERS = ["Q", "W", "E", "A", "S", "Z"]
# A capital starts at least this many pixels higher than its lower-case letter at 24 px.
CAPITAL_RISE = 3


def test_letter_labels_are_upper_case_only_while_shift_is_held(s):
    start_keyboard(s)
    before = Screenshot.take()
    lower = {k: label_ink(before, RECTS[k]) for k in LETTERS}
    if None in lower.values():
        raise HarnessError(f"a letter key shows no label: {lower}")

    def capitals(shot):
        inks = [label_ink(shot, RECTS[k]) for k in LETTERS]
        return all(ink and ink[0] <= lower[k][0] - CAPITAL_RISE for k, ink in zip(LETTERS, inks))

    expect = Expectations()
    with key_held("shift"):
        shifted = poll_shots("capital letter labels", capitals, LIT_TIMEOUT)
        # xdotool presses the left Shift; the report's scan code picks the key.
        expect.true("left Shift drawn lit", drawn_lit(shifted, RECTS["LShift"]))
        expect.true("right Shift not lit", drawn_normal(shifted, RECTS["RShift"]))

    def same_as_before(shot):
        return all(crop(shot, RECTS[k]) == crop(before, RECTS[k]) for k in LETTERS)

    poll_shots("the lower-case labels back, pixel for pixel", same_as_before, LIT_TIMEOUT)
    expect.check()


# Every letter key whose lower-case form (ascenders and dots left out) stands lower than its capital.
ALL_LETTERS = [c for c in "QWERTYUIOPASDFGHJKLZXCVBNM" if c not in "TIPDFHJKLB"]
# Once Caps Lock is toggled, every label changes within a few frames.
CAPS_TIMEOUT = 1.5


def test_caps_lock_alone_turns_every_letter_label_upper_case(s):
    start_keyboard(s)
    before = Screenshot.take()
    lower = {k: label_ink(before, RECTS[k]) for k in ALL_LETTERS}

    def all_capitals(shot):
        return all((ink := label_ink(shot, RECTS[k])) and ink[0] <= lower[k][0] - CAPITAL_RISE
                   for k in ALL_LETTERS)

    expect = Expectations()
    xdotool("key", "Caps_Lock")
    try:
        try:
            poll_shots("every letter label upper case", all_capitals, CAPS_TIMEOUT)
        except HarnessError:
            shot = Screenshot.take()
            still = [k for k in ALL_LETTERS if not (label_ink(shot, RECTS[k]) or (0,))[0]
                     <= lower[k][0] - CAPITAL_RISE]
            expect.true(f"letters still lower case {CAPS_TIMEOUT} s after Caps Lock: {still}", False)
    finally:
        xdotool("key", "Caps_Lock")
    try:
        poll_shots("the lower-case labels back, pixel for pixel",
                   lambda shot: all(crop(shot, RECTS[k]) == crop(before, RECTS[k]) for k in ALL_LETTERS),
                   CAPS_TIMEOUT)
    except HarnessError:
        expect.true("labels not back to lower case after Caps Lock went off", False)
    expect.check()


def test_equals_lights_the_long_vowel_key_with_a_pulsing_orange_glow(s):
    start_keyboard(s)
    key = RECTS["ー"]
    middle = centre(key)
    expect = Expectations()
    with key_held("equal"):
        # '=' has no key of its own; it lights the key whose character family it belongs to.
        shot = poll_shots("the ー key drawn lit", lambda shot: drawn_lit(shot, key), LIT_TIMEOUT)
        expect.true(f"orange glow at the key's centre, got {shot.pixel(*middle)}",
                    glow_orange(shot.pixel(*middle)))
        expect.true("the 0 key beside it not lit", drawn_normal(shot, RECTS["0"]))
        colours = {shot.pixel(*middle)}

        def pulsed():
            colours.add(Screenshot.take().pixel(*middle))
            return len(colours) > 1

        wait_until("the glow at the centre to change as it pulses", pulsed, 3)
        expect.true(f"every centre colour orange: {sorted(colours)}",
                    all(glow_orange(c) for c in colours))
    poll_shots("the ー key back to normal", lambda shot: drawn_normal(shot, key, TARGET_COLOR),
               LIT_TIMEOUT)
    expect.check()
