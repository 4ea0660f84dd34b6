#pragma once
// An arrangement of keys is data: groups of keys in rows, each key with its code, width, the
// space before it and its fixed label. Building, drawing and looking up keys read these tables
// and know no particular key; another keyboard is one more table.
#include <span>

// What a key does when pressed, which decides its label, its click and its count.
enum class KeyKind : unsigned char {
    Typed,       // types a character: labelled from the keyboard layout, clicks, counts
    TypedFixed,  // types a character but carries a fixed label (Enter, Tab, the keypad)
    Function,    // types nothing (Esc, F1, Backspace, arrows, locks): fixed label, clicks
    Modifier,    // held with other keys (Shift, Ctrl, Alt, Windows): neither clicks nor counts
};

struct KeyEntry {
    int code = 0;                // see key_codes.h
    const wchar_t* label = L"";  // the fixed label, or the fallback of a Typed key
    KeyKind kind = KeyKind::Typed;
    double width = 1;   // in key units: a key and the space after it
    double gap = 0;     // key units of empty space before the key
    double height = 1;  // in rows
    // Characters that light this key when a punctuation key of any code types them.
    const wchar_t* matchedCharacters = L"";
};

// Keys placed left to right from `left` key units, plus `indent` key widths (gaps not
// counted), from the left margin, in the row `row` rows below the first.
struct KeyGroup {
    double row = 0;
    double left = 0;
    double indent = 0;
    std::span<const KeyEntry> keys;
};

struct KeyArrangement {
    std::span<const KeyGroup> groups;  // in build order: row by row, left to right
    // One-character labels ':' and '^' (half or full width) are drawn as the full-width
    // "；" and "：" that a Japanese keycap shows at those places.
    bool fullWidthColons = false;
};

// Today's 46 keys: digits, letters, a few punctuation keys, two Shift keys and Space.
extern const KeyArrangement COMPACT_KEYBOARD;
// The whole keyboard, with function keys, the editing and navigation block, arrows and the
// numeric keypad: a 104-key ANSI keyboard, the same with ISO's extra key beside the left
// Shift, and a 109-key Japanese keyboard.
extern const KeyArrangement FULL_KEYBOARD_ANSI;
extern const KeyArrangement FULL_KEYBOARD_ISO;
extern const KeyArrangement FULL_KEYBOARD_JIS;
