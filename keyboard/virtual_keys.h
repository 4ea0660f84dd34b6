#pragma once
// The platform's virtual-key codes that the keyboard model names, spelt out so that the
// portable code needs no platform header.

constexpr int VK_SHIFT_GENERIC = 0x10;
constexpr int VK_CAPITAL_CODE = 0x14;
constexpr int VK_SPACE_CODE = 0x20;
constexpr int VK_LSHIFT_CODE = 0xA0;
constexpr int VK_RSHIFT_CODE = 0xA1;
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

// Make codes of the two Shift keys, which tell them apart when a report says only VK_SHIFT.
constexpr int MAKE_CODE_LEFT_SHIFT = 0x2A;
constexpr int MAKE_CODE_RIGHT_SHIFT = 0x36;
