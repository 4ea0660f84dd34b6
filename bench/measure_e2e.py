#!/usr/bin/env python3
"""Measures the real tavrin.exe under Wine in a virtual X display, from outside.

Usage: measure_e2e.py OUTPUT.json [--seconds 30] [--repeat 3] [--memory-minutes 2]
                      [--latency-trials 30] [--keyboard compact|full]

Needs $DISPLAY (run inside xvfb-run), $WINEPREFIX, and the Windows build named by
$TAVRIN_WIN_BUILD, built with -DTAVRIN_BENCH=ON. Writes every figure to OUTPUT.json.

What it measures, each repetition in a fresh Wine session with the typing target filling
the screen behind:
- idle CPU: the user plus system time /proc gives for the program's own process over the
  measuring window, after a few seconds to settle: Tavrin at the left of the screen and the
  idle reference window (an empty window with a 16 ms timer) at the right, side by side
  over the same seconds, so that both meet the same load of the machine;
- typing CPU: the same while keys are tapped into the target at 15 a second (each key held
  40 ms), letters and spaces of an ordinary sentence: first, alone, for the repaint
  reference (a colour-keyed layered window repainting one key's area every tick, composing
  nothing), then side by side for Tavrin and the typing floor (Tavrin's window and picture,
  repainting the areas Tavrin repaints on the ticks it repaints them, from prepared
  pictures of its frame), both seeing every key;
- typing CPU with per-pixel alpha: the same, side by side, for Tavrin started with
  `rendermode=1` and the per-pixel typing floor (the same repaints from prepared premultiplied
  pictures, handed to the window with UpdateLayeredWindowIndirect);
- resident memory (VmRSS) of both, after their idle window and after the typing;
- key-down to pixels: a key is pressed through XTEST and one pixel of its on-screen key is
  read back with XGetImage in a tight loop until it shows the lit colour; the DAMAGE
  extension reports, in the same loop, when Tavrin's window was first drawn over the key.
  Both are measured from the moment just before the press request leaves; the resolution
  is one loop turn, whose length is recorded. The same is measured for the latency floor,
  a window of Tavrin's picture that copies the lit key to the screen straight from the
  WM_INPUT of its key-down.
With --keyboard full, only Tavrin showing the full keyboard (layout=1) is measured: idle CPU
beside the idle reference, and CPU while typing beside the typing floor showing the full
keyboard's picture, as for the compact keyboard; the screen must be wide enough for two full
keyboards side by side.
Then one longer typing run follows Tavrin's resident memory from start to end, sampled
every 10 s; and, where `perf` is at hand, a profile of Tavrin while typing gives the share
of each library in its process's time.
"""
import argparse
import json
import os
import random
import re
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(os.path.dirname(HERE), "tests", "e2e"))

import harness  # noqa: E402  (the end-to-end tests' own driver)
import proc_stats  # noqa: E402
import x11_client  # noqa: E402

IDLE_REFERENCE_TITLE = "Tavrin Idle Reference"
REPAINT_REFERENCE_TITLE = "Tavrin Repaint Reference"
TYPING_FLOOR_TITLE = "Tavrin Typing Floor"
PER_PIXEL_FLOOR_TITLE = "Tavrin Per-Pixel Typing Floor"
LATENCY_FLOOR_TITLE = "Tavrin Latency Floor"
SETTLE_SECONDS = 3.0
KEYS_PER_SECOND = 15
TAP_SECONDS = 0.040
TYPING_TEXT = "the quick brown fox jumps over the lazy dog "
MEMORY_SAMPLE_SECONDS = 10.0
WARM_UP_SECONDS = 60.0

# The A key at scale 1.0 with the default settings, in window coordinates: left is the margin
# plus one key width (the home row's indent), top the margin plus two rows of key and gap.
A_KEY = (14 + 48, 14 + 2 * (48 + 12), 48, 48)
# A pixel inside the key body, clear of its rounded corner, its label and the glow's disc.
A_PROBE = (A_KEY[0] + 4, A_KEY[1] + 4)
UNLIT_FILL = (230, 230, 230)  # 0xE6E6E6
LIT_FILL = (60, 160, 255)     # 0xFFA03C in COLORREF order
LATENCY_TIMEOUT = 0.5
LATENCY_GAP = (0.35, 0.45)    # between presses: the key has gone out; a random timer phase


def keysym_of(char):
    return "space" if char == " " else char


def sleep_until(deadline):
    remaining = deadline - time.perf_counter()
    if remaining > 0:
        time.sleep(remaining)


