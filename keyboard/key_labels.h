#pragma once
// The text on each key, the Shift state labels follow, and the on-screen key a raw report
// stands for, all asked of the user's keyboard layout through KeyboardQuery.
#include <cstdint>
#include <string>

#include "input/key_state.h"
#include "keyboard/keyboard_layout.h"
#include "keyboard/keyboard_query.h"
#include "keyboard/virtual_keys.h"

// What the labels show besides Shift: a change of either repaints every key.
struct LabelState {
    bool capsLock = false;
    std::uintptr_t layout = 0;
    friend bool operator==(const LabelState&, const LabelState&) = default;
};

// The layout the labels and the key mapping should use now: that of the program being typed
// into, whose thread the foreground window belongs to, and not this program's own (which, with
// a layout per application, is the one it started with). While this program's menu or dialog
// is in front, or nothing is (the lock screen, a desktop switch), the layout in use stays.
std::uintptr_t layoutToFollow(const ForegroundKeyboard& foreground, std::uintptr_t inUse);

// Points the query at the layout to follow; true when that is another layout.
bool followForegroundLayout(KeyboardQuery& query);

// The codes of the Shift keys, in every arrangement.
bool isShiftKey(int code);

// Either Shift key held by the key table, else the system's own Shift state.
bool isShiftDown(const KeyStateTable& keys, KeyboardQuery& query);

// The text drawn on the key `vk` (at most 15 characters), with `fixedLabel` as the fallback.
std::wstring keyLabel(int vk, const wchar_t* fixedLabel, bool labelShift, KeyboardQuery& query);

// The text drawn on `key`: a key that types a character shows the character the layout gives
// it, as keyLabel does; every other key its fixed label. A key named by where it sits is asked
// of the layout by the virtual key the layout gives that place.
std::wstring keyCapLabel(const KeyCap& key, bool labelShift, KeyboardQuery& query);

// The code of the on-screen key of `layout` that a report of (`makeCode`, `vk`) lights by its
// virtual-key code, or for punctuation by the character it types; `vk` when no key matches.
int canonicalKey(int makeCode, int vk, bool labelShift, KeyboardQuery& query, const KeyboardLayout& layout);
