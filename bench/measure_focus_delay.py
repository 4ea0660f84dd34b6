#!/usr/bin/env python3
"""Measures how long after a Tab, an Enter or a button press the focus event of the program
under it comes, as Tavrin hears both: the keys and the press from raw input, the focus from
an out-of-context event hook, in one Wine program of their own (tavrin_focus_delay.exe).

Usage: measure_focus_delay.py [--trials 200]
Needs $DISPLAY (run it inside xvfb-run), $WINEPREFIX, and the Windows build named by
$TAVRIN_WIN_BUILD, built with -DTAVRIN_BENCH=ON. Prints one line per kind of focus change:
how many were measured and the delays' median, 90th and 99th percentile and largest, in ms.

Kinds: Tab between two fields a program draws itself (the end-to-end target's plain fields);
a click from one field into another (the target's password field and a plain field); Tab
between the controls of a dialog (Wine's Notepad, its Find dialog, the dialog manager's own
Tab); and Enter that opens or closes a window (in that Find dialog, a text that is nowhere:
Enter opens a message box with the focus on its button, Enter closes it and the focus is
back in the dialog's field).
"""
import argparse
import os
import statistics
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(os.path.dirname(HERE), "tests", "e2e"))

import harness  # noqa: E402
import keys_support as keys  # noqa: E402
from privacy_support import FIELDS_TARGET, PASSWORD_FIELD, PLAIN_BOXES  # noqa: E402

GAP = 0.06  # between two trials: each focus change is over long before the next


def read_log(path):
    events = []
    with open(path) as f:
        for line in f:
            parts = line.split()
            if len(parts) >= 2:
                events.append((float(parts[0]), parts[1], parts[2] if len(parts) > 2 else ""))
    return events


def delays(events, start, trigger):
    """For every trigger after `start`, the time to the first focus event before the next
    trigger; None where none came."""
    found = []
    pending = None
    for at, kind, what in events:
        if at < start:
            continue
        if trigger(kind, what):
            if pending is not None:
                found.append(None)
            pending = at
        elif kind == "focus" and pending is not None:
            found.append(at - pending)
            pending = None
    if pending is not None:
        found.append(None)
    return found


def summary(name, values):
    measured = sorted(v for v in values if v is not None)
    missing = sum(1 for v in values if v is None)
    if not measured:
        return f"{name}: no focus event followed ({missing} tries)"

    def pct(p):
        return measured[min(len(measured) - 1, int(p / 100 * len(measured)))]

    return (f"{name}: {len(measured)} measured, {missing} without a focus event; median "
            f"{statistics.median(measured):.1f} ms, 90% {pct(90):.1f} ms, 99% {pct(99):.1f} ms, "
            f"largest {measured[-1]:.1f} ms")


def is_tab(kind, what):
    return kind == "key" and what == "9"


def is_enter(kind, what):
    return kind == "key" and what == "13"


def is_button(kind, what):
    return kind == "button"


def run_target(session, trials, log):
    _, target = session.start_target(0, 0, *FIELDS_TARGET, fields=True)
    harness.focus_window(target)
    keys.xdotool("mousemove", *PLAIN_BOXES[0], "click", 1)
    time.sleep(0.5)
    marks = {"tab": now_in_log(log)}
    for _ in range(trials):
        keys.xdotool("key", "Tab")
        time.sleep(GAP)
    marks["click"] = now_in_log(log)
    for i in range(trials):
        keys.xdotool("mousemove", *(PASSWORD_FIELD if i % 2 else PLAIN_BOXES[0]), "mousedown", 1, "mouseup", 1)
        time.sleep(GAP)
    marks["end"] = now_in_log(log)
    return marks


def now_in_log(log):
    """The log's clock now: the time of its latest line, after a pause that lets it settle."""
    time.sleep(0.3)
    events = read_log(log)
    return events[-1][0] + 0.001 if events else 0.0


def run_notepad(session, trials, log):
    notepad = harness.Process("notepad", ["wine", "notepad"], cwd=session.app_dir)
    session.processes.append(notepad)
    harness.focus_window(harness.wait_for_window("Untitled - Notepad"))
    time.sleep(0.5)
    keys.xdotool("key", "ctrl+f")
    harness.focus_window(harness.wait_for_window("Find"))
    time.sleep(0.3)
    marks = {"dialog tab": now_in_log(log)}
    for _ in range(trials):
        keys.xdotool("key", "Tab")
        time.sleep(GAP)
    marks["dialog end"] = now_in_log(log)
    # Back to the text to find, which is nowhere: Enter opens a message box with the focus on
    # its button, and Enter there closes it, the focus back in the Find dialog's field.
    keys.xdotool("key", "alt+n")
    keys.xdotool("type", "zz")
    time.sleep(0.3)
    marks["enter"] = now_in_log(log)
    for _ in range(trials // 10):
        keys.xdotool("key", "Return")
        time.sleep(0.5)
        keys.xdotool("key", "Return")
        # Without a window manager, Wine gives the dialog its focus back only after 2 s, and
        # reads no keys meanwhile.
        time.sleep(2.5)
    marks["enter end"] = now_in_log(log)
    notepad.stop()
    return marks


def between(events, start, end):
    return [e for e in events if start <= e[0] < end]


def main(argv):
    parser = argparse.ArgumentParser()
    parser.add_argument("--trials", type=int, default=200)
    args = parser.parse_args(argv[1:])
    harness.check_environment()
    exe = os.path.join(harness.win_build_dir(), "bench", "tavrin_focus_delay.exe")
    session = harness.Session("focus-delay")
    log = os.path.join(session.app_dir, "focus-delay.log")
    try:
        session.start("listener", exe, "focus-delay.log")
        harness.wait_until("the listener", lambda: os.path.exists(log) and read_log(log), 30)
        target = run_target(session, args.trials, log)
        notepad = run_notepad(session, args.trials, log)
        events = read_log(log)
        print(summary("Tab between fields the program draws itself",
                      delays(between(events, target["tab"], target["click"]), 0, is_tab)))
        print(summary("Click into another field",
                      delays(between(events, target["click"], target["end"]), 0, is_button)))
        print(summary("Tab between a dialog's controls",
                      delays(between(events, notepad["dialog tab"], notepad["dialog end"]), 0, is_tab)))
        print(summary("Enter that opens or closes a window",
                      delays(between(events, notepad["enter"], notepad["enter end"]), 0, is_enter)))
    finally:
        session.close()
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
