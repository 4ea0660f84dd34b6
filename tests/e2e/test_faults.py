"""Tavrin against what goes wrong around it: a settings file it can't write or that is a
folder, a folder whose path is beyond MAX_PATH, a huge sound backup, being killed while the
sounds are muted, and a second copy running beside the first. It must keep running until told to stop, end with code 0, and
give the user's sound scheme back exactly."""
import os
import shutil

import control_support as control
import faults_support as faults
import harness
from control_support import OPACITY_40, OPACITY_MENU, SOUND_AUTOMUTE, SOUND_MENU
from harness import (MAIN_TITLE, Expectations, find_windows, focus_window, wait_until,
                     wait_window_gone, window_geometry, window_opacity)

SOUNDS = control.SEEDED_SOUNDS
ORIGINAL = control.scheme_of(SOUNDS)
MUTED = control.muted_scheme_of(SOUNDS)
BACKUP = control.backup_of(SOUNDS)
MANY_SOUNDS = faults.many_sounds(500)

BELOW_TRAY = [("left", str(control.START_POSITION[0])), ("top", str(control.START_POSITION[1]))]
DEFAULT_SIZE = (932, 316)
OPACITY_80 = 0xCCCCCCCC
OPACITY_40_PROPERTY = 0x66666666


def wait_opacity(xid, value):
    wait_until(f"_NET_WM_WINDOW_OPACITY {value:#x}", lambda: window_opacity(xid) == value,
               control.MENU_TIMEOUT, interval=0.2)


@faults.with_seeded_scheme(SOUNDS)
def test_a_read_only_settings_file_stays_as_it_was_and_no_sound_is_blanked(s):
    s.write_settings([("main", [("autoMuteSys", "1"), ("alpha", "153")] + BELOW_TRAY)], utf16=True)
    with open(s.settings_path, "rb") as f:
        before = f.read()
    undo = faults.make_read_only(s, s.settings_path)
    expect = Expectations()
    try:
        _, target_xid = faults.start_target(s)
        focus_window(target_xid)
        tavrin, xid = s.start_tavrin()
        # Muting runs while the window is created: no backup could be stored, so nothing
        # may have been blanked.
        expect.equal("scheme while running", control.sound_scheme(), ORIGINAL)
        expect.equal("opacity read from the file", window_opacity(xid), 0x99999999)
        # A change the file can't keep still takes effect.
        control.choose(xid, OPACITY_MENU, OPACITY_40)
        wait_opacity(xid, OPACITY_40_PROPERTY)
        faults.exit_from_menu(expect, tavrin, xid, "the run on a read-only file")
        with open(s.settings_path, "rb") as f:
            expect.true("settings.ini unchanged after Exit", f.read() == before)
        expect.equal("scheme after Exit", control.sound_scheme(), ORIGINAL)
    finally:
        undo()
    expect.check()

    # Once the file can be written again, the next run mutes and its Exit restores.
    tavrin, xid = s.start_tavrin()
    expect.equal("scheme muted by a run that can write", control.sound_scheme(), MUTED)
    expect.equal("opacity the read-only run did not keep", window_opacity(xid), 0x99999999)
    faults.exit_from_menu(expect, tavrin, xid, "the run on a writable file")
    expect.equal("scheme after the writable run", control.sound_scheme(), ORIGINAL)
    expect.check()


