"""Drives Tavrin's controls from outside: the tray icon's menu, the scale dialog and the hot
key; seeds the sound scheme and reads it back through a small helper inside Wine.

The menu is worked with the keyboard: once it is open, Wine hands the keys to it while the
X focus is on a window of its thread, and the arrow keys skip separators, so an item is
reached by its position among the selectable items.
"""
import os
import re
import subprocess
import tempfile

from harness import (COMMAND_TIMEOUT, HarnessError, MAIN_TITLE, find_windows, focus_window,
                     run, wait_for_window, wait_until, wait_window_gone,
                     win_build_dir, window_geometry, wine_env)

MENU_TIMEOUT = 20
TRAY_TITLE = "Wine System Tray"
SCALE_DIALOG_TITLE = "倍率の入力"

# Positions among the selectable items of the menu and its submenus.
OPACITY_MENU, OPACITY_40 = 3, 0
DESIGN_MENU, DESIGN_OUTLINE = 4, 2
DRAWING_MENU, RENDER_MODE_MENU, RENDER_COLOR_KEY, RENDER_PER_PIXEL = 5, 2, 0, 1
SOUND_MENU, SOUND_AUTOMUTE = 6, 5
SCALE_MENU, SCALE_150, SCALE_INPUT = 8, 3, 5
MORE_MENU, MORE_ABOUT = 9, 0
KEYBOARD_MENU, KEYBOARD_COMPACT, KEYBOARD_FULL = 10, 0, 1

# The window starts below Wine's tray window, so that no key ever covers the icon.
START_POSITION = (0, 60)

# Every key of a complete settings.ini, by section, sorted.
ALL_KEYS = {
    "main": sorted(["style", "alpha", "topmost", "clickthru", "shadow", "aa", "rendermode",
                    "soundOn", "soundSel", "autoMuteSys", "scale", "left", "top", "layout"]),
    "color": sorted(["textN", "textA", "fillN", "fillA", "lineN", "lineA", "shadow"]),
}

REG_SZ = 1
REG_EXPAND_SZ = 2
SCHEME_KEY = r"HKEY_CURRENT_USER\AppEvents\Schemes\Apps\.Default"
SYSTEM_LINK_KEY = r"HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink"
LINKED_FONTS = ("Tahoma", "Microsoft Sans Serif", "MS Shell Dlg", "MS Shell Dlg 2")
JAPANESE_FONT = "ipag.ttf,IPAGothic"


# ---------------------------------------------------------------------------- the prefix

def _reg_string(text):
    return '"' + text.replace("\\", "\\\\").replace('"', '\\"') + '"'


def _reg_hex(kind, text):
    data = (text + "\0").encode("utf-16-le")
    return f"hex({kind:x}):" + ",".join(f"{b:02x}" for b in data)


def import_registry(body):
    """Imports registry text with regedit. Only a UTF-16LE file with its byte-order mark keeps
    text outside ASCII, and only then is hex(2)/hex(7) data taken as UTF-16."""
    text = "Windows Registry Editor Version 5.00\r\n\r\n" + "\r\n".join(body) + "\r\n"
    with tempfile.NamedTemporaryFile(suffix=".reg", delete=False) as f:
        f.write(b"\xff\xfe" + text.encode("utf-16-le"))
    try:
        run(["wine", "regedit", "/S", f.name], timeout=60)
    finally:
        os.unlink(f.name)


def link_japanese_font():
    """Lets Wine's UI fonts fall back to IPAGothic, so the Japanese menu shows as text and not
    as boxes. The prefix set-up of the scripts does not do it; done once per prefix."""
    out = run(["wine", "reg", "query", SYSTEM_LINK_KEY], check=False, timeout=60).stdout
    linked = [name for name in LINKED_FONTS
              if re.search(rf"^\s*{re.escape(name)}\s+REG_MULTI_SZ\s+{re.escape(JAPANESE_FONT)}\s*$",
                           out, re.MULTILINE)]
    if len(linked) == len(LINKED_FONTS):
        return
    import_registry(["[" + SYSTEM_LINK_KEY.replace("HKLM", "HKEY_LOCAL_MACHINE", 1) + "]"]
                    + [f"{_reg_string(name)}={_reg_hex(7, JAPANESE_FONT + chr(0))}"
                       for name in LINKED_FONTS])


def seed_sound_scheme(sounds):
    """Replaces the current user's scheme with these events: [(event, type, path), ...].
    Returns what was there before, for put_back_sound_scheme: None when there was no scheme."""
    try:
        before = sound_scheme()
    except HarnessError:
        before = None
    body = [f"[-{SCHEME_KEY}]"]
    for event, kind, path in sounds:
        body.append(f"[{SCHEME_KEY}\\{event}\\.Current]")
        value = _reg_string(path) if kind == REG_SZ else _reg_hex(kind, path)
        body.append(f"@={value}")
    import_registry(body)
    return before


