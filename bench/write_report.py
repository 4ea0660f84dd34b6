#!/usr/bin/env python3
"""Writes docs/performance.md from the results of one scripts/bench.sh run.

Usage: write_report.py RESULTS_DIR OUTPUT.md
RESULTS_DIR holds host.json (Google Benchmark, with repetitions), frame.txt and
frame-xresources.txt (the Wine frame benchmark's lines, on a bare virtual display and with an
X resource database), e2e.json and e2e-full.json (bench/measure_e2e.py, of the compact and of
the full keyboard; the second may be missing) and run.json (how the run was made).
The notes of bench/performance_notes.md follow the figures unchanged.
"""
import json
import os
import re
import statistics
import sys

HERE = os.path.dirname(os.path.abspath(__file__))

# The goals, on the 2-core machine under Wine, judged on medians: each cost against the floor
# the platform itself sets for the same work, measured in the same run.
IDLE_RATIO_LIMIT = 1.10
TYPING_RATIO_LIMIT = 1.10
# "No slower than the latency floor": within one turn of the reading loop, its resolution.
RSS_LIMIT_KIB = 24 * 1024
# Growth beyond this over the long typing run counts as growth: the press queue of one
# minute holds at most a few kilobytes, so anything larger is a leak.
RSS_GROWTH_LIMIT_KIB = 256


def verdict(met):
    return "**met**" if met else "**missed**"


def median(values):
    return statistics.median(values) if values else float("nan")


def read_frame_lines(path):
    """One row per case: the median over the program's runs of each figure."""
    cases = {}
    with open(path) as f:
        for line in f:
            if not line.startswith("frame "):
                continue
            fields = dict(part.split("=", 1) for part in line.split()[1:])
            key = (float(fields["scale"]), int(fields["lit"]), fields["area"], fields["query"],
                   fields.get("canvas", "color-key"))
            cases.setdefault(key, []).append(fields)
    rows = []
    for (scale, lit, area, query, canvas), runs in cases.items():
        rows.append({"scale": scale, "lit": lit, "area": area, "query": query, "canvas": canvas,
                     "starts": len(runs),
                     "median_us": median([float(r["median_us"]) for r in runs]),
                     "p90_us": median([float(r["p90_us"]) for r in runs]),
                     "cpu_us": median([float(r["cpu_us"]) for r in runs]),
                     "each_median_us": [float(r["median_us"]) for r in runs],
                     "runs": sum(int(r["runs"]) for r in runs)})
    return rows


def read_host_medians(path):
    with open(path) as f:
        data = json.load(f)
    rows = []
    for b in data["benchmarks"]:
        if b.get("aggregate_name") != "median":
            continue
        counters = {k: v for k, v in b.items()
                    if k not in ("name", "run_name", "run_type", "repetitions", "threads",
                                 "aggregate_name", "aggregate_unit", "iterations", "real_time",
                                 "cpu_time", "time_unit", "family_index",
                                 "per_family_instance_index", "repetition_index")}
        rows.append({"name": b["run_name"], "real": b["real_time"], "cpu": b["cpu_time"],
                     "unit": b["time_unit"], "counters": counters})
    return data.get("context", {}), rows


