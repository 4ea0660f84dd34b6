"""The sound scheme against the ways a session ends and a settings file is kept: a log-off or
shut-down while the sounds are muted, a rename cut short as on a USB stick, a file another
program wrote (UTF-16 without a byte-order mark, a note after the backup), and a settings.ini
that is a link."""
import os

import control_support as control
import faults_support as faults
from harness import Expectations, read_ini, run, wait_until

SOUNDS = control.SEEDED_SOUNDS
ORIGINAL = control.scheme_of(SOUNDS)
MUTED = control.muted_scheme_of(SOUNDS)
BACKUP = control.backup_of(SOUNDS)
BELOW_TRAY = [("left", str(control.START_POSITION[0])), ("top", str(control.START_POSITION[1]))]
MUTING_ON = [("main", [("autoMuteSys", "1")] + BELOW_TRAY)]

WM_QUERYENDSESSION = 0x0011
WM_ENDSESSION = 0x0016


def start_muted(s, expect, what):
    tavrin, xid = s.start_tavrin()
    expect.equal(f"scheme while {what} is muted", faults.wait_scheme(MUTED), MUTED)
    return tavrin, xid


def start_first_run_muted(s):
    """The typing target, and Tavrin muting the sounds on its first run with muting on."""
    s.write_settings(MUTING_ON, utf16=True)
    faults.start_target(s)
    expect = Expectations()
    tavrin, _ = start_muted(s, expect, "the run")
    return expect, tavrin


def expect_scheme_back_and_file_whole(s, expect, what, path=None):
    expect.equal(f"scheme after {what}", faults.scheme_difference(control.sound_scheme(), ORIGINAL), None)
    sections = read_ini(path) if path else s.read_settings()
    expect.equal(f"backup after {what}", control.backup_in(sections), None)
    expect.equal(f"settings.ini after {what}", faults.settings_problems(sections), None)


@faults.with_seeded_scheme(SOUNDS)
def test_a_session_that_ends_while_muted_gives_the_sounds_back_and_a_cancelled_end_changes_nothing(s):
    expect, tavrin = start_first_run_muted(s)

    # Another program refuses the log-off: the system tells every window that the session
    # goes on after all.
    s.tool("post", WM_QUERYENDSESSION, 0)
    s.tool("post", WM_ENDSESSION, 0)
    faults.require_alive(tavrin, "after a cancelled end of the session")
    expect.equal("scheme after a cancelled end", control.sound_scheme(), MUTED)
    expect.equal("backup after a cancelled end", control.backup_in(s.read_settings()), BACKUP)
    expect.check()

    # Wine ends the session as Windows does: both messages to every window, then the end
    # of every process.
    run(["wineboot", "--end-session"], timeout=60)
    wait_until("Tavrin to be ended with the session", lambda: not tavrin.running(), 20)
    expect_scheme_back_and_file_whole(s, expect, "the end of the session")
    expect.check()


@faults.with_seeded_scheme(SOUNDS)
def test_a_settings_file_left_only_as_its_new_file_is_taken_and_gives_the_scheme_back(s):
    expect, tavrin = start_first_run_muted(s)
    faults.kill(tavrin)
    # On FAT and exFAT a replace deletes the old file, then renames the new one: a power cut
    # between the two leaves only the new file.
    os.rename(s.settings_path, s.settings_path + ".new")

    tavrin, xid = s.start_tavrin()
    expect.equal("scheme while the next run is muted", control.sound_scheme(), MUTED)
    faults.exit_from_menu(expect, tavrin, xid, "the next run")
    expect_scheme_back_and_file_whole(s, expect, "Exit")
    expect.true("no new file left", not os.path.exists(s.settings_path + ".new"))
    expect.check()


def read_text(path):
    """The file's text; None when it is gone."""
    try:
        with open(path) as f:
            return f.read()
    except FileNotFoundError:
        return None


def utf16_without_mark(lines):
    return ("\r\n".join(lines) + "\r\n").encode("utf-16-le")


