#include <gtest/gtest.h>

#include <windows.h>

#include "input/sound_player_win32.h"
#include "keyboard/key_labels.h"
#include "keyboard/keyboard_query_win32.h"
#include "tests/unit/compact_canonical_key.h"

// These run with the United States layout that a fresh Wine prefix has.

TEST(Win32KeyboardQuery, LettersFollowShiftAndCapsLock) {
    Win32KeyboardQuery query;
    EXPECT_EQ(query.keyCharacter('Q', false, false), std::optional<wchar_t>(L'q'));
    EXPECT_EQ(query.keyCharacter('Q', true, false), std::optional<wchar_t>(L'Q'));
    EXPECT_EQ(query.keyCharacter('Q', false, true), std::optional<wchar_t>(L'Q'));
    EXPECT_EQ(query.keyCharacter('Z', false, false), std::optional<wchar_t>(L'z'));
}

TEST(Win32KeyboardQuery, DigitRowAndPunctuationKeys) {
    Win32KeyboardQuery query;
    EXPECT_EQ(query.keyCharacter('1', false, false), std::optional<wchar_t>(L'1'));
    EXPECT_EQ(query.keyCharacter('1', true, false), std::optional<wchar_t>(L'!'));
    EXPECT_EQ(query.keyCharacter('0', true, false), std::optional<wchar_t>(L')'));
    EXPECT_EQ(query.keyCharacter(VK_OEM_1, false, false), std::optional<wchar_t>(L';'));
    EXPECT_EQ(query.keyCharacter(VK_OEM_1, true, false), std::optional<wchar_t>(L':'));
    EXPECT_EQ(query.keyCharacter(VK_OEM_MINUS, false, false), std::optional<wchar_t>(L'-'));
    EXPECT_EQ(query.keyCharacter(VK_OEM_PLUS, false, false), std::optional<wchar_t>(L'='));
    EXPECT_EQ(query.keyCharacter(VK_OEM_2, true, false), std::optional<wchar_t>(L'?'));
    EXPECT_EQ(query.keyCharacter(VK_SPACE, false, false), std::optional<wchar_t>(L' '));
}

TEST(Win32KeyboardQuery, KeysWithoutACharacterAndCodesOutOfRange) {
    Win32KeyboardQuery query;
    EXPECT_EQ(query.keyCharacter(VK_F1, false, false), std::nullopt);
    EXPECT_EQ(query.keyCharacter(VK_LSHIFT, false, false), std::nullopt);
    EXPECT_EQ(query.keyCharacter(0, false, false), std::nullopt);
    EXPECT_EQ(query.keyCharacter(256, false, false), std::nullopt);
    EXPECT_EQ(query.keyCharacter(-1, false, false), std::nullopt);
}

// Asking for a character must not leave anything behind that changes the next answer.
TEST(Win32KeyboardQuery, AQueryLeavesTheNextOneUnchanged) {
    Win32KeyboardQuery query;
    for (int vk : {VK_OEM_7, VK_OEM_3, VK_OEM_6, int{'E'}}) {
        const std::optional<wchar_t> first = query.keyCharacter(vk, false, false);
        EXPECT_EQ(query.keyCharacter(vk, false, false), first) << vk;
        EXPECT_EQ(query.keyCharacter('E', false, false), std::optional<wchar_t>(L'e')) << vk;
    }
}

TEST(Win32KeyboardQuery, LabelsAndMappingOnTheRealLayout) {
    Win32KeyboardQuery query;
    EXPECT_EQ(keyLabel('Q', L"Q", false, query), L"q");
    EXPECT_EQ(keyLabel(VK_LSHIFT, L"Shift", false, query), L"Shift");
    EXPECT_EQ(compactCanonicalKey(0x0D, VK_OEM_PLUS, false, query), VK_OEM_MINUS);
    EXPECT_EQ(compactCanonicalKey(0x27, VK_OEM_1, true, query), VK_OEM_7);
}

// The full keyboard names keys by where they sit and asks the layout which virtual key each
// place gives; a report without a make code goes the other way.
TEST(Win32KeyboardQuery, PlacesAndVirtualKeysOfTheRealLayout) {
    Win32KeyboardQuery query;
    EXPECT_EQ(query.virtualKeyOf(0x1E), 'A');
    EXPECT_EQ(query.virtualKeyOf(0x02), '1');
    EXPECT_EQ(query.virtualKeyOf(0x1A), VK_OEM_4);
    EXPECT_EQ(query.virtualKeyOf(0x39), VK_SPACE);
    EXPECT_EQ(query.virtualKeyOf(0x2A), VK_LSHIFT);
    EXPECT_EQ(query.virtualKeyOf(0), 0);
    EXPECT_EQ(query.virtualKeyOf(0x1E1E), 0);  // neither plain nor E0
    EXPECT_EQ(query.scanCodeOf('A'), 0x1E);
    EXPECT_EQ(query.scanCodeOf(VK_RETURN), 0x1C);
    EXPECT_EQ(query.scanCodeOf(0), 0);
    EXPECT_EQ(query.scanCodeOf(300), 0);
    const KeyCap q{physicalKey(0x10), {}, {L'Q'}};
    EXPECT_EQ(keyCapLabel(q, true, query), L"Q");
}

TEST(Win32SoundPlayer, AMissingFileIsSilentAndReturns) {
    Win32SoundPlayer player;
    player.play(L"no-such-click.wav");
}