def e2e_medians(e2e, full_reps):
    reps = e2e["repetitions"]

    def figures(kind, key):
        return [r[kind][key] for r in reps if key in r[kind]]

    latency_pixel = [v for r in reps for v in r["latency"]["pixel_ms"]]
    floor_pixel = [v for r in reps for v in r.get("floor_latency", {}).get("pixel_ms", [])]
    latency_damage = [v for r in reps for v in r["latency"]["damage_ms"]]
    return {
        "reference_idle_ms": figures("reference_idle", "cpu_ms"),
        "tavrin_idle_ms": figures("tavrin_idle", "cpu_ms"),
        "reference_repaint_percent": figures("reference_repaint_typing", "cpu_percent"),
        "floor_typing_percent": [r["floor_typing"]["cpu_percent"] for r in reps if "floor_typing" in r],
        "tavrin_per_pixel_percent": [r["tavrin_per_pixel_typing"]["cpu_percent"] for r in reps
                                     if "tavrin_per_pixel_typing" in r],
        "floor_per_pixel_percent": [r["floor_per_pixel_typing"]["cpu_percent"] for r in reps
                                    if "floor_per_pixel_typing" in r],
        "floor_latency_pixel": floor_pixel,
        "tavrin_typing_percent": figures("tavrin_typing", "cpu_percent"),
        "tavrin_idle_server_ms": figures("tavrin_idle", "wineserver_cpu_ms"),
        "reference_repaint_server_ms": figures("reference_repaint_typing", "wineserver_cpu_ms"),
        "tavrin_typing_server_ms": figures("tavrin_typing", "wineserver_cpu_ms"),
        "reference_rss": figures("reference_idle", "rss_kib"),
        "tavrin_idle_rss": figures("tavrin_idle", "rss_kib"),
        "tavrin_typing_rss": figures("tavrin_typing", "rss_kib"),
        "presses": figures("tavrin_typing", "presses"),
        "latency_pixel": latency_pixel,
        "latency_damage": latency_damage,
        "loop_us": [r["latency"]["loop_turn_us_median"] for r in reps
                    if r["latency"]["loop_turn_us_median"] is not None],
        "failed_trials": sum(r["latency"]["failed_trials"] for r in reps),
        # The full keyboard, where the run measured it.
        "full_reference_idle_ms": [r["full_reference_idle"]["cpu_ms"] for r in full_reps],
        "full_tavrin_idle_ms": [r["full_tavrin_idle"]["cpu_ms"] for r in full_reps],
        "full_floor_typing_percent": [r["full_floor_typing"]["cpu_percent"] for r in full_reps],
        "full_tavrin_typing_percent": [r["full_tavrin_typing"]["cpu_percent"] for r in full_reps],
    }


def fmt(value, digits=1):
    return f"{value:.{digits}f}"


def mib(kib):
    return f"{kib / 1024:.1f} MiB"


def percentile(values, p):
    ordered = sorted(values)
    return ordered[min(len(ordered) - 1, int(p * (len(ordered) - 1) + 0.5))]


def run_ratios(numerators, denominators):
    """Each run's own ratio. The two were measured side by side in that run, so its ratio is
    free of what the machine did to the run as a whole; the goals are judged on their median."""
    return [a / b for a, b in zip(numerators, denominators) if b > 0]


def ratios_text(ratios):
    return ", ".join(fmt(r, 2) for r in ratios)


def ratio_row(goal, tavrin, floor, text, limit):
    """A goal row for Tavrin's figures against its floor's, side by side in each run."""
    ratios = run_ratios(tavrin, floor)
    ratio = median(ratios) if ratios else float("inf")
    return (goal, f"{text(median(tavrin))} against {text(median(floor))} (medians); {fmt(ratio, 2)} times, "
                  f"the median of the runs' own ratios ({ratios_text(ratios)})",
            f"at most {limit:.2f} times", verdict(ratio <= limit))