@faults.with_seeded_scheme(SOUNDS)
def test_a_file_written_as_utf16_without_a_mark_is_read_and_its_notes_outlive_the_restore(s):
    # A script wrote the file, and the user a note under the backup; the sounds are blank,
    # as a run of an earlier version killed while muted left them.
    control.seed_sound_scheme([(event, kind, "" if kind == control.REG_SZ else path) for event, kind, path in SOUNDS])
    note = "; the sounds above came back? then delete this section"
    lines = ["[main]", "scale=1500"] + [f"{key}={value}" for key, value in BELOW_TRAY]
    lines += ["[sysSndBackup]"] + [f"{event}={path}" for event, path in BACKUP.items()] + ["", note]
    with open(s.settings_path, "wb") as f:
        f.write(utf16_without_mark(lines))
    faults.start_target(s)
    expect = Expectations()
    tavrin, xid = s.start_tavrin()
    left, top = control.START_POSITION
    control.wait_geometry(xid, (left, top, 1398, 474))  # scale 1.5
    faults.exit_from_menu(expect, tavrin, xid, "the run")
    expect.equal("scheme after Exit", faults.scheme_difference(control.sound_scheme(), ORIGINAL), None)
    with open(s.settings_path, "rb") as f:
        data = f.read()
    expect.true("written back with its byte-order mark", data.startswith(b"\xff\xfe"))
    text = data[2:].decode("utf-16-le")
    expect.true("the note is kept under its header", f"[sysSndBackup]\r\n\r\n{note}\r\n" in text)
    expect.equal("backup lines after Exit", control.backup_in(s.read_settings()), {})
    expect.equal("scale kept", control.section_dict(s.read_settings(), "main").get("scale"), "1500")
    expect.check()


@faults.with_seeded_scheme(SOUNDS)
def test_a_settings_file_that_is_a_link_is_written_through_and_a_new_file_link_never_followed(s):
    elsewhere = os.path.join(s.app_dir, "synced")
    os.mkdir(elsewhere)
    real = os.path.join(elsewhere, "settings.ini")
    victim = os.path.join(elsewhere, "notes.txt")
    with open(victim, "w") as f:
        f.write("not Tavrin's\n")
    faults.start_target(s)
    expect = Expectations()

    # A link where Tavrin would write its new file is never followed: nothing is written
    # while it is there, so nothing is muted either, and what it leads to stays as it was.
    s.write_settings(MUTING_ON, utf16=True)
    with open(s.settings_path, "rb") as f:
        before = f.read()
    os.symlink(victim, s.settings_path + ".new")
    tavrin, xid = s.start_tavrin()
    faults.exit_from_menu(expect, tavrin, xid, "the run beside a new file's link")
    expect.equal("scheme beside a new file's link", control.sound_scheme(), ORIGINAL)
    with open(s.settings_path, "rb") as f:
        expect.true("settings.ini unchanged beside a new file's link", f.read() == before)
    expect.equal("what the new file's link led to", read_text(victim), "not Tavrin's\n")
    expect.true("the new file's link is left", os.path.islink(s.settings_path + ".new"))
    expect.check()
    os.unlink(s.settings_path + ".new")

    # The settings file moves to a synced folder, and a link takes its place.
    os.rename(s.settings_path, real)
    os.symlink(real, s.settings_path)
    tavrin, xid = start_muted(s, expect, "the run through the link")
    expect.equal("backup in the linked file", control.backup_in(read_ini(real)), BACKUP)
    faults.exit_from_menu(expect, tavrin, xid, "the run through the link")
    expect_scheme_back_and_file_whole(s, expect, "the second Exit", real)
    expect.true("settings.ini is still the link", os.path.islink(s.settings_path)
                and os.readlink(s.settings_path) == real)
    expect.equal("files beside the linked file", sorted(os.listdir(elsewhere)), ["notes.txt", "settings.ini"])
    expect.check()