@faults.with_seeded_scheme(SOUNDS)
def test_a_settings_file_that_is_a_folder_gives_the_defaults_and_mutes_nothing(s):
    os.mkdir(s.settings_path)
    with open(os.path.join(s.settings_path, "kept.txt"), "w") as f:
        f.write("not Tavrin's\n")
    expect = Expectations()
    try:
        _, target_xid = faults.start_target(s)
        focus_window(target_xid)
        tavrin, xid = s.start_tavrin()
        expect.equal("window at the default place and size", window_geometry(xid), (0, 0) + DEFAULT_SIZE)
        expect.equal("default opacity", window_opacity(xid), OPACITY_80)

        # The window covers the tray icon: hidden by the hot key, it lets the icon be clicked.
        # Muting switched on from the menu can't store a backup, so it blanks nothing; were
        # anything blanked, Exit would find no backup to restore it from.
        control.press_hot_key()
        control.main_window_shown(False)
        faults.choose_while_hidden(SOUND_MENU, SOUND_AUTOMUTE)
        faults.require_alive(tavrin, "after muting was switched on")
        faults.choose_while_hidden(None)
        expect.equal("exit code of the run on a folder", tavrin.wait_exit(), 0)
        expect.true("settings.ini is still a folder", os.path.isdir(s.settings_path))
        expect.equal("the folder's content", os.listdir(s.settings_path), ["kept.txt"])
        expect.equal("scheme after Exit", control.sound_scheme(), ORIGINAL)
    finally:
        # The artifacts of a failed test take a copy of settings.ini, which must be a file.
        shutil.rmtree(s.settings_path, ignore_errors=True)
    expect.check()


@faults.with_seeded_scheme(MANY_SOUNDS)
def test_exit_restores_every_one_of_500_muted_sounds(s):
    sounds = MANY_SOUNDS
    original, muted = control.scheme_of(sounds), control.muted_scheme_of(sounds)
    expect = Expectations()
    expect.equal("seeded scheme", faults.scheme_difference(control.sound_scheme(), original), None)
    s.write_settings([("main", [("autoMuteSys", "1")] + BELOW_TRAY)], utf16=True)
    faults.start_target(s)
    tavrin, xid = s.start_tavrin()
    expect.equal("scheme while muted", faults.scheme_difference(faults.wait_scheme(muted), muted), None)
    backup = control.backup_in(s.read_settings()) or {}
    expect.equal("backed-up events", len(backup), 500)
    expect.true("every backup entry is its event's path",
                backup == {event: path for event, _, path in sounds})
    faults.exit_from_menu(expect, tavrin, xid, "the muted run")
    expect.equal("scheme after Exit", faults.scheme_difference(control.sound_scheme(), original), None)
    sections = s.read_settings()
    expect.equal("backup after Exit", control.backup_in(sections), None)
    expect.equal("settings.ini after Exit", faults.settings_problems(sections), None)
    expect.check()


@faults.with_seeded_scheme(SOUNDS)
def test_after_kills_while_muted_exit_brings_the_sounds_back_with_muting_on_or_off(s):
    s.write_settings([("main", [("autoMuteSys", "1")] + BELOW_TRAY)], utf16=True)
    faults.start_target(s)
    expect = Expectations()

    # Two runs in a row killed while muted: the second finds the sounds blank and must keep
    # the first one's backup.
    for run in ("first", "second"):
        tavrin, _ = s.start_tavrin()
        expect.equal(f"scheme while the {run} run is muted", faults.wait_scheme(MUTED), MUTED)
        faults.kill(tavrin)
        expect.equal(f"backup after the {run} kill", control.backup_in(s.read_settings()), BACKUP)
    expect.equal("scheme after the kills", control.sound_scheme(), MUTED)

    tavrin, xid = s.start_tavrin()
    faults.exit_from_menu(expect, tavrin, xid, "the run with muting on")
    expect.equal("scheme after Exit with muting on", control.sound_scheme(), ORIGINAL)
    expect.equal("backup after Exit with muting on", control.backup_in(s.read_settings()), None)
    expect.check()

    # Killed once more, then started with muting switched off: nothing is muted or restored
    # while it runs, and Exit restores.
    tavrin, _ = s.start_tavrin()
    expect.equal("scheme while muted again", faults.wait_scheme(MUTED), MUTED)
    faults.kill(tavrin)
    faults.set_auto_mute(s, False)
    tavrin, xid = s.start_tavrin()
    expect.equal("scheme while running with muting off", control.sound_scheme(), MUTED)
    faults.exit_from_menu(expect, tavrin, xid, "the run with muting off")
    expect.equal("scheme after Exit with muting off", control.sound_scheme(), ORIGINAL)
    sections = s.read_settings()
    expect.equal("backup after Exit with muting off", control.backup_in(sections), None)
    expect.equal("autoMuteSys kept off", control.section_dict(sections, "main").get("autoMuteSys"), "0")
    expect.equal("settings.ini after Exit", faults.settings_problems(sections), None)
    expect.check()