def budget_rows(m, memory):
    rows = [ratio_row("Idle CPU, against the empty window with a 16 ms timer beside it",
                      m["tavrin_idle_ms"], m["reference_idle_ms"], lambda v: f"{fmt(v, 0)} ms", IDLE_RATIO_LIMIT),
            ratio_row("CPU while typing at 15 keys a second, against the typing floor beside it",
                      m["tavrin_typing_percent"], m["floor_typing_percent"],
                      lambda v: f"{fmt(v, 2)} % of one core", TYPING_RATIO_LIMIT)]
    if m["tavrin_per_pixel_percent"]:
        rows.append(ratio_row("CPU while typing with per-pixel alpha, against the per-pixel typing floor beside it",
                              m["tavrin_per_pixel_percent"], m["floor_per_pixel_percent"],
                              lambda v: f"{fmt(v, 2)} % of one core", TYPING_RATIO_LIMIT))
    if m["full_tavrin_idle_ms"]:
        rows += [ratio_row("Idle CPU with the full keyboard, against the empty window beside it",
                           m["full_tavrin_idle_ms"], m["full_reference_idle_ms"], lambda v: f"{fmt(v, 0)} ms",
                           IDLE_RATIO_LIMIT),
                 ratio_row("CPU while typing with the full keyboard, against its typing floor beside it",
                           m["full_tavrin_typing_percent"], m["full_floor_typing_percent"],
                           lambda v: f"{fmt(v, 2)} % of one core", TYPING_RATIO_LIMIT)]
    latency = median(m["latency_pixel"])
    floor_latency = median(m["floor_latency_pixel"])
    resolution = median(m["loop_us"]) / 1000 if m["loop_us"] else 0.0
    rows.append(("Key-down to pixels, against the latency floor",
                 f"{fmt(latency, 2)} ms against {fmt(floor_latency, 2)} ms",
                 f"no slower (within the {fmt(resolution * 1000, 0)} µs resolution)",
                 verdict(latency <= floor_latency + resolution)))
    # The compact keyboard's, as before; the full keyboard's larger window needs a larger back
    # buffer, and its figure is shown beside its other ones.
    highest = max(m["tavrin_idle_rss"] + m["tavrin_typing_rss"] + ([memory["max_rss_kib"]] if memory else []))
    rows.append(("Resident memory with the compact keys (largest seen)", f"{mib(highest)} ({highest} KiB)",
                 f"at most {RSS_LIMIT_KIB // 1024} MiB ({RSS_LIMIT_KIB} KiB), as before",
                 verdict(highest <= RSS_LIMIT_KIB)))
    if memory:
        growth = memory["end_rss_kib"] - memory["warm_rss_kib"]
        rows.append((f"Memory growth over {memory['minutes']:g} minutes of typing",
                     f"{mib(memory['start_rss_kib'])} before typing, {mib(memory['warm_rss_kib'])} "
                     f"after {memory['warm_up_s']:g} s, {mib(memory['end_rss_kib'])} at the end "
                     f"({growth:+d} KiB since {memory['warm_up_s']:g} s)",
                     f"none after the first minute (at most {RSS_GROWTH_LIMIT_KIB} KiB)",
                     verdict(growth <= RSS_GROWTH_LIMIT_KIB)))
    return rows


def table(header, rows):
    lines = ["| " + " | ".join(header) + " |", "|" + "---|" * len(header)]
    lines += ["| " + " | ".join(str(c) for c in row) + " |" for row in rows]
    return "\n".join(lines)


