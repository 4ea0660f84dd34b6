"""Tavrin controlled as a user does: the tray icon's menu, the scale dialog, the hot key and
Exit; the muting of the system sounds and their return; the menu and dialog resources."""
import control_support as control
import faults_support as faults
from control_support import (DESIGN_MENU, DESIGN_OUTLINE, OPACITY_40, OPACITY_MENU, SCALE_150,
                             SCALE_MENU, SOUND_AUTOMUTE, SOUND_MENU)
from harness import (MAIN_TITLE, TARGET_COLOR, Expectations, HarnessError, focus_window,
                     focused_window, wait_for_pixel, wait_window_gone,
                     window_geometry, window_opacity)
from menu_texts import ENGLISH, MENU_ITEMS

KEY_FILL = (230, 230, 230)
KEY_FRAME = (80, 80, 80)


def key5_points():
    """Inside the "5" key clear of its label, and on its left frame, at scale 1."""
    left, top = control.START_POSITION
    key_left, key_top = left + 14 + 4 * 56, top + 14
    return (key_left + 5, key_top + 24), (key_left, key_top + 24)


def test_menu_sets_opacity_design_and_scale_hot_key_toggles_and_exit_saves_everything(s):
    # A Japanese session: the scale dialog is found by its Japanese title.
    s.use_wine(language="ja_JP.UTF-8")
    control.link_japanese_font()
    _, target_xid = s.start_target()
    focus_window(target_xid)
    tavrin, xid = control.start_below_tray(s)
    left, top = control.START_POSITION
    inside, frame = key5_points()
    wait_for_pixel(inside, KEY_FILL)
    expect = Expectations()

    # The hot key works while another program has the focus, and leaves the focus there. It
    # comes first: the menu makes Tavrin the foreground window, which an X focus change alone
    # does not undo under Wine without a window manager, and hiding the foreground window
    # activates another one.
    control.press_hot_key()
    control.main_window_shown(False)
    expect.equal("X focus after hiding", focused_window(), target_xid)
    control.press_hot_key()
    control.main_window_shown(True)
    expect.equal("X focus after showing", focused_window(), target_xid)
    expect.equal("geometry after showing again", window_geometry(xid), (left, top, 932, 316))

    control.choose(xid, OPACITY_MENU, OPACITY_40)
    # The save follows the command: wait for it.
    control.settings_when(s, "all 21 keys and alpha 102 in settings.ini",
                          lambda sec: control.key_names(sec) == control.ALL_KEYS
                          and control.section_dict(sec, "main").get("alpha") == "102")
    expect.equal("_NET_WM_WINDOW_OPACITY after 40 %", window_opacity(xid), 0x66666666)

    control.choose(xid, DESIGN_MENU, DESIGN_OUTLINE)
    # The outlined keys keep their frame and show what is behind them inside it.
    shot = wait_for_pixel(inside, TARGET_COLOR)
    expect.equal("frame of the outlined key", shot.pixel(*frame), KEY_FRAME)

    control.choose(xid, SCALE_MENU, SCALE_150)
    control.wait_geometry(xid, (left, top, 1398, 474))
    control.enter_scale(xid, "2")
    control.wait_geometry(xid, (left, top, 1864, 632))

    control.choose_exit(xid)
    expect.equal("exit code", tavrin.wait_exit(), 0)
    wait_window_gone(MAIN_TITLE)
    sections = s.read_settings()
    expect.equal("keys of settings.ini after Exit", control.key_names(sections), control.ALL_KEYS)
    main = control.section_dict(sections, "main")
    expect.equal("chosen settings after Exit",
                 {key: main.get(key) for key in ("alpha", "style", "scale", "left", "top")},
                 {"alpha": "102", "style": "2", "scale": "2000", "left": str(left), "top": str(top)})
    expect.check()


SOUNDS = control.SEEDED_SOUNDS
ORIGINAL = control.scheme_of(SOUNDS)
MUTED = control.muted_scheme_of(SOUNDS)
BACKUP = control.backup_of(SOUNDS)


def backup_when(s, expected):
    """The backup section once it matches; a running program rewrites the file at any time."""
    try:
        return control.backup_in(control.settings_when(s, "the backup section",
                                                       lambda sec: control.backup_in(sec) == expected))
    except HarnessError:
        return control.backup_in(s.read_settings())  # the comparison that follows shows the difference