def type_text(display, seconds, on_second=None):
    """Taps keys at KEYS_PER_SECOND for `seconds`; returns the number of presses.

    on_second(elapsed) is called about once a second between presses."""
    codes = [display.keycode(keysym_of(c)) for c in TYPING_TEXT]
    start = time.perf_counter()
    presses = 0
    next_report = 1.0
    while True:
        press_at = start + presses / KEYS_PER_SECOND
        if press_at - start >= seconds:
            break
        sleep_until(press_at)
        code = codes[presses % len(codes)]
        display.key(code, True)
        sleep_until(press_at + TAP_SECONDS)
        display.key(code, False)
        presses += 1
        if on_second and press_at - start >= next_report:
            on_second(press_at - start)
            next_report += 1.0
    sleep_until(start + seconds)
    return presses


class CpuWindow:
    """CPU seconds a process (and the wineserver) spend between start() and stop()."""

    def __init__(self, pid, wineserver):
        self.pid = pid
        self.wineserver = wineserver

    def start(self):
        self.t0 = time.perf_counter()
        self.cpu0 = proc_stats.cpu_seconds(self.pid)
        self.server0 = proc_stats.cpu_seconds(self.wineserver) if self.wineserver else None

    def stop(self):
        cpu = proc_stats.cpu_seconds(self.pid) - self.cpu0
        wall = time.perf_counter() - self.t0
        result = {"wall_s": round(wall, 3), "cpu_ms": round(cpu * 1000, 1),
                  "cpu_percent": round(100 * cpu / wall, 3)}
        if self.server0 is not None:
            result["wineserver_cpu_ms"] = round(
                (proc_stats.cpu_seconds(self.wineserver) - self.server0) * 1000, 1)
        return result


def measure_together(pids, run):
    """CPU of each process over the same stretch of time, in which run() does its work; the
    wineserver's is given with the first. Measured side by side, the processes share every
    condition of the machine, which moves the figures of separate windows by a fifth."""
    server = proc_stats.wineserver_pid(os.environ["WINEPREFIX"])
    windows = [CpuWindow(pid, server if i == 0 else None) for i, pid in enumerate(pids)]
    for w in windows:
        w.start()
    extra = run()
    results = [w.stop() for w in windows]
    for pid, result in zip(pids, results):
        result["rss_kib"] = proc_stats.rss_kib(pid)
        result.update(extra or {})
    return results


def measure_typing(display, pid, seconds):
    window = CpuWindow(pid, proc_stats.wineserver_pid(os.environ["WINEPREFIX"]))
    window.start()
    presses = type_text(display, seconds)
    result = window.stop()
    result["presses"] = presses
    result["rss_kib"] = proc_stats.rss_kib(pid)
    return result


def intersects(area, rect):
    ax, ay, aw, ah = area
    rx, ry, rw, rh = rect
    return ax < rx + rw and rx < ax + aw and ay < ry + rh and ry < ay + ah


def measure_latency(display, window_xid, window_origin, trials):
    """Key-down to pixels for `trials` presses of A; lists of milliseconds."""
    code = display.keycode("a")
    probe = (window_origin[0] + A_PROBE[0], window_origin[1] + A_PROBE[1])
    display.watch_damage(window_xid)
    pixel_ms, damage_ms, loop_us, wrong = [], [], [], 0
    for _ in range(trials):
        time.sleep(random.uniform(*LATENCY_GAP))
        if display.pixel(*probe) != UNLIT_FILL:
            wrong += 1
            continue
        display.damaged_areas()
        turns = 0
        damaged = changed = None
        t0 = time.perf_counter()
        display.key(code, True)
        while time.perf_counter() - t0 < LATENCY_TIMEOUT:
            colour = display.pixel(*probe)
            now = time.perf_counter()
            turns += 1
            if damaged is None and any(intersects(a, A_KEY) for a in display.damaged_areas()):
                damaged = now
            if colour != UNLIT_FILL:
                changed = now
                if colour != LIT_FILL:
                    wrong += 1
                break
        display.key(code, False)
        if changed is None:
            wrong += 1
            continue
        pixel_ms.append((changed - t0) * 1000)
        if damaged is not None:
            damage_ms.append((damaged - t0) * 1000)
        loop_us.append((changed - t0) / turns * 1e6)
    display.stop_watching_damage()
    return {"pixel_ms": [round(v, 3) for v in pixel_ms],
            "damage_ms": [round(v, 3) for v in damage_ms],
            "loop_turn_us_median": round(statistics.median(loop_us), 1) if loop_us else None,
            "failed_trials": wrong}


def start_reference(session, repaint):
    exe = os.path.join(harness.win_build_dir(), "bench", "tavrin_reference_window.exe")
    args = ["repaint"] if repaint else []
    process = session.start("reference", exe, *args, "right")
    harness.wait_for_window(REPAINT_REFERENCE_TITLE if repaint else IDLE_REFERENCE_TITLE)
    return process


