#pragma once
// Which arrangement of keys the window shows.
#include "keyboard/key_arrangement.h"
#include "keyboard/keyboard_query.h"

// The compact keys unless the setting `layout` asks for the full keyboard. That one is the
// Japanese keyboard when the system's keyboard is Japanese; otherwise the ANSI keyboard, with
// ISO's extra key when the layout in use has one.
const KeyArrangement& arrangementFor(int layout, KeyboardQuery& query);

// Every layout gives the key beside the left Shift (ISO's extra key) a character, the US one
// too, which types there what its backslash key types. A layout has that key when it types
// something there that the key above Enter (ANSI's backslash key) does not.
bool layoutHasIsoKey(KeyboardQuery& query);
