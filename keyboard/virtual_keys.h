#pragma once
// The platform's virtual-key codes that the keyboard model names, spelt out so that the
// portable code needs no platform header.

constexpr int VK_CANCEL_CODE = 0x03;  // Ctrl+Pause (Break)
constexpr int VK_CLEAR_CODE = 0x0C;   // the keypad's 5 without Num Lock
constexpr int VK_SHIFT_GENERIC = 0x10;
constexpr int VK_CONTROL_GENERIC = 0x11;
constexpr int VK_MENU_GENERIC = 0x12;  // Alt
constexpr int VK_PAUSE_CODE = 0x13;
constexpr int VK_CAPITAL_CODE = 0x14;
constexpr int VK_SPACE_CODE = 0x20;
constexpr int VK_PRIOR_CODE = 0x21;     // Page Up: the first of the navigation keys
constexpr int VK_DOWN_CODE = 0x28;      // the last of them, after End, Home and the arrows
constexpr int VK_SNAPSHOT_CODE = 0x2C;  // Print Screen
constexpr int VK_INSERT_CODE = 0x2D;
constexpr int VK_DELETE_CODE = 0x2E;
constexpr int VK_NUMLOCK_CODE = 0x90;
constexpr int VK_LSHIFT_CODE = 0xA0;
constexpr int VK_RSHIFT_CODE = 0xA1;
constexpr int VK_LCONTROL_CODE = 0xA2;
constexpr int VK_RCONTROL_CODE = 0xA3;
constexpr int VK_LMENU_CODE = 0xA4;
constexpr int VK_RMENU_CODE = 0xA5;
constexpr int VK_OEM_1_CODE = 0xBA;       // the ";" key
constexpr int VK_OEM_COMMA_CODE = 0xBC;
constexpr int VK_OEM_MINUS_CODE = 0xBD;   // the prolonged-sound-mark key
constexpr int VK_OEM_PERIOD_CODE = 0xBE;
constexpr int VK_OEM_2_CODE = 0xBF;       // the "/" key
constexpr int VK_OEM_3_CODE = 0xC0;       // the "@" key
constexpr int VK_OEM_7_CODE = 0xDE;       // the ":" key
constexpr int VK_OEM_FIRST_PUNCTUATION = 0xBA;
constexpr int VK_OEM_LAST_PUNCTUATION = 0xE2;
constexpr int VK_PROCESSKEY_CODE = 0xE5;  // what an input method reports for a key it takes
// A report of no key: the second half of Pause's sequence, the fake Shifts around the grey keys.
constexpr int VK_NO_KEY_CODE = 0xFF;

// Make codes of the two Shift keys, which tell them apart when a report says only VK_SHIFT.
constexpr int MAKE_CODE_LEFT_SHIFT = 0x2A;
constexpr int MAKE_CODE_RIGHT_SHIFT = 0x36;