def stop_reference(process, repaint):
    process.stop()
    harness.wait_window_gone(REPAINT_REFERENCE_TITLE if repaint else IDLE_REFERENCE_TITLE)


FLOOR_TITLES = {"typing": TYPING_FLOOR_TITLE, "latency": LATENCY_FLOOR_TITLE, "per-pixel": PER_PIXEL_FLOOR_TITLE}


def start_floor(session, kind, full=False):
    """The typing, latency or per-pixel typing floor, of the compact or the full keyboard;
    returns the process and its X window."""
    exe = os.path.join(harness.win_build_dir(), "bench", "tavrin_floor_window.exe")
    process = session.start(f"{kind} floor", exe, kind, *(["right"] if kind != "latency" else []),
                            *(["full"] if full else []))
    xid = harness.wait_for_window(FLOOR_TITLES[kind])
    return process, xid


def stop_floor(process, kind):
    process.stop()
    harness.wait_window_gone(FLOOR_TITLES[kind])


def measure_per_pixel_typing(session, target_xid, display, seconds):
    """Tavrin drawn with per-pixel alpha and the per-pixel typing floor, typing side by side."""
    session.write_settings([("main", [("rendermode", "1")])], utf16=True)
    tavrin, _ = session.start_tavrin()
    floor, _ = start_floor(session, "per-pixel")
    time.sleep(SETTLE_SECONDS)
    harness.focus_window(target_xid)
    try:
        return measure_together([tavrin.pid, floor.pid], lambda: {"presses": type_text(display, seconds)})
    finally:
        stop_floor(floor, "per-pixel")
        tavrin.stop()
        harness.wait_window_gone(harness.MAIN_TITLE)


def one_repetition(index, args, display):
    session = harness.Session(f"bench-{index}")
    try:
        _, target_xid = session.start_target()
        reference = start_reference(session, repaint=True)
        time.sleep(SETTLE_SECONDS)
        harness.focus_window(target_xid)
        ref_repaint = measure_typing(display, reference.pid, args.seconds)
        stop_reference(reference, repaint=True)

        floor, floor_xid = start_floor(session, "latency")
        time.sleep(SETTLE_SECONDS)
        harness.focus_window(target_xid)
        floor_latency = measure_latency(display, floor_xid, (0, 0), args.latency_trials)
        stop_floor(floor, "latency")

        # Tavrin at the left of the screen, each floor at the right, measured together.
        tavrin, xid = session.start_tavrin()
        reference = start_reference(session, repaint=False)
        time.sleep(SETTLE_SECONDS)
        idle, ref_idle = measure_together([tavrin.pid, reference.pid], lambda: time.sleep(args.seconds))
        stop_reference(reference, repaint=False)

        floor, _ = start_floor(session, "typing")
        time.sleep(SETTLE_SECONDS)
        harness.focus_window(target_xid)
        typing, floor_typing = measure_together(
            [tavrin.pid, floor.pid], lambda: {"presses": type_text(display, args.seconds)})
        stop_floor(floor, "typing")
        time.sleep(1.0)
        left, top, _, _ = harness.window_geometry(xid)
        latency = measure_latency(display, xid, (left, top), args.latency_trials)
        tavrin.stop()
        harness.wait_window_gone(harness.MAIN_TITLE)
        per_pixel, floor_per_pixel = measure_per_pixel_typing(session, target_xid, display, args.seconds)
        return {"reference_idle": ref_idle, "reference_repaint_typing": ref_repaint,
                "floor_typing": floor_typing, "floor_latency": floor_latency,
                "tavrin_idle": idle, "tavrin_typing": typing, "latency": latency,
                "tavrin_per_pixel_typing": per_pixel, "floor_per_pixel_typing": floor_per_pixel}
    finally:
        session.close()


def one_full_keyboard_repetition(index, args, display):
    """Idle and typing CPU of Tavrin showing the full keyboard, each beside its floor."""
    session = harness.Session(f"bench-full-{index}")
    try:
        _, target_xid = session.start_target()
        session.write_settings([("main", [("layout", "1"), ("left", "0"), ("top", "0")])], utf16=True)
        tavrin, _ = session.start_tavrin()
        reference = start_reference(session, repaint=False)
        time.sleep(SETTLE_SECONDS)
        idle, ref_idle = measure_together([tavrin.pid, reference.pid], lambda: time.sleep(args.seconds))
        stop_reference(reference, repaint=False)

        floor, _ = start_floor(session, "typing", full=True)
        time.sleep(SETTLE_SECONDS)
        harness.focus_window(target_xid)
        typing, floor_typing = measure_together(
            [tavrin.pid, floor.pid], lambda: {"presses": type_text(display, args.seconds)})
        stop_floor(floor, "typing")
        return {"full_reference_idle": ref_idle, "full_tavrin_idle": idle,
                "full_floor_typing": floor_typing, "full_tavrin_typing": typing}
    finally:
        session.close()