def e2e_section(e2e, m, full, full_screen):
    reps = e2e["repetitions"]
    seconds = e2e["seconds"]
    per_rep = []
    def latency_of(figures):
        return fmt(median(figures), 2) if figures else "-"

    for i, r in enumerate(reps, 1):
        per_rep.append((i, fmt(r["reference_idle"]["cpu_ms"], 0), fmt(r["tavrin_idle"]["cpu_ms"], 0),
                        fmt(r["reference_repaint_typing"]["cpu_percent"], 2),
                        fmt(r["floor_typing"]["cpu_percent"], 2), fmt(r["tavrin_typing"]["cpu_percent"], 2),
                        mib(r["reference_idle"]["rss_kib"]), mib(r["tavrin_idle"]["rss_kib"]),
                        mib(r["tavrin_typing"]["rss_kib"]), latency_of(r["floor_latency"]["pixel_ms"]),
                        latency_of(r["latency"]["pixel_ms"])))
    per_rep.append(("median", fmt(median(m["reference_idle_ms"]), 0), fmt(median(m["tavrin_idle_ms"]), 0),
                    fmt(median(m["reference_repaint_percent"]), 2), fmt(median(m["floor_typing_percent"]), 2),
                    fmt(median(m["tavrin_typing_percent"]), 2), mib(median(m["reference_rss"])),
                    mib(median(m["tavrin_idle_rss"])), mib(median(m["tavrin_typing_rss"])),
                    latency_of(m["floor_latency_pixel"]), latency_of(m["latency_pixel"])))
    out = [f"### The program under Wine ({len(reps)} repetitions of {seconds:g} s windows)", "",
           table(["Run", f"Idle reference CPU (ms / {seconds:g} s)", f"Tavrin idle CPU (ms / {seconds:g} s)",
                  "Repaint reference typing (% core)", "Typing floor (% core)", "Tavrin typing (% core)",
                  "Reference RSS", "Tavrin RSS idle", "Tavrin RSS after typing",
                  "Latency floor key-down to pixels (ms, median)", "Tavrin key-down to pixels (ms, median)"],
                 per_rep), ""]
    if m["tavrin_per_pixel_percent"]:
        pp_rss = [r["tavrin_per_pixel_typing"]["rss_kib"] for r in reps if "tavrin_per_pixel_typing" in r]
        out += [table(["Run", "Per-pixel typing floor (% core)", "Tavrin typing with per-pixel alpha (% core)",
                       "Tavrin RSS after typing with per-pixel alpha"],
                      [(i, fmt(r["floor_per_pixel_typing"]["cpu_percent"], 2),
                        fmt(r["tavrin_per_pixel_typing"]["cpu_percent"], 2), mib(r["tavrin_per_pixel_typing"]["rss_kib"]))
                       for i, r in enumerate(reps, 1) if "tavrin_per_pixel_typing" in r]
                      + [("median", fmt(median(m["floor_per_pixel_percent"]), 2),
                          fmt(median(m["tavrin_per_pixel_percent"]), 2), mib(median(pp_rss)))]), ""]
    # Side by side, the wineserver serves both windows at once: its time is given once, for
    # the pair, and a window measured alone has its own.
    server = [("the repaint reference alone, typing", m["reference_repaint_server_ms"]),
              ("Tavrin and the idle reference together, idle", m["tavrin_idle_server_ms"]),
              ("Tavrin and the typing floor together, typing", m["tavrin_typing_server_ms"]),
              ("Tavrin and the per-pixel typing floor together, typing",
               [r["tavrin_per_pixel_typing"]["wineserver_cpu_ms"] for r in reps
                if "wineserver_cpu_ms" in r.get("tavrin_per_pixel_typing", {})])]
    shown = [(name, median(v)) for name, v in server if v]
    if shown:
        out += ["The wineserver's own CPU in the same windows (not part of any goal, shown for the "
                "whole picture), medians: " + "; ".join(f"{name} {fmt(v, 0)} ms" for name, v in shown) + ".", ""]
    pixel, damage = m["latency_pixel"], m["latency_damage"]
    if pixel:
        out += [f"Key-down to pixels over {len(pixel)} presses: median {fmt(median(pixel), 1)} ms, "
                f"10th percentile {fmt(percentile(pixel, 0.1), 1)} ms, 90th percentile "
                f"{fmt(percentile(pixel, 0.9), 1)} ms, largest {fmt(max(pixel), 1)} ms. The first "
                f"X damage over the key came at a median of {fmt(median(damage), 1)} ms. One turn of "
                f"the reading loop took {fmt(median(m['loop_us']), 0)} µs (the resolution); "
                f"{m['failed_trials']} presses were not seen within 500 ms or were not unlit before "
                f"the press.", ""]
    if full:
        full_reps, full_seconds = full["repetitions"], full["seconds"]
        rows = [(i, fmt(r["full_reference_idle"]["cpu_ms"], 0), fmt(r["full_tavrin_idle"]["cpu_ms"], 0),
                 fmt(r["full_floor_typing"]["cpu_percent"], 2), fmt(r["full_tavrin_typing"]["cpu_percent"], 2),
                 mib(r["full_tavrin_typing"]["rss_kib"])) for i, r in enumerate(full_reps, 1)]
        out += [f"### The full keyboard under Wine ({len(full_reps)} repetitions of {full_seconds:g} s windows)", "",
                f"Tavrin with layout=1, in repetitions of their own on a screen of "
                f"{full_screen}, wide enough for Tavrin and a floor side by side. Its window (1408 × 391 at "
                "scale 1.00) needs a back buffer twice the compact one's: its resident memory is shown "
                "here and is not part of the memory goal.", "",
                table(["Run", f"Idle reference CPU (ms / {full_seconds:g} s)",
                       f"Tavrin idle CPU (ms / {full_seconds:g} s)", "Typing floor, full keyboard (% core)",
                       "Tavrin typing (% core)", "Tavrin RSS after typing"],
                      rows), ""]
    return out