@faults.with_seeded_scheme(SOUNDS)
def test_a_second_copy_runs_without_the_hot_key_and_both_end_cleanly(s):
    s.write_settings([("main", [("autoMuteSys", "1")] + BELOW_TRAY)], utf16=True)
    _, target_xid = faults.start_target(s)
    focus_window(target_xid)
    first, first_xid = s.start_tavrin()
    second, second_xid = s.start_tavrin()
    expect = Expectations()
    expect.equal("scheme while both are muted", faults.wait_scheme(MUTED), MUTED)
    expect.equal("backup kept by the second copy's mute", control.backup_in(s.read_settings()), BACKUP)

    # Ctrl+Shift+K belongs to the first copy alone.
    focus_window(target_xid)
    control.press_hot_key()
    wait_until("the first copy to hide", lambda: first_xid not in find_windows(MAIN_TITLE),
               control.MENU_TIMEOUT)
    expect.equal("windows shown after the hot key", find_windows(MAIN_TITLE), [second_xid])
    control.press_hot_key()
    wait_until("the first copy to show again",
               lambda: sorted(find_windows(MAIN_TITLE)) == sorted([first_xid, second_xid]),
               control.MENU_TIMEOUT)
    faults.require_alive(first, "before it was closed")
    faults.require_alive(second, "before it was closed")

    # Both close at the same moment, each restoring and saving over the same file.
    faults.close_all()
    expect.equal("exit code of the first copy", first.wait_exit(), 0)
    expect.equal("exit code of the second copy", second.wait_exit(), 0)
    wait_window_gone(MAIN_TITLE)
    sections = s.read_settings()
    expect.equal("settings.ini after both closed", faults.settings_problems(sections), None)
    expect.equal("scheme after both closed", control.sound_scheme(), ORIGINAL)
    expect.check()


@faults.with_seeded_scheme(SOUNDS)
def test_a_folder_whose_path_is_beyond_max_path_keeps_the_settings_and_the_backup_in_it(s):
    deep = os.path.join(s.app_dir, *["d" * 60] * 5)
    os.makedirs(deep)
    shutil.copy(s.tavrin_exe, deep)
    settings_path = os.path.join(deep, "settings.ini")
    harness.write_ini(settings_path, [("main", [("autoMuteSys", "1")] + BELOW_TRAY)], utf16=True)
    expect = Expectations()
    expect.true("the folder's path is beyond MAX_PATH", len(faults.windows_path(deep)) > 260)
    faults.start_target(s)
    # Started from a shorter folder: Wine can't start a program in a folder that long.
    tavrin = s.start("tavrin", os.path.join(deep, "tavrin.exe"))
    xid = harness.wait_for_window(MAIN_TITLE)
    expect.equal("scheme while muted", faults.wait_scheme(MUTED), MUTED)
    expect.equal("backup in the long folder", control.backup_in(harness.read_ini(settings_path)), BACKUP)
    faults.exit_from_menu(expect, tavrin, xid, "the run in the long folder")
    expect.equal("scheme after Exit", control.sound_scheme(), ORIGINAL)
    sections = harness.read_ini(settings_path)
    expect.equal("backup after Exit", control.backup_in(sections), None)
    expect.equal("settings.ini after Exit", faults.settings_problems(sections), None)
    written = sorted(os.path.relpath(os.path.join(root, name), s.app_dir)
                     for root, _, names in os.walk(s.app_dir) for name in names)
    expect.equal("files written", [os.path.basename(f) for f in written], ["settings.ini", "tavrin.exe"])
    expect.check()