def memory_run(args, display):
    """Tavrin's resident memory while typing for args.memory_minutes."""
    session = harness.Session("bench-memory")
    try:
        _, target_xid = session.start_target()
        tavrin, _ = session.start_tavrin()
        time.sleep(SETTLE_SECONDS)
        harness.focus_window(target_xid)
        samples = [(0.0, proc_stats.rss_kib(tavrin.pid))]
        last = [0.0]

        def sample(elapsed):
            if elapsed - last[0] >= MEMORY_SAMPLE_SECONDS:
                samples.append((round(elapsed, 1), proc_stats.rss_kib(tavrin.pid)))
                last[0] = elapsed

        presses = type_text(display, args.memory_minutes * 60, sample)
        samples.append((args.memory_minutes * 60.0, proc_stats.rss_kib(tavrin.pid)))
        # The first minute fills the one-minute press queue and first uses every drawing
        # path; from then on nothing may grow.
        warm = next((kib for t, kib in samples if t >= WARM_UP_SECONDS), samples[0][1])
        return {"minutes": args.memory_minutes, "presses": presses,
                "start_rss_kib": samples[0][1], "warm_rss_kib": warm, "warm_up_s": WARM_UP_SECONDS,
                "end_rss_kib": samples[-1][1], "max_rss_kib": max(s[1] for s in samples),
                "samples": samples}
    finally:
        session.close()


def profile_typing(display, seconds):
    """{library: percent of samples} of Tavrin's process while typing, from perf; None when
    perf is missing or refused (not every machine lets it count)."""
    if not shutil.which("perf"):
        return None
    session = harness.Session("bench-profile")
    data = os.path.join(tempfile.mkdtemp(prefix="tavrin-perf-"), "perf.data")
    try:
        _, target_xid = session.start_target()
        tavrin, _ = session.start_tavrin()
        time.sleep(SETTLE_SECONDS)
        harness.focus_window(target_xid)
        perf = subprocess.Popen(["perf", "record", "-F", "999", "-o", data, "-p", str(tavrin.pid)],
                                stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        time.sleep(0.5)
        type_text(display, seconds)
        perf.send_signal(signal.SIGINT)
        perf.wait(timeout=60)
        report = subprocess.run(["perf", "report", "-i", data, "--stdio", "--sort", "dso", "-q"],
                                capture_output=True, text=True, timeout=120)
        shares = {}
        for line in report.stdout.splitlines():
            match = re.match(r"\s*([\d.]+)%\s+(\S.*\S)\s*$", line)
            if match:
                shares[match.group(2)] = float(match.group(1))
        return shares or None
    except (OSError, subprocess.SubprocessError):
        return None
    finally:
        session.close()
        shutil.rmtree(os.path.dirname(data), ignore_errors=True)


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("output")
    parser.add_argument("--seconds", type=float, default=30.0)
    parser.add_argument("--repeat", type=int, default=3)
    parser.add_argument("--memory-minutes", type=float, default=2.0)
    parser.add_argument("--latency-trials", type=int, default=30)
    parser.add_argument("--profile-seconds", type=float, default=15.0)
    parser.add_argument("--keyboard", choices=("compact", "full"), default="compact",
                        help="full: only the idle and typing windows of the full keyboard")
    args = parser.parse_args(argv[1:])

    harness.check_environment()
    harness.end_wine_session()
    display = x11_client.Display()
    results = {"machine": proc_stats.machine_description(), "seconds": args.seconds,
               "keys_per_second": KEYS_PER_SECOND, "repetitions": [],
               "load_average_before": proc_stats.load_average()}
    try:
        for i in range(args.repeat):
            print(f"repetition {i + 1} of {args.repeat}", flush=True)
            repetition = one_full_keyboard_repetition if args.keyboard == "full" else one_repetition
            results["repetitions"].append(repetition(i, args, display))
        # The memory run and the profile are the compact keyboard's.
        if args.keyboard == "compact" and args.memory_minutes > 0:
            print(f"typing for {args.memory_minutes:g} min to follow memory", flush=True)
            results["memory"] = memory_run(args, display)
        if args.keyboard == "compact" and args.profile_seconds > 0:
            print(f"profiling {args.profile_seconds:g} s of typing", flush=True)
            results["profile"] = profile_typing(display, args.profile_seconds)
    finally:
        display.close()
    results["load_average_after"] = proc_stats.load_average()
    with open(args.output, "w") as f:
        json.dump(results, f, indent=1)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
