"""The backup of the sound scheme in settings.ini against what users and their machines do to
it: a sound chosen by hand while the scheme is muted, a backup section that a hand edit has
doubled, and two copies of Tavrin started and ended together over one file."""
import control_support as control
import faults_support as faults
from control_support import REG_SZ, SOUND_AUTOMUTE, SOUND_MENU
from harness import MAIN_TITLE, Expectations, find_windows, wait_until, wait_window_gone

SOUNDS = control.SEEDED_SOUNDS
ORIGINAL = control.scheme_of(SOUNDS)
MUTED = control.muted_scheme_of(SOUNDS)
BACKUP = control.backup_of(SOUNDS)
BELOW_TRAY = [("left", str(control.START_POSITION[0])), ("top", str(control.START_POSITION[1]))]

# What a user picks for an event while Tavrin has it blank.
NEW_CHOICE = r"C:\ユーザー\新しい音\ピンポン.wav"


def with_sound(scheme, event, path):
    return {**scheme, event: control.expected_sound(REG_SZ, path)}


@faults.with_seeded_scheme(SOUNDS)
def test_a_sound_chosen_by_hand_while_muted_is_kept_and_the_others_come_back(s):
    s.write_settings([("main", [("autoMuteSys", "1")] + BELOW_TRAY)], utf16=True)
    faults.start_target(s)
    expect = Expectations()

    # Killed while muted; the user then gives SystemExit a new sound and switches muting off
    # in the file. Exit must give back the other sounds and leave the new choice alone.
    tavrin, _ = s.start_tavrin()
    expect.equal("scheme while muted", faults.wait_scheme(MUTED), MUTED)
    faults.kill(tavrin)
    control.set_sound("SystemExit", REG_SZ, NEW_CHOICE)
    faults.set_auto_mute(s, False)
    tavrin, xid = s.start_tavrin()
    faults.exit_from_menu(expect, tavrin, xid, "the run after the kill")
    expect.equal("scheme after Exit", faults.scheme_difference(control.sound_scheme(),
                                                               with_sound(ORIGINAL, "SystemExit", NEW_CHOICE)), None)
    expect.equal("backup after Exit", control.backup_in(s.read_settings()), None)
    expect.check()

    # While a run keeps the scheme muted, the user gives .Default a new sound, then switches
    # muting off from the menu.
    control.set_sound("SystemExit", REG_SZ, dict((e, p) for e, _, p in SOUNDS)["SystemExit"])
    faults.set_auto_mute(s, True)
    tavrin, xid = s.start_tavrin()
    expect.equal("scheme while muted again", faults.wait_scheme(MUTED), MUTED)
    control.set_sound(".Default", REG_SZ, NEW_CHOICE)
    control.choose(xid, SOUND_MENU, SOUND_AUTOMUTE)
    expected = with_sound(ORIGINAL, ".Default", NEW_CHOICE)
    expect.equal("scheme once muting is off", faults.scheme_difference(faults.wait_scheme(expected), expected), None)
    faults.exit_from_menu(expect, tavrin, xid, "the run muted again")
    expect.equal("scheme after the second Exit", faults.scheme_difference(control.sound_scheme(), expected), None)
    sections = s.read_settings()
    expect.equal("backup after the second Exit", control.backup_in(sections), None)
    expect.equal("settings.ini after the second Exit", faults.settings_problems(sections), None)
    expect.check()


def doubled_backup_file():
    """A settings.ini whose backup a hand edit or a merge has split in two, with a stale
    repeat of one entry in the second section, and lines of the user's own around it."""
    backup = list(BACKUP.items())
    lines = ["; my Tavrin settings", "[main]", "autoMuteSys=0"] + [f"{k}={v}" for k, v in BELOW_TRAY]
    lines += ["", "[sysSndBackup]", f"{backup[0][0]}={backup[0][1]}"]
    lines += ["", "[notes]", "kept=yes, please"]
    lines += ["[sysSndBackup]"] + [f"{k}={v}" for k, v in backup[1:]]
    lines += [rf"{backup[0][0]}=C:\stale\older.wav"]
    return "\r\n".join(lines) + "\r\n"


@faults.with_seeded_scheme(SOUNDS)
def test_every_section_of_a_doubled_backup_is_restored_and_removed(s):
    control.seed_sound_scheme([(event, kind, "" if kind == REG_SZ else path) for event, kind, path in SOUNDS])
    with open(s.settings_path, "wb") as f:
        f.write(b"\xff\xfe" + doubled_backup_file().encode("utf-16-le"))
    faults.start_target(s)
    expect = Expectations()
    expect.equal("scheme before the run", control.sound_scheme(), MUTED)
    tavrin, xid = s.start_tavrin()
    faults.exit_from_menu(expect, tavrin, xid, "the run")
    expect.equal("scheme after Exit", faults.scheme_difference(control.sound_scheme(), ORIGINAL), None)
    sections = s.read_settings()
    expect.equal("backup after Exit", control.backup_in(sections), None)
    expect.equal("sections after Exit", [name for name, _ in sections], ["main", "notes", "color"])
    with open(s.settings_path, "rb") as f:
        text = f.read().decode("utf-16")
    expect.true("the user's comment is kept first", text.startswith("; my Tavrin settings\r\n"))
    expect.equal("the user's own section", control.section_dict(sections, "notes"), {"kept": "yes, please"})
    expect.check()


# Enough sounds that the two copies' mutes and restores overlap.
TWO_COPIES_SOUNDS = SOUNDS + faults.many_sounds(60)


@faults.with_seeded_scheme(TWO_COPIES_SOUNDS)
def test_two_copies_started_and_ended_together_give_the_scheme_back_every_time(s):
    original, muted = control.scheme_of(TWO_COPIES_SOUNDS), control.muted_scheme_of(TWO_COPIES_SOUNDS)
    s.write_settings([("main", [("autoMuteSys", "1")] + BELOW_TRAY)], utf16=True)
    faults.start_target(s)
    expect = Expectations()
    for run in range(20):
        first = s.start_tavrin_unmapped()
        second = s.start_tavrin_unmapped()
        wait_until("both windows", lambda: len(find_windows(MAIN_TITLE)) == 2, 40, interval=0.1)
        expect.equal(f"scheme while both run ({run})", faults.scheme_difference(faults.wait_scheme(muted), muted), None)
        faults.close_all()
        expect.equal(f"exit code of the first copy ({run})", first.wait_exit(), 0)
        expect.equal(f"exit code of the second copy ({run})", second.wait_exit(), 0)
        wait_window_gone(MAIN_TITLE)
        expect.equal(f"scheme after both ended ({run})", faults.scheme_difference(control.sound_scheme(), original), None)
        sections = s.read_settings()
        expect.equal(f"backup after both ended ({run})", control.backup_in(sections), None)
        expect.equal(f"settings.ini after both ended ({run})", faults.settings_problems(sections), None)
        if expect.failures:
            break
    expect.check()