@faults.with_seeded_scheme(SOUNDS)
def test_muting_blanks_the_sounds_and_exit_or_a_later_run_puts_them_back(s):
    expect = Expectations()
    expect.equal("seeded scheme", control.sound_scheme(), ORIGINAL)
    s.start_target()

    # Muting from the menu, then Exit.
    tavrin, xid = control.start_below_tray(s)
    control.choose(xid, SOUND_MENU, SOUND_AUTOMUTE)
    expect.equal("scheme while muted", faults.wait_scheme(MUTED), MUTED)
    expect.equal("backup while muted", backup_when(s, BACKUP), BACKUP)
    faults.exit_from_menu(expect, tavrin, xid, "the run")
    expect.equal("scheme after Exit", control.sound_scheme(), ORIGINAL)
    sections = s.read_settings()
    expect.equal("settings.ini after Exit", control.key_names(sections), control.ALL_KEYS)
    expect.equal("autoMuteSys kept", control.section_dict(sections, "main").get("autoMuteSys"), "1")
    expect.check()

    # A run that mutes at start and is killed leaves the sounds blank and the backup behind.
    tavrin, _ = s.start_tavrin()
    faults.wait_scheme(MUTED)
    expect.equal("backup of the run to be killed", backup_when(s, BACKUP), BACKUP)
    faults.kill(tavrin)
    expect.equal("scheme after the kill", control.sound_scheme(), MUTED)
    expect.equal("backup after the kill", control.backup_in(s.read_settings()), BACKUP)
    expect.check()

    # The next run mutes blank sounds, keeps the old backup, and its Exit restores it.
    tavrin, xid = s.start_tavrin()
    expect.equal("backup kept by the next run's mute", backup_when(s, BACKUP), BACKUP)
    faults.exit_from_menu(expect, tavrin, xid, "the next run")
    expect.equal("scheme after the next run's Exit", control.sound_scheme(), ORIGINAL)
    expect.equal("backup after the next run's Exit", control.backup_in(s.read_settings()), None)
    expect.check()


SCALE_DIALOG = [
    "dialog.201.languages=1033 1041",
    "dialog.201.template=1 65535",
    "dialog.201.style=0x00C808C0",
    "dialog.201.exstyle=0x00000000",
    "dialog.201.rect=0 0 160 64",
    "dialog.201.menu=",
    "dialog.201.class=",
    "dialog.201.caption=倍率の入力",
    "dialog.201.font=9 0 0 1 MS Shell Dlg",
    # id | class (#130 static, #129 edit, #128 button) | text | x y cx cy | style | ex style
    "dialog.201.control=-1|#130|倍率 (0.50 - 3.00):|8 12 100 12|0x50020000|0x00000000",
    "dialog.201.control=1001|#129||8 26 64 12|0x50810080|0x00000000",
    "dialog.201.control=1|#128|OK|88 24 32 14|0x50010001|0x00000000",
    "dialog.201.control=2|#128|キャンセル|124 24 32 14|0x50010000|0x00000000",
    "dialog.201.complete=1",
]


def without_texts(lines, prefix):
    """The lines of one resource with every caption and control text left out."""
    kept = []
    for line in lines:
        if not line.startswith(prefix) or ".languages=" in line or ".caption=" in line:
            continue
        if line.startswith("menu.item="):
            line = "|".join(line.split("|")[:3])
        elif ".control=" in line:
            fields = line.split("|")
            line = "|".join(fields[:2] + fields[3:])
        kept.append(line)
    return kept


def test_the_menu_and_dialogs_are_japanese_with_exact_ids_and_styles_and_the_english_ones_differ_only_in_texts(s):
    lines = control.resources(s.tavrin_exe)
    expect = Expectations()
    expect.equal("menu languages", [l for l in lines if l.startswith("menu.102.")],
                 ["menu.102.languages=1033 1041", "menu.102.version=0", "menu.102.complete=1"])
    # depth|id|caption; separators are items with id 0 and no text, flags only mark popups.
    items = [l.removeprefix("menu.item=").split("|") for l in lines if l.startswith("menu.item=")]
    expect.equal("menu items", ["|".join((d, i, c)) for d, i, _, c in items], MENU_ITEMS)
    expect.equal("scale dialog", [l for l in lines if l.startswith("dialog.201.")], SCALE_DIALOG)
    contact = [l for l in lines if l.startswith("dialog.50986.")
               and not l.startswith("dialog.50986.control=")]
    for line in ("dialog.50986.languages=1033 1041", "dialog.50986.caption=連絡先 / Contact",
                 "dialog.50986.complete=1"):
        expect.true(f"{line} in the contact dialog", line in contact)
    # id | class | text | ...; window class names do not depend on case.
    controls = [l.removeprefix("dialog.50986.control=").split("|") for l in lines
                if l.startswith("dialog.50986.control=")]
    expect.equal("contact dialog controls", [c[1].upper() for c in controls],
                 ["#130", "SYSLINK", "#128"])
    if len(controls) == 3:
        expect.equal("static text", controls[0][2], "作者への連絡は以下のリンクから:")
        expect.true(f"a link in {controls[1][2]!r}", "<a" in controls[1][2])
        expect.equal("default button: id, text, BS_DEFPUSHBUTTON",
                     (controls[2][0], controls[2][2], int(controls[2][4], 16) & 0xF), ("1", "閉じる", 1))

    # The English twins: the same ids, order and styles, and every shortcut letter the same.
    # Their texts are what an English session shows, checked there (test_languages).
    english = control.resources(s.tavrin_exe, ENGLISH)
    for what in ("menu.", "dialog.201.", "dialog.50986."):
        expect.equal(f"{what} without its texts", without_texts(english, what), without_texts(lines, what))

    def letters(resource_lines):
        captions = [l.split("|")[3] for l in resource_lines if l.startswith("menu.item=")]
        return [c[c.index("&") + 1].lower() if "&" in c else "" for c in captions]
    expect.equal("shortcut letters", letters(english), letters(lines))
    expect.check()