def set_sound(event, kind, path):
    """Sets one event's sound as a user does in the sound settings, keeping the others."""
    value = _reg_string(path) if kind == REG_SZ else _reg_hex(kind, path)
    import_registry([f"[{SCHEME_KEY}\\{event}\\.Current]", f"@={value}"])


def put_back_sound_scheme(before):
    """Puts back each event's sound as seed_sound_scheme found it; a prefix without a scheme
    gets none again. Other values and subkeys the events may have had are not kept."""
    body = [f"[-{SCHEME_KEY}]"]
    for event, (kind, data) in (before or {}).items():
        if kind == "none":
            body.append(f"[{SCHEME_KEY}\\{event}]")
            continue
        body.append(f"[{SCHEME_KEY}\\{event}\\.Current]")
        if kind != "unset":
            body.append(f"@=hex({kind:x}):" + ",".join(f"{b:02x}" for b in data))
    import_registry(body)


def expected_sound(kind, path):
    """The (type, data) a value of this type and text has in the registry."""
    return kind, (path + "\0").encode("utf-16-le")


# A scheme with what tends to break: a non-ASCII path, a path with '=', a value that is not
# REG_SZ (left alone by muting) and an event that is already silent.
SEEDED_SOUNDS = [
    (".Default", REG_SZ, r"C:\windows\media\ding.wav"),
    ("MailBeep", REG_EXPAND_SZ, r"%SystemRoot%\media\notify.wav"),
    ("SystemAsterisk", REG_SZ, r"C:\ユーザー\サウンド\チャイム♪.wav"),
    ("SystemExit", REG_SZ, r"D:\sounds\a=b\exit.wav"),
    ("SystemStart", REG_SZ, ""),
]


def scheme_of(sounds):
    """The registry values of a seeded scheme, as the user had them."""
    return {event: expected_sound(kind, path) for event, kind, path in sounds}


def muted_scheme_of(sounds):
    """The same scheme once muted: REG_SZ values blank, others untouched."""
    return {event: expected_sound(kind, "" if kind == REG_SZ else path) for event, kind, path in sounds}


def backup_of(sounds):
    """The backup lines muting writes: every non-empty REG_SZ path."""
    return {event: path for event, kind, path in sounds if kind == REG_SZ and path}


def is_backup_section(name):
    """The sound backup's sections: one per owner, "sysSndBackup for <account> on <computer>",
    and the untagged one that earlier versions wrote."""
    return name == "sysSndBackup" or name.startswith("sysSndBackup for ")


def backup_in(sections):
    """{event: path} of every backup section, the first line of an event counting; None when
    the file has no backup section."""
    backup, found = {}, False
    for name, entries in sections:
        if is_backup_section(name):
            found = True
            for key, value in entries:
                backup.setdefault(key, value)
    return backup if found else None


# ---------------------------------------------------------------------------- the helper

def control_tool(*args):
    """Runs the control helper inside Wine; its output is UTF-8 whatever the locale."""
    exe = os.path.join(win_build_dir(), "tests", "tavrin_control_tool.exe")
    if not os.path.isfile(exe):
        raise HarnessError(f"{exe} is missing: build the Windows tree first")
    try:
        result = subprocess.run(["wine", exe, *args], capture_output=True, timeout=COMMAND_TIMEOUT,
                                env=wine_env(), stdin=subprocess.DEVNULL)
    except subprocess.TimeoutExpired as e:
        raise HarnessError(f"tavrin_control_tool {' '.join(args)} did not finish") from e
    if result.returncode != 0:
        raise HarnessError(f"tavrin_control_tool {' '.join(args)} failed with {result.returncode}")
    return [line.rstrip("\r") for line in result.stdout.decode("utf-8").splitlines()]


def sound_scheme():
    """{event: (type, data bytes)} of every event of the scheme, as the registry holds it."""
    scheme = {}
    for line in control_tool("sounds"):
        event, kind, data = line.removeprefix("sound=").split("\t")
        scheme[event] = (int(kind) if kind.isdigit() else kind, bytes.fromhex(data))
    return scheme


def _wine_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def resources(exe, language=None):
    """The helper's lines on the menu and dialog templates of exe (a path of this machine), in
    the language with this LANGID, or in Japanese."""
    return control_tool("resources", _wine_path(exe), *([str(language)] if language else []))


def chosen_resources(exe):
    """The menu captions and string table texts of exe in the language the platform picks for
    the current Wine session, as the program loads them: [(kind, fields), ...]."""
    return [(line.split("=", 1)[0], line.split("=", 1)[1].split("|"))
            for line in control_tool("chosen", _wine_path(exe))]


# ---------------------------------------------------------------------------- settings.ini

def start_below_tray(session):
    """Tavrin started with a settings.ini that holds only its position (UTF-16, as the
    program keeps it)."""
    left, top = START_POSITION
    session.write_settings([("main", [("left", str(left)), ("top", str(top))])], utf16=True)
    return session.start_tavrin()


