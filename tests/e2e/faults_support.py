"""What the fault tests share: a settings file that can't be written, every Tavrin closed at
once, a large sound scheme, and checks that the program is still alive and the scheme and
settings.ini came through whole."""
import functools
import os
import shutil
import signal
import stat
import subprocess

import control_support as control
from control_support import REG_SZ
from harness import (MAIN_TITLE, HarnessError, run, screen_size, wait_until, wait_window_gone,
                     win_build_dir)

HOLD_TIMEOUT = 20


def faults_tool_exe():
    exe = os.path.join(win_build_dir(), "tests", "tavrin_faults_tool.exe")
    if not os.path.isfile(exe):
        raise HarnessError(f"{exe} is missing: build the Windows tree first")
    return exe


def close_all():
    """Posts WM_CLOSE to every running Tavrin at the same moment."""
    result = run(["wine", faults_tool_exe(), "close-all"], check=False)
    if result.returncode != 0:
        raise HarnessError(f"close-all found no Tavrin window: {result.stdout.strip()}")


def windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


# ---------------------------------------------------------------------------- read-only files

def _writable_here(path):
    try:
        with open(path, "r+b"):
            return True
    except OSError:
        return False


def _hold_open(session, path):
    """A Wine process that keeps path open and lets nobody else write it."""
    holder = session.start("holder", faults_tool_exe(), "hold", windows_path(path))
    wait_until("the settings file to be held open", lambda: "held=1" in holder.output()
               or not holder.running(), HOLD_TIMEOUT, interval=0.2)
    if not holder.running():
        raise HarnessError(f"the holder could not open {path}: {holder.output()[-300:]}")
    return lambda: end_process(holder)


def make_read_only(session, path):
    """Makes every write to path fail, and returns the function that undoes it.

    The Windows read-only attribute is what a user sets, and it is enough for a normal user;
    Wine keeps it as the Unix mode, which root ignores. As root the file is made immutable as
    well; where that is not allowed either, a Wine process holds the file open and denies
    writing to everyone else."""
    run(["wine", "attrib", "+r", windows_path(path)], timeout=60)
    undo = [lambda: os.chmod(path, os.stat(path).st_mode | stat.S_IWUSR)]
    if _writable_here(path) and shutil.which("chattr"):
        if subprocess.run(["chattr", "+i", path], capture_output=True, timeout=20).returncode == 0:
            undo.insert(0, lambda: subprocess.run(["chattr", "-i", path], capture_output=True, timeout=20))
    if _writable_here(path):
        undo.insert(0, _hold_open(session, path))

    def undo_all():
        for step in undo:
            step()

    return undo_all


# ---------------------------------------------------------------------------- processes

def end_process(process):
    """Kills a process by its id and waits for it, keeping its output for the artifacts."""
    if process.running():
        os.kill(process.pid, signal.SIGKILL)
        process.popen.wait(timeout=HOLD_TIMEOUT)


def kill(tavrin):
    """SIGKILL, as a crash or a forced end does: nothing of the program runs any more."""
    require_alive(tavrin, "before it was killed")
    end_process(tavrin)
    wait_window_gone(MAIN_TITLE)


def exit_from_menu(expect, tavrin, xid, what):
    """Chooses Exit from the tray menu and expects the program to end with code 0."""
    require_alive(tavrin, f"before {what}")
    control.choose_exit(xid)
    expect.equal(f"exit code of {what}", tavrin.wait_exit(), 0)
    wait_window_gone(MAIN_TITLE)


def require_alive(process, what):
    """Fails when the program has ended before it was asked to."""
    if not process.running():
        raise AssertionError(f"Tavrin ended {what} with code {process.popen.returncode}: "
                             f"{process.output()[-500:]}")


# ---------------------------------------------------------------------------- the scheme

def many_sounds(count):
    """[(event, REG_SZ, path), ...] with distinct, partly Japanese paths of growing length, so
    that the backup section is several times larger than any first read buffer."""
    return [(f"FaultEvent{i:03d}", REG_SZ, rf"C:\サウンド\{'x' * (i % 40)}\event {i:03d}.wav")
            for i in range(count)]


