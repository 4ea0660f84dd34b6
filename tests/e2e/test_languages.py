"""The menu, the dialogs and the contact box speak the language of the session: Japanese in a
Japanese one, English in any other. Wine, like Windows, picks the resources of the user's
language and falls back on English."""
import control_support as control
from control_support import MORE_ABOUT, MORE_MENU
from harness import Expectations, focus_window, wait_for_window, wait_window_gone
from menu_texts import ENGLISH_CAPTIONS, ENGLISH_SCALE_TEXTS, MENU_ITEMS

ENGLISH_CONTACT = ("Contact", "How to reach the author\\n\\nThe Tavrin project\\n\\n"
                   "    The Issues page of the Tavrin repository\\n\\nCopy the line above to use it.")
JAPANESE_CONTACT = ("連絡先 / Contact", "作者の連絡先メールアドレス\\n\\nTavrin の開発チーム (The Tavrin project)\\n\\n"
                    "    Tavrin のリポジトリの課題 (Issues) ページ\\n\\n上記をコピーしてお使いください。")


def chosen(s):
    """(menu captions, (contact caption, contact text)) as the program loads them now."""
    lines = control.chosen_resources(s.tavrin_exe)
    captions = [fields[2] for kind, fields in lines if kind == "chosen.item"]
    strings = {int(fields[0]): fields[1] for kind, fields in lines if kind == "chosen.string"}
    return captions, (strings.get(300), strings.get(301))


def texts_of(s, title):
    """{"caption": ..., control id: text} of the top-level window with this title."""
    texts = {}
    for key, value in s.tool_lines("texts", title):
        if key == "caption":
            texts["caption"] = value
        elif key == "child":
            control_id, _, text = value.split("|", 2)
            texts[int(control_id) if int(control_id) < 0x8000 else int(control_id) - 0x10000] = text
    return texts


def test_a_japanese_session_loads_todays_japanese_and_any_other_english(s):
    expect = Expectations()
    for language, captions, contact in (("ja_JP.UTF-8", [l.split("|")[2] for l in MENU_ITEMS], JAPANESE_CONTACT),
                                        ("en_US.UTF-8", ENGLISH_CAPTIONS, ENGLISH_CONTACT),
                                        ("C.UTF-8", ENGLISH_CAPTIONS, ENGLISH_CONTACT)):
        s.use_wine(language=language)
        expect.equal(f"menu and contact texts under LANG={language}", chosen(s), (captions, contact))
    expect.check()


def test_in_an_english_session_the_scale_dialog_and_the_contact_box_are_english(s):
    s.use_wine(language="en_US.UTF-8")
    _, target_xid = s.start_target()
    focus_window(target_xid)
    _, xid = control.start_below_tray(s)
    left, top = control.START_POSITION
    expect = Expectations()

    title = ENGLISH_SCALE_TEXTS["caption"]
    control.open_scale_dialog(xid, title)
    shown = texts_of(s, title)
    expect.equal("scale dialog texts", {k: v for k, v in shown.items() if k != 1001},
                 {k: v for k, v in ENGLISH_SCALE_TEXTS.items() if k != 1001})
    control.enter_scale(xid, "1.5", title, opened=True)
    control.wait_geometry(xid, (left, top, 1398, 474))

    control.choose(xid, MORE_MENU, MORE_ABOUT)
    caption, text = ENGLISH_CONTACT
    box = wait_for_window(caption, timeout=control.MENU_TIMEOUT)
    shown = texts_of(s, caption)
    expect.true(f"the contact text among {shown}", text in shown.values())
    focus_window(box)
    control._keys("Return")
    wait_window_gone(caption, timeout=control.MENU_TIMEOUT)
    expect.check()
