"""Tavrin killed at random instants, again and again, while it saves its settings and mutes
and restores the sound scheme: after every kill settings.ini is a whole file that holds the
backup of every sound the scheme has lost, and one Exit at the end gives the scheme back
byte for byte."""
import os
import random
import time

import control_support as control
import faults_support as faults
from control_support import REG_SZ
from harness import MAIN_TITLE, Expectations, run, time_limit, wait_window_gone

KILLS = 100
# Enough sounds that a mute or a restore takes a while, so that kills land inside them.
SOUNDS = control.SEEDED_SOUNDS + faults.many_sounds(100)
EVENTS = {event for event, _, _ in SOUNDS}
BLANK = control.expected_sound(REG_SZ, "")
IDM_EXIT = 40099
# What the program's folder may hold: the program, its sounds, its file, and the new file a
# kill may have left half written beside it.
FOLDER_FILES = {"tavrin.exe", "click1.wav", "click2.wav", "click3.wav", "settings.ini", "settings.ini.new"}


def whole_file_problem(path):
    """What makes settings.ini anything but a whole file as Tavrin writes it; None if nothing."""
    with open(path, "rb") as f:
        data = f.read()
    if not data.startswith(b"\xff\xfe") or len(data) % 2:
        return f"not UTF-16LE after its mark ({len(data)} bytes)"
    try:
        text = data[2:].decode("utf-16-le")
    except UnicodeDecodeError as e:
        return f"not UTF-16: {e}"
    if not text.endswith("\r\n"):
        return f"cut short: {text[-40:]!r}"
    sections, section, keys = set(), None, set()
    for line in text.split("\r\n")[:-1]:
        if line.startswith("[") and line.endswith("]"):
            section, keys = line[1:-1], set()
            if section in sections:
                return f"[{section}] twice"
            sections.add(section)
            continue
        key, equals, _ = line.partition("=")
        allowed = EVENTS if control.is_backup_section(section) else control.ALL_KEYS.get(section, [])
        if not equals or key not in allowed or key in keys:
            return f"an odd line in [{section}]: {line!r}"
        keys.add(key)
    return None


def lost_sounds(scheme, backup):
    """The events that are blank without their sound in the backup, or hold anything else
    than their own sound or a blank."""
    lost = []
    for event, kind, path in SOUNDS:
        now, own = scheme.get(event), control.expected_sound(kind, path)
        if now == own:
            continue
        if kind != REG_SZ or not path or now != BLANK or backup.get(event) != path:
            lost.append(event)
    return lost


def tool_command(command_id):
    run(["wine", faults.faults_tool_exe(), "command", str(command_id)])


@time_limit(480)
@faults.with_seeded_scheme(SOUNDS)
def test_a_hundred_kills_while_saving_and_muting_lose_nothing_and_exit_restores_all(s):
    original = control.scheme_of(SOUNDS)
    s.write_settings([("main", [("autoMuteSys", "1"), ("left", "0"), ("top", "60")])], utf16=True)
    seed = int.from_bytes(os.urandom(4), "little")
    delays = random.Random(seed)
    agitator = s.start("agitator", faults.faults_tool_exe(), "agitate", 900)
    expect = Expectations()
    kills = caught_midway = 0
    for _ in range(KILLS):
        tavrin = s.start_tavrin_unmapped()
        time.sleep(delays.uniform(0.0, 1.5))
        faults.kill(tavrin)
        kills += 1
        where = f"after kill {kills} (seed {seed})"
        expect.equal(f"settings.ini {where}", whole_file_problem(s.settings_path), None)
        scheme = control.sound_scheme()
        backup = control.backup_in(s.read_settings()) or {}
        expect.equal(f"sounds lost {where}", lost_sounds(scheme, backup), [])
        expect.equal(f"files in the folder {where}", set(os.listdir(s.app_dir)) - FOLDER_FILES, set())
        blank = sum(scheme.get(event) == BLANK for event, kind, path in SOUNDS if kind == REG_SZ and path)
        caught_midway += 0 < blank < len(control.backup_of(SOUNDS))
        if expect.failures:
            break
    faults.end_process(agitator)
    print(f"  {kills} kills; {caught_midway} of them left the scheme part muted, caught inside a mute or a restore")
    expect.check()

    tavrin, _ = s.start_tavrin()
    tool_command(IDM_EXIT)
    expect.equal("exit code of the last run", tavrin.wait_exit(), 0)
    wait_window_gone(MAIN_TITLE)
    expect.equal("scheme after Exit", faults.scheme_difference(control.sound_scheme(), original), None)
    sections = s.read_settings()
    expect.equal("backup after Exit", control.backup_in(sections), None)
    expect.equal("settings.ini after Exit", faults.settings_problems(sections), None)
    expect.equal("files in the folder after Exit", set(os.listdir(s.app_dir)) - FOLDER_FILES, set())
    expect.true("no new file left after Exit", not os.path.exists(s.settings_path + ".new"))
    expect.check()