def with_seeded_scheme(sounds):
    """Runs the test on this sound scheme, then puts back what the shared prefix had. A
    program still running then only writes the scheme when asked, and is ended by force."""
    def decorate(test):
        @functools.wraps(test)
        def run_seeded(session):
            # The tray menu these tests use is Japanese. Linked first, as a Wine program of its
            # own: a session whose first program is the scheme's helper runs each test a few
            # seconds slower here (seen, not explained).
            control.link_japanese_font()
            before = control.seed_sound_scheme(sounds)
            try:
                test(session)
            finally:
                control.put_back_sound_scheme(before)
        return run_seeded
    return decorate


def wait_scheme(expected, timeout=control.MENU_TIMEOUT):
    """The scheme once it equals expected, or the last one read when the time is up."""
    last = {}

    def probe():
        last["scheme"] = control.sound_scheme()
        return last["scheme"] == expected

    try:
        wait_until("the sound scheme", probe, timeout, interval=0.3)
    except HarnessError:
        pass
    return last["scheme"]


def scheme_difference(actual, expected):
    """A short account of the events that differ, rather than two 500-entry dictionaries."""
    differing = sorted(event for event in set(actual) | set(expected)
                       if actual.get(event) != expected.get(event))
    if not differing:
        return None
    shown = ", ".join(f"{event}: {actual.get(event)!r} not {expected.get(event)!r}"
                      for event in differing[:3])
    return f"{len(differing)} event(s) differ, e.g. {shown}"


# ---------------------------------------------------------------------------- settings.ini

def settings_problems(sections):
    """What is wrong with a settings.ini that should hold every key once: None when nothing."""
    names = [name for name, _ in sections]
    if sorted(set(names)) != sorted(names):
        return f"sections repeated: {names}"
    keys = {name: keys for name, keys in control.key_names(sections).items() if not control.is_backup_section(name)}
    if keys != control.ALL_KEYS:
        return f"keys {keys}, expected {control.ALL_KEYS}"
    return None


def set_auto_mute(session, on):
    """Turns muting on or off in settings.ini by hand, keeping everything else."""
    sections = [(name, [(key, ("1" if on else "0") if (name, key) == ("main", "autoMuteSys") else value)
                        for key, value in entries])
                for name, entries in session.read_settings()]
    session.write_settings(sections, utf16=True)


# ---------------------------------------------------------------------------- the menu

def start_target(session):
    """The typing target, below Tavrin and short of the full screen: Wine confines the pointer
    to a foreground window that covers the whole screen once the pointer moves over it, and
    clicks on the tray icon are then lost."""
    width, height = screen_size()
    return session.start_target(0, height // 2, width, height - height // 2)


def _menu_keys(*keys):
    run(["xdotool", "key", "--delay", "80", *keys])


def choose_while_hidden(item, sub_item=None):
    """Chooses a menu item while Tavrin's window is hidden, as when it covers the tray icon.
    The keys go to the menu's own window, since the hidden main window can't take the focus."""
    x, y = control.tray_icon_point()
    run(["xdotool", "mousemove", str(x), str(y), "click", "3"])
    wait_until("the tray menu to open", lambda: len(control.menu_windows()) == 1, control.MENU_TIMEOUT)
    menu = next(iter(control.menu_windows()))
    run(["xdotool", "windowfocus", "--sync", str(menu)])
    if item is None:
        _menu_keys("Up")  # Exit, the last item
    else:
        _menu_keys(*["Down"] * (item + 1))
    if sub_item is not None:
        _menu_keys("Right")
        wait_until("the submenu to open", lambda: len(control.menu_windows()) == 2, control.MENU_TIMEOUT)
        if sub_item:
            _menu_keys(*["Down"] * sub_item)
    _menu_keys("Return")
    wait_until("the menu to close", lambda: not control.menu_windows(), control.MENU_TIMEOUT)
