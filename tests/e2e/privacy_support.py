"""What the privacy tests share: the fields target and where its fields are, typing with a
screenshot while each key is down, and telling from the file system whether a click sound
was played."""
import os
import time

import keys_support as keys
from frame_points import GRIP_FILL, grip_fill_point
from harness import Screenshot, focus_window, wait_for_pixel

# The target of the field tests, short of the whole screen, and the centres of its fields.
FIELDS_TARGET = (1800, 1000)
PASSWORD_FIELD = (1220, 975)
SECRET_BOX = (1220, 925)   # a password field of a class of its own
PLAIN_BOXES = [(1220, 825), (1220, 875)]  # plain fields drawn by the target itself, Tab between them
PLAIN_FIELD = (1590, 890)
TYPED = "secret"
WINDOW_AREA = (0, 0, 932, 316)


def click_into(point, button=1):
    keys.xdotool("mousemove", *point)
    keys.xdotool("click", button)
    time.sleep(0.4)  # the focus moves, and Tavrin hears of it


def type_holding_each_key(text):
    """Types text a key at a time, with a screenshot while each key is down."""
    shots = []
    for c in text:
        keys.xdotool("keydown", c)
        time.sleep(0.05)
        shots.append(Screenshot.take())
        keys.xdotool("keyup", c)
        time.sleep(0.05)
    return shots


def start_fields(s, sound=False):
    """The fields target with the X focus, and Tavrin, clicking with click1.wav when sound is
    on; returns the target's X window and the sound file's path."""
    if sound:
        s.write_settings([("main", [("soundOn", "1"), ("soundSel", "1")])], utf16=True)
    _, target = s.start_target(0, 0, *FIELDS_TARGET, fields=True)
    focus_window(target)
    s.start_tavrin()
    wait_for_pixel(grip_fill_point(0, 0, 932, 316), GRIP_FILL)
    return target, os.path.join(s.app_dir, "click1.wav")


def start_with_sound(s):
    """The fields target with the X focus, and Tavrin clicking with click1.wav; returns the
    sound file's path."""
    return start_fields(s, sound=True)[1]


def set_back_access_time(sound):
    """The file system notes a read only while the access time is older than the
    modification time (relatime), so it is set back before each look; returns it."""
    modified = os.stat(sound).st_mtime
    os.utime(sound, (modified - 3600, modified))
    return os.stat(sound).st_atime


def unchanged_while_typing(expect, what, before, sound=None):
    """Types TYPED a key at a time and expects Tavrin's window to stay as `before`, pixel for
    pixel, while each key is down and a second later, and no click to be played."""
    accessed = set_back_access_time(sound) if sound else None
    shots = type_holding_each_key(TYPED)
    time.sleep(1.2)  # the speed panel would have shown the presses by now
    changed = [c for c, shot in zip(TYPED, shots) if keys.crop(shot, WINDOW_AREA) != before]
    expect.equal(f"keys of {TYPED!r} typed into {what} that changed a pixel of Tavrin", changed, [])
    expect.equal(f"Tavrin after typing into {what}, pixel for pixel",
                 keys.crop(Screenshot.take(), WINDOW_AREA) == before, True)
    if sound:
        expect.equal(f"click sound played for {what}", os.stat(sound).st_atime != accessed, False)