def library_group(name):
    """Whose work a library's samples are: the program's own, Wine's, the system's."""
    if name.startswith("[JIT]") or name in ("[unknown]", "tavrin.exe", "msvcrt.dll"):
        return "Tavrin's own code (tavrin.exe, which perf cannot name, and the C runtime it calls)"
    if name.endswith(".dll"):
        return "Wine, Windows side (gdi32, user32, win32u, ntdll, ...)"
    if name.startswith(("win32u.so", "winex11.so", "ntdll.so")) or (name.endswith(".so") and "wine" in name):
        return "Wine, Unix side (win32u.so: GDI and regions; winex11.so: the X driver; ntdll.so)"
    if name.startswith("[kernel"):
        return "The kernel (system calls to the wineserver and the X server)"
    return "System libraries (libc, libX11, libxcb, FreeType)"


def profile_section(profile):
    if not profile:
        return ["### Where the time goes while typing", "", "No profile was taken (perf missing or not "
                "allowed on this machine).", ""]
    groups = {}
    for name, share in profile.items():
        groups[library_group(name)] = groups.get(library_group(name), 0.0) + share
    by_group = sorted(groups.items(), key=lambda kv: -kv[1])
    by_library = sorted(profile.items(), key=lambda kv: -kv[1])[:14]
    return ["### Where the time goes while typing", "",
            "`perf record` on Tavrin's process while typing at 15 keys a second, samples by library. "
            "Everything but the first group is Wine and the system showing a colour-keyed layered window.",
            "", table(["Whose", "Share of samples"], [(g, f"{fmt(v, 1)} %") for g, v in by_group]), "",
            table(["Library", "Share of samples"], [(f"`{n}`", f"{fmt(v, 2)} %") for n, v in by_library]), ""]


