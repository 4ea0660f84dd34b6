// The compact keyboard: 46 keys in five rows, a Japanese-style arrangement (the prolonged
// sound mark beside 0, "@" right of P, ";" and ":" right of L). Keys are named by their
// virtual-key codes; a punctuation key of another layout lights the key whose legend shows
// the character it types.
#include "keyboard/key_arrangement.h"
#include "keyboard/virtual_keys.h"

namespace {

constexpr KeyEntry DIGITS[] = {
    {'1', L"1"}, {'2', L"2"}, {'3', L"3"}, {'4', L"4"}, {'5', L"5"}, {'6', L"6"}, {'7', L"7"}, {'8', L"8"},
    {'9', L"9"}, {'0', L"0"},
    // The prolonged sound mark, also in its half-width form, and the minus and equals signs.
    {VK_OEM_MINUS_CODE, L"\u30FC", KeyKind::Typed, 1, 0, 1, L"-=\u30FC\uFF70"},
};

constexpr KeyEntry UPPER_LETTERS[] = {
    {'Q', L"Q"}, {'W', L"W"}, {'E', L"E"}, {'R', L"R"}, {'T', L"T"}, {'Y', L"Y"}, {'U', L"U"}, {'I', L"I"},
    {'O', L"O"}, {'P', L"P"},
    {VK_OEM_3_CODE, L"@", KeyKind::Typed, 1, 0, 1, L"@`"},
};

constexpr KeyEntry HOME_ROW[] = {
    {'A', L"A"}, {'S', L"S"}, {'D', L"D"}, {'F', L"F"}, {'G', L"G"}, {'H', L"H"}, {'J', L"J"}, {'K', L"K"}, {'L', L"L"},
    {VK_OEM_1_CODE, L";", KeyKind::Typed, 1, 0, 1, L"+;"},
    {VK_OEM_7_CODE, L":", KeyKind::Typed, 1, 0, 1, L"*:"},
};

// The left Shift is two units wide and ends where a third one-unit key would begin.
constexpr KeyEntry LOWER_LETTERS[] = {
    {VK_LSHIFT_CODE, L"Shift", KeyKind::Modifier, 2},
    {'Z', L"Z"}, {'X', L"X"}, {'C', L"C"}, {'V', L"V"}, {'B', L"B"}, {'N', L"N"}, {'M', L"M"},
    {VK_OEM_COMMA_CODE, L",", KeyKind::Typed, 1, 0, 1, L",<"},
    {VK_OEM_PERIOD_CODE, L".", KeyKind::Typed, 1, 0, 1, L".>"},
    {VK_OEM_2_CODE, L"/", KeyKind::Typed, 1, 0, 1, L"/?"},
    {VK_RSHIFT_CODE, L"Shift", KeyKind::Modifier, 2},
};

constexpr KeyEntry SPACE_ROW[] = {
    {VK_SPACE_CODE, L"Space", KeyKind::Typed, 7, 0, 1, L" "},
};

// Each row is indented by whole or half key widths, without the gaps between keys: the
// letter rows by half a key and a key, the Space bar by two.
constexpr KeyGroup GROUPS[] = {
    {0, 0, 0, DIGITS},
    {1, 0, 0.5, UPPER_LETTERS},
    {2, 0, 1, HOME_ROW},
    {3, 0, 0, LOWER_LETTERS},
    {4, 0, 2, SPACE_ROW},
};

}  // namespace

constinit const KeyArrangement COMPACT_KEYBOARD{GROUPS, true};