def settings_when(session, what, predicate):
    """The parsed settings.ini once predicate accepts it: the program saves a moment after the
    command that changed a setting."""
    def probe():
        try:
            sections = session.read_settings()
        except (OSError, UnicodeDecodeError):
            return None  # not there yet
        return sections if predicate(sections) else None

    return wait_until(what, probe, MENU_TIMEOUT, interval=0.2)


def section_dict(sections, name):
    """{key: value} of the named section; empty when the file has no such section."""
    for section, entries in sections:
        if section == name:
            return dict(entries)
    return {}


def key_names(sections):
    """{section: its keys, sorted}; a key written twice shows twice."""
    return {name: sorted(key for key, _ in entries) for name, entries in sections}


# ---------------------------------------------------------------------------- the menu

def tray_icon_point():
    """A point on the first icon of Wine's tray window, which Tavrin's icon is alone in."""
    left, top, _, height = window_geometry(wait_for_window(TRAY_TITLE))
    return left + 8, top + height // 2


def _search(*criteria):
    result = run(["xdotool", "search", "--onlyvisible", *criteria], check=False)
    return {int(line) for line in result.stdout.split()}


def menu_windows():
    """Tavrin's open menu windows: its visible windows without a title."""
    return _search("--classname", r"^tavrin\.exe$") & _search("--name", "^$")


def _keys(*keys):
    run(["xdotool", "key", "--delay", "80", *keys])


def right_click(x, y):
    # Wine's tray now and then loses the release of a quick click (it relays the press and
    # nothing more), so the button is held a moment, as a hand does.
    run(["xdotool", "mousemove", str(x), str(y), "sleep", "0.2",
         "mousedown", "3", "sleep", "0.15", "mouseup", "3"])


def open_menu(main_xid):
    """Right-clicks the tray icon and waits for the menu, with the X focus on its thread."""
    x, y = tray_icon_point()
    right_click(x, y)
    try:
        wait_until("the tray menu to open", lambda: len(menu_windows()) == 1, MENU_TIMEOUT / 2)
    except HarnessError:
        # A click the tray lost all the same: once more, with no menu open to close.
        right_click(x, y)
        wait_until("the tray menu to open", lambda: len(menu_windows()) == 1, MENU_TIMEOUT)
    # The program brings its window to the foreground before the menu opens, but the X focus
    # follows only when no other Wine window holds it; without it the keys miss the menu.
    focus_window(main_xid)


def _wait_menu_closed():
    wait_until("the menu to close", lambda: not menu_windows(), MENU_TIMEOUT)


def choose(main_xid, item, *sub_items):
    """Chooses the item at this position of the menu, or of the submenu at that position, and
    so on down through nested submenus."""
    open_menu(main_xid)
    _keys(*["Down"] * (item + 1))
    for depth, sub_item in enumerate(sub_items, start=2):
        _keys("Right")
        wait_until("the submenu to open", lambda: len(menu_windows()) == depth, MENU_TIMEOUT)
        # A submenu opens with its first item selected.
        if sub_item:
            _keys(*["Down"] * sub_item)
    _keys("Return")
    _wait_menu_closed()


def choose_exit(main_xid):
    """Exit is the last item, which the Up key reaches first."""
    open_menu(main_xid)
    _keys("Up", "Return")
    _wait_menu_closed()


def open_scale_dialog(main_xid, title=SCALE_DIALOG_TITLE):
    """Opens the scale dialog from the menu; returns its X window once it has the X focus."""
    choose(main_xid, SCALE_MENU, SCALE_INPUT)
    dialog = wait_for_window(title, timeout=MENU_TIMEOUT)
    focus_window(dialog)
    return dialog


def enter_scale(main_xid, text, title=SCALE_DIALOG_TITLE, opened=False):
    """Opens the scale dialog from the menu (unless it is open), replaces the proposed text
    and confirms it."""
    if not opened:
        open_scale_dialog(main_xid, title)
    _keys("End", *["BackSpace"] * 8)
    run(["xdotool", "type", "--delay", "80", text])
    _keys("Return")
    wait_window_gone(title, timeout=MENU_TIMEOUT)


def press_hot_key():
    _keys("ctrl+shift+k")


def main_window_shown(shown):
    """Waits until Tavrin's window is mapped (shown) or unmapped."""
    wait_until("Tavrin's window to be " + ("shown" if shown else "hidden"),
               lambda: bool(find_windows(MAIN_TITLE)) == shown, MENU_TIMEOUT)


def wait_geometry(xid, geometry):
    last = {}

    def probe():
        last["geometry"] = window_geometry(xid)
        return last["geometry"] == geometry

    try:
        wait_until(f"window geometry {geometry}", probe, MENU_TIMEOUT, interval=0.2)
    except HarnessError as e:
        raise HarnessError(f"{e}; it stayed {last.get('geometry')}") from None