def memory_section(memory):
    if not memory:
        return []
    samples = [tuple(s) for s in memory["samples"]]
    shown = samples if len(samples) <= 14 else samples[::max(1, len(samples) // 12)]
    if shown[-1] != samples[-1]:
        shown.append(samples[-1])
    return [f"### Resident memory while typing for {memory['minutes']:g} minutes "
            f"({memory['presses']} presses, sampled every 10 s)", "",
            table(["Time (s)", "Tavrin RSS (KiB)"], [(fmt(t, 0), kib) for t, kib in shown]), ""]


def frame_section(frames, frames_xres):
    def key(r):
        return (r["scale"], r["lit"], r["area"], r["query"], r["canvas"])

    xres = {key(r): r for r in frames_xres}
    rows = []
    for r in frames:
        x = xres.get(key(r))
        rows.append((fmt(r["scale"], 1), r["lit"], r["area"], r["query"], r["canvas"], fmt(r["median_us"], 0),
                     fmt(r["p90_us"], 0), fmt(r["cpu_us"], 0), r["runs"],
                     fmt(x["median_us"], 0) if x else "-", fmt(x["cpu_us"], 0) if x else "-"))
    starts = frames[0]["starts"] if frames else 0
    return [f"### Composing a frame through GDI under Wine (µs per frame, median of {starts} starts)", "",
            "`whole`: the whole frame, as after a full invalidation. `key` and `two-keys`: what one "
            "tick repaints while one key (A) or two (E and H) are lit, for the update area around "
            "them. `layout` asks the keyboard layout for the labels as the program does; `table` "
            "answers from a table. `per-pixel` frames are composed with each pixel's alpha, as a "
            "window shown with per-pixel alpha composes them. The CPU column is the thread's CPU time per frame, which "
            "other programs on the machine do not inflate. The last two columns are the same "
            "frames with an X resource database present, as in a desktop session (see the notes).",
            "",
            table(["Scale", "Lit", "Area", "Labels", "Canvas", "Median", "90th pct", "CPU", "Runs",
                   "Median, X resources", "CPU, X resources"], rows), ""]


def host_section(context, rows):
    out = ["### The core's hot paths on the host (Google Benchmark, median of the repetitions)", "",
           f"Built with the host g++ in Release; {context.get('num_cpus', '?')} CPUs at "
           f"{context.get('mhz_per_cpu', '?')} MHz. Debian's libbenchmark is itself a debug build, "
           "which costs nothing inside the timed loops.", ""]
    body = []
    for r in rows:
        extra = ", ".join(f"{k} {v:g}" for k, v in r["counters"].items() if isinstance(v, (int, float)))
        body.append((f"`{r['name']}`", f"{r['real']:.1f} {r['unit']}", f"{r['cpu']:.1f} {r['unit']}", extra))
    out += [table(["Benchmark", "Time", "CPU", "Counters"], body), ""]
    return out


def main(argv):
    results, output = argv[1], argv[2]
    with open(os.path.join(results, "run.json")) as f:
        run = json.load(f)
    with open(os.path.join(results, "e2e.json")) as f:
        e2e = json.load(f)
    frames = read_frame_lines(os.path.join(results, "frame.txt"))
    frames_xres = read_frame_lines(os.path.join(results, "frame-xresources.txt"))
    context, host_rows = read_host_medians(os.path.join(results, "host.json"))
    full_path = os.path.join(results, "e2e-full.json")
    full = None
    if os.path.exists(full_path):
        with open(full_path) as f:
            full = json.load(f)
    m = e2e_medians(e2e, full["repetitions"] if full else [])
    memory = e2e.get("memory")
    machine = e2e["machine"]

    lines = ["# Performance", "",
             f"Measured by `scripts/bench.sh{' --long' if run.get('long') else ''}` on {run['date']}, "
             f"commit `{run['commit']}`.", "",
             f"Machine: {machine['cpu']}, {machine['cores']} cores, {machine['memory_gib']} GiB, "
             f"Linux {machine['kernel']}, {run['wine']}, Xvfb at {run['screen']}. Load average "
             f"before the program runs {', '.join(map(str, e2e['load_average_before']))}, after "
             f"{', '.join(map(str, e2e['load_average_after']))} (other work on the machine inflates "
             "wall-clock figures; the CPU figures are the program's own).", "",
             f"The memory run typed for {memory['minutes']:g} minutes." if memory else
             "No long memory run was made.", "",
             "## Goals", "",
             "Medians. Figures under Wine, on the machine above.", "",
             table(["Goal", "Measured", "Limit", "Verdict"], budget_rows(m, memory)), "",
             "## Every figure", ""]
    lines += e2e_section(e2e, m, full, run.get("full_screen", "?"))
    lines += profile_section(e2e.get("profile"))
    lines += memory_section(memory)
    lines += frame_section(frames, frames_xres)
    lines += host_section(context, host_rows)
    with open(os.path.join(HERE, "performance_notes.md")) as f:
        lines += [f.read().rstrip(), ""]
    os.makedirs(os.path.dirname(os.path.abspath(output)), exist_ok=True)
    with open(output, "w") as f:
        f.write("\n".join(lines))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
