#pragma once
// The codes that name the keys of the on-screen keyboards, and by which the key state is kept.
//
// The compact keyboard names each key by its virtual-key code (0..255): a report lights it by
// its code or, for punctuation, by the character it types. The full keyboards name each key by
// where it sits on the keyboard: its make code with or without the E0 prefix, offset past the
// virtual-key codes. That tells apart what one virtual-key code leaves together, the two Ctrl
// keys, the two Enter keys, an arrow and the keypad key under it, whatever the layout and Num
// Lock make of them.

// No key: a report that lights nothing.
constexpr int NO_KEY = 0;

constexpr int PHYSICAL_KEY_BASE = 0x100;
constexpr int EXTENDED_KEY_BASE = 0x200;
// Every code, virtual or physical, lies below this.
constexpr int KEY_CODE_COUNT = 0x300;

// The key of a make code, without and with the E0 prefix.
constexpr int physicalKey(int makeCode) { return PHYSICAL_KEY_BASE + (makeCode & 0xFF); }
constexpr int extendedKey(int makeCode) { return EXTENDED_KEY_BASE + (makeCode & 0xFF); }

// Pause has no make code of its own: the keyboard sends E1 1D 45, Left Ctrl's and Num Lock's
// make codes behind an E1. It takes the name of an E0 key 45, which is no other key: Num Lock,
// sent as 45 with or without E0, is told by its virtual key (key_mapping.cpp), as Pause is.
constexpr int PAUSE_KEY = extendedKey(0x45);

constexpr bool isPhysicalKey(int code) { return code >= PHYSICAL_KEY_BASE && code < KEY_CODE_COUNT; }

// The scan code of a physical key as the platform's layout queries write it: 0xE0 in the high
// byte for an E0 key.
constexpr int scanCodeOfKey(int code) {
    return code >= EXTENDED_KEY_BASE ? 0xE000 | (code - EXTENDED_KEY_BASE) : code - PHYSICAL_KEY_BASE;
}

// The physical key of a scan code written that way; NO_KEY for 0 or a code out of range.
constexpr int keyOfScanCode(int scanCode) {
    const int make = scanCode & 0xFF;
    if (make == 0 || make == 0xFF) return NO_KEY;
    if ((scanCode & 0xFF00) == 0) return physicalKey(make);
    return (scanCode & 0xFF00) == 0xE000 ? extendedKey(make) : NO_KEY;
}
