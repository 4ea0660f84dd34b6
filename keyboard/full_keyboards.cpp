// The full keyboards: a 104-key ANSI keyboard, the same with ISO's extra key beside the left
// Shift, and a 109-key Japanese keyboard. Keys are named by their make codes (see
// key_codes.h); the main block is 15 units wide, the editing and navigation block stands a
// quarter unit right of it, the numeric keypad a quarter unit further, and the function keys
// a quarter row above the digits.
#include <array>

#include "keyboard/key_arrangement.h"
#include "keyboard/key_codes.h"

namespace {

// A key that types a character labelled from the layout, with the US legend as fallback.
constexpr KeyEntry typed(int make, const wchar_t* label, double width = 1) {
    return {physicalKey(make), label, KeyKind::Typed, width};
}
constexpr KeyEntry typedFixed(int code, const wchar_t* label, double width = 1, double gap = 0, double height = 1) {
    return {code, label, KeyKind::TypedFixed, width, gap, height};
}
constexpr KeyEntry function(int code, const wchar_t* label, double width = 1, double gap = 0) {
    return {code, label, KeyKind::Function, width, gap};
}
constexpr KeyEntry modifier(int code, const wchar_t* label, double width = 1) {
    return {code, label, KeyKind::Modifier, width};
}

constexpr double NAVIGATION_LEFT = 15.25;
constexpr double KEYPAD_LEFT = 18.5;
constexpr double ROW_1 = 1.25;  // the digits, a quarter row below the function keys

// ------------------------------------------------------------------ shared by every arrangement

constexpr KeyEntry ESCAPE[] = {function(physicalKey(0x01), L"Esc")};
constexpr KeyEntry F1_F4[] = {function(physicalKey(0x3B), L"F1"), function(physicalKey(0x3C), L"F2"),
                             function(physicalKey(0x3D), L"F3"), function(physicalKey(0x3E), L"F4")};
constexpr KeyEntry F5_F8[] = {function(physicalKey(0x3F), L"F5"), function(physicalKey(0x40), L"F6"),
                             function(physicalKey(0x41), L"F7"), function(physicalKey(0x42), L"F8")};
constexpr KeyEntry F9_F12[] = {function(physicalKey(0x43), L"F9"), function(physicalKey(0x44), L"F10"),
                              function(physicalKey(0x57), L"F11"), function(physicalKey(0x58), L"F12")};
constexpr KeyEntry SYSTEM_KEYS[] = {function(extendedKey(0x37), L"PrtSc"), function(physicalKey(0x46), L"ScrLk"),
                                   function(PAUSE_KEY, L"Pause")};

constexpr KeyEntry EDITING_KEYS[] = {function(extendedKey(0x52), L"Ins"), function(extendedKey(0x47), L"Home"),
                                    function(extendedKey(0x49), L"PgUp")};
constexpr KeyEntry DELETING_KEYS[] = {function(extendedKey(0x53), L"Del"), function(extendedKey(0x4F), L"End"),
                                     function(extendedKey(0x51), L"PgDn")};
constexpr KeyEntry ARROW_UP[] = {function(extendedKey(0x48), L"\u2191")};
constexpr KeyEntry ARROWS[] = {function(extendedKey(0x4B), L"\u2190"), function(extendedKey(0x50), L"\u2193"),
                              function(extendedKey(0x4D), L"\u2192")};

// The keypad's digits and point keep their places with Num Lock on and off.
constexpr KeyEntry KEYPAD_1[] = {function(physicalKey(0x45), L"Num"), typedFixed(extendedKey(0x35), L"/"),
                                typedFixed(physicalKey(0x37), L"*"), typedFixed(physicalKey(0x4A), L"-")};
constexpr KeyEntry KEYPAD_2[] = {typedFixed(physicalKey(0x47), L"7"), typedFixed(physicalKey(0x48), L"8"),
                                typedFixed(physicalKey(0x49), L"9"), typedFixed(physicalKey(0x4E), L"+", 1, 0, 2)};
constexpr KeyEntry KEYPAD_3[] = {typedFixed(physicalKey(0x4B), L"4"), typedFixed(physicalKey(0x4C), L"5"),
                                typedFixed(physicalKey(0x4D), L"6")};
constexpr KeyEntry KEYPAD_4[] = {typedFixed(physicalKey(0x4F), L"1"), typedFixed(physicalKey(0x50), L"2"),
                                typedFixed(physicalKey(0x51), L"3"), typedFixed(extendedKey(0x1C), L"Enter", 1, 0, 2)};
constexpr KeyEntry KEYPAD_5[] = {typedFixed(physicalKey(0x52), L"0", 2), typedFixed(physicalKey(0x53), L".")};

constexpr KeyEntry TOP_LETTERS[] = {typed(0x10, L"Q"), typed(0x11, L"W"), typed(0x12, L"E"), typed(0x13, L"R"),
                                   typed(0x14, L"T"), typed(0x15, L"Y"), typed(0x16, L"U"), typed(0x17, L"I"),
                                   typed(0x18, L"O"), typed(0x19, L"P")};

// What tells the keyboards apart: the main block's keys around the letters.
struct MainBlock {
    std::span<const KeyEntry> digits;        // the digit row, Backspace included
    std::span<const KeyEntry> topRight;      // right of P
    std::span<const KeyEntry> home;          // the home row from Caps Lock
    std::span<const KeyEntry> leftShift;     // left of Z
    std::span<const KeyEntry> rightOfSlash;  // right of "/"
    std::span<const KeyEntry> bottom;        // the bottom row
};

constexpr double LOWER_LETTERS_LEFT = 2.25;
constexpr double RIGHT_OF_SLASH = 12.25;
constexpr KeyEntry TAB[] = {typedFixed(physicalKey(0x0F), L"Tab", 1.5)};
constexpr KeyEntry LOWER_LETTERS[] = {typed(0x2C, L"Z"), typed(0x2D, L"X"), typed(0x2E, L"C"), typed(0x2F, L"V"),
                                     typed(0x30, L"B"), typed(0x31, L"N"), typed(0x32, L"M"), typed(0x33, L","),
                                     typed(0x34, L"."), typed(0x35, L"/")};

constexpr int GROUP_COUNT = 23;

// The main block with the function keys above it, the editing and navigation block and the
// arrows right of it, and the keypad, row by row and left to right.
constexpr std::array<KeyGroup, GROUP_COUNT> aroundMainBlock(const MainBlock& main) {
    return {{
        {0, 0, 0, ESCAPE}, {0, 2, 0, F1_F4}, {0, 6.5, 0, F5_F8}, {0, 11, 0, F9_F12},
        {0, NAVIGATION_LEFT, 0, SYSTEM_KEYS},
        {ROW_1, 0, 0, main.digits}, {ROW_1, NAVIGATION_LEFT, 0, EDITING_KEYS}, {ROW_1, KEYPAD_LEFT, 0, KEYPAD_1},
        {ROW_1 + 1, 0, 0, TAB}, {ROW_1 + 1, 1.5, 0, TOP_LETTERS}, {ROW_1 + 1, 11.5, 0, main.topRight},
        {ROW_1 + 1, NAVIGATION_LEFT, 0, DELETING_KEYS}, {ROW_1 + 1, KEYPAD_LEFT, 0, KEYPAD_2},
        {ROW_1 + 2, 0, 0, main.home}, {ROW_1 + 2, KEYPAD_LEFT, 0, KEYPAD_3},
        {ROW_1 + 3, 0, 0, main.leftShift}, {ROW_1 + 3, LOWER_LETTERS_LEFT, 0, LOWER_LETTERS},
        {ROW_1 + 3, RIGHT_OF_SLASH, 0, main.rightOfSlash}, {ROW_1 + 3, NAVIGATION_LEFT + 1, 0, ARROW_UP},
        {ROW_1 + 3, KEYPAD_LEFT, 0, KEYPAD_4},
        {ROW_1 + 4, 0, 0, main.bottom}, {ROW_1 + 4, NAVIGATION_LEFT, 0, ARROWS}, {ROW_1 + 4, KEYPAD_LEFT, 0, KEYPAD_5},
    }};
}

// ------------------------------------------------------------------ ANSI and ISO

constexpr KeyEntry ANSI_DIGITS[] = {
    typed(0x29, L"`"), typed(0x02, L"1"), typed(0x03, L"2"), typed(0x04, L"3"), typed(0x05, L"4"),
    typed(0x06, L"5"), typed(0x07, L"6"), typed(0x08, L"7"), typed(0x09, L"8"), typed(0x0A, L"9"),
    typed(0x0B, L"0"), typed(0x0C, L"-"), typed(0x0D, L"="), function(physicalKey(0x0E), L"Backspace", 2)};

constexpr KeyEntry ANSI_TOP_RIGHT[] = {typed(0x1A, L"["), typed(0x1B, L"]"), typed(0x2B, L"\\", 1.5)};

constexpr KeyEntry ANSI_HOME[] = {
    function(physicalKey(0x3A), L"Caps", 1.75),
    typed(0x1E, L"A"), typed(0x1F, L"S"), typed(0x20, L"D"), typed(0x21, L"F"), typed(0x22, L"G"),
    typed(0x23, L"H"), typed(0x24, L"J"), typed(0x25, L"K"), typed(0x26, L"L"), typed(0x27, L";"),
    typed(0x28, L"'"), typedFixed(physicalKey(0x1C), L"Enter", 2.25)};

constexpr KeyEntry ANSI_LEFT_SHIFT[] = {modifier(physicalKey(0x2A), L"Shift", 2.25)};
// ISO's extra key stands between a shorter left Shift and Z.
constexpr KeyEntry ISO_LEFT_SHIFT[] = {modifier(physicalKey(0x2A), L"Shift", 1.25), typed(0x56, L"\\")};
constexpr KeyEntry ANSI_RIGHT_SHIFT[] = {modifier(physicalKey(0x36), L"Shift", 2.75)};

constexpr KeyEntry ANSI_BOTTOM[] = {
    modifier(physicalKey(0x1D), L"Ctrl", 1.25), modifier(extendedKey(0x5B), L"Win", 1.25),
    modifier(physicalKey(0x38), L"Alt", 1.25),  typed(0x39, L"Space", 6.25),
    modifier(extendedKey(0x38), L"Alt", 1.25),  modifier(extendedKey(0x5C), L"Win", 1.25),
    function(extendedKey(0x5D), L"Menu", 1.25), modifier(extendedKey(0x1D), L"Ctrl", 1.25)};

constexpr auto ANSI_GROUPS =
    aroundMainBlock({ANSI_DIGITS, ANSI_TOP_RIGHT, ANSI_HOME, ANSI_LEFT_SHIFT, ANSI_RIGHT_SHIFT, ANSI_BOTTOM});
constexpr auto ISO_GROUPS =
    aroundMainBlock({ANSI_DIGITS, ANSI_TOP_RIGHT, ANSI_HOME, ISO_LEFT_SHIFT, ANSI_RIGHT_SHIFT, ANSI_BOTTOM});



// ------------------------------------------------------------------ Japanese (109 keys)

constexpr KeyEntry JIS_DIGITS[] = {
    function(physicalKey(0x29), L"\u534A/\u5168"),  // 半/全
    typed(0x02, L"1"), typed(0x03, L"2"), typed(0x04, L"3"), typed(0x05, L"4"), typed(0x06, L"5"),
    typed(0x07, L"6"), typed(0x08, L"7"), typed(0x09, L"8"), typed(0x0A, L"9"), typed(0x0B, L"0"),
    typed(0x0C, L"-"), typed(0x0D, L"^"), typed(0x7D, L"\u00A5"), function(physicalKey(0x0E), L"BS")};

// Enter spans the top and home rows, right of "[" and "]".
constexpr KeyEntry JIS_TOP_RIGHT[] = {typed(0x1A, L"@"), typed(0x1B, L"["),
                                     typedFixed(physicalKey(0x1C), L"Enter", 1.25, 0.25, 2)};

constexpr KeyEntry JIS_HOME[] = {
    function(physicalKey(0x3A), L"\u82F1\u6570", 1.75),  // 英数, Caps Lock with Shift
    typed(0x1E, L"A"), typed(0x1F, L"S"), typed(0x20, L"D"), typed(0x21, L"F"), typed(0x22, L"G"),
    typed(0x23, L"H"), typed(0x24, L"J"), typed(0x25, L"K"), typed(0x26, L"L"), typed(0x27, L";"),
    typed(0x28, L":"), typed(0x2B, L"]")};

constexpr KeyEntry JIS_RIGHT_OF_SLASH[] = {typed(0x73, L"\\"), modifier(physicalKey(0x36), L"Shift", 1.75)};

constexpr KeyEntry JIS_BOTTOM[] = {
    modifier(physicalKey(0x1D), L"Ctrl", 1.25), modifier(extendedKey(0x5B), L"Win"),
    modifier(physicalKey(0x38), L"Alt"),
    function(physicalKey(0x7B), L"\u7121\u5909\u63DB"),  // 無変換
    typed(0x39, L"Space", 4.5),
    function(physicalKey(0x79), L"\u5909\u63DB"),  // 変換
    function(physicalKey(0x70), L"\u304B\u306A"),  // かな
    modifier(extendedKey(0x38), L"Alt"), modifier(extendedKey(0x5C), L"Win"), function(extendedKey(0x5D), L"Menu"),
    modifier(extendedKey(0x1D), L"Ctrl", 1.25)};

constexpr auto JIS_GROUPS =
    aroundMainBlock({JIS_DIGITS, JIS_TOP_RIGHT, JIS_HOME, ANSI_LEFT_SHIFT, JIS_RIGHT_OF_SLASH, JIS_BOTTOM});

}  // namespace

constinit const KeyArrangement FULL_KEYBOARD_ANSI{ANSI_GROUPS};
constinit const KeyArrangement FULL_KEYBOARD_ISO{ISO_GROUPS};
constinit const KeyArrangement FULL_KEYBOARD_JIS{JIS_GROUPS};
