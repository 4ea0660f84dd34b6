// Raw keyboard reports to keys of the full keyboard, as Windows sends them.
#include <gtest/gtest.h>

#include "fake_keyboard_layouts.h"
#include "keyboard/key_mapping.h"
#include "keyboard/keyboard_layout.h"
#include "keyboard/virtual_keys.h"

namespace {

struct KeyMapping : ::testing::Test {
    // The code of the key the report lights, or NO_KEY.
    int fullKey(int vkey, int makeCode, bool extended = false) {
        return codeOf(keyForReport({vkey, makeCode, extended}, full, false, us));
    }
    int compactKey(int vkey, int makeCode, bool extended = false) {
        return codeOf(keyForReport({vkey, makeCode, extended}, compact, false, us));
    }
    static int codeOf(const KeyCap* key) { return key ? key->vk : NO_KEY; }

    KeyboardLayout full = keysAtScaleOne(FULL_KEYBOARD_ANSI);
    KeyboardLayout compact = keysAtScaleOne();
    FakeKeyboardQuery us = usLayout();
};

}  // namespace

TEST_F(KeyMapping, EnterAndTheKeypadsEnterAndTheGreyKeysAndTheKeypadsAreApart) {
    EXPECT_EQ(fullKey(0x0D, 0x1C), physicalKey(0x1C));
    EXPECT_EQ(fullKey(0x0D, 0x1C, true), extendedKey(0x1C));
    EXPECT_EQ(fullKey(0xBF, 0x35), physicalKey(0x35));        // '/'
    EXPECT_EQ(fullKey(0x6F, 0x35, true), extendedKey(0x35));  // the keypad's '/'
    // The grey arrow, and the keypad's 4 without Num Lock (reported as an arrow) and with it.
    EXPECT_EQ(fullKey(0x25, 0x4B, true), extendedKey(0x4B));
    EXPECT_EQ(fullKey(0x25, 0x4B), physicalKey(0x4B));
    EXPECT_EQ(fullKey(0x64, 0x4B), physicalKey(0x4B));
    // Delete and the keypad's point, which without Num Lock reports Delete; the keypad's 5
    // without Num Lock reports Clear.
    EXPECT_EQ(fullKey(0x2E, 0x53, true), extendedKey(0x53));
    EXPECT_EQ(fullKey(0x2E, 0x53), physicalKey(0x53));
    EXPECT_EQ(fullKey(0x6E, 0x53), physicalKey(0x53));
    EXPECT_EQ(fullKey(0x0C, 0x4C), physicalKey(0x4C));
    EXPECT_EQ(fullKey(0x65, 0x4C), physicalKey(0x4C));
}

TEST_F(KeyMapping, KeysSentAsSequencesAreNamedByTheirVirtualKeys) {
    // Pause comes as E1 1D 45: a report of make code 1D (or 45, as Wine sends it) with
    // VK_PAUSE, and one of 45 with no virtual key; Ctrl+Pause as E0 46 with VK_CANCEL.
    EXPECT_EQ(fullKey(VK_PAUSE_CODE, 0x1D), PAUSE_KEY);
    EXPECT_EQ(fullKey(VK_PAUSE_CODE, 0x45), PAUSE_KEY);
    EXPECT_EQ(fullKey(VK_NO_KEY_CODE, 0x45), NO_KEY);
    EXPECT_EQ(fullKey(VK_CANCEL_CODE, 0x46, true), PAUSE_KEY);
    // Num Lock comes with E0 from some keyboards (and from Wine), without it from others.
    EXPECT_EQ(fullKey(VK_NUMLOCK_CODE, 0x45), physicalKey(0x45));
    EXPECT_EQ(fullKey(VK_NUMLOCK_CODE, 0x45, true), physicalKey(0x45));
    // Print Screen is E0 37, and 54 with Alt held.
    EXPECT_EQ(fullKey(VK_SNAPSHOT_CODE, 0x37, true), extendedKey(0x37));
    EXPECT_EQ(fullKey(VK_SNAPSHOT_CODE, 0x54), extendedKey(0x37));
    EXPECT_EQ(fullKey(0x6A, 0x37), physicalKey(0x37));  // and the keypad's '*' stays itself
}

TEST_F(KeyMapping, AReportWithoutAMakeCodeFindsItsKeyThroughTheLayout) {
    EXPECT_EQ(fullKey('A', 0), physicalKey(0x1E));
    EXPECT_EQ(fullKey(VK_RCONTROL_CODE, 0), extendedKey(0x1D));
    EXPECT_EQ(fullKey(0x0D, 0), physicalKey(0x1C));  // the main Enter, which the layout names first
    EXPECT_EQ(fullKey(0xE7, 0), NO_KEY);  // a character sent as a packet
    EXPECT_EQ(fullKey(0, 0), NO_KEY);
}

TEST_F(KeyMapping, TheCompactKeyboardStillMatchesByVirtualKeyAndCharacter) {
    EXPECT_EQ(compactKey('A', 0x1E), 'A');
    EXPECT_EQ(compactKey(VK_SHIFT_GENERIC, 0x36), VK_RSHIFT_CODE);
    EXPECT_EQ(compactKey(0xBB, 0x0D), VK_OEM_MINUS_CODE);  // US '=' lights the "ー" key
    // Enter and an arrow: keys the keyboard does not show.
    EXPECT_EQ(compactKey(0x0D, 0x1C), NO_KEY);
    EXPECT_EQ(compactKey(0x0D, 0x1C, true), NO_KEY);
    EXPECT_EQ(compactKey(0x25, 0x4B, true), NO_KEY);
}

TEST_F(KeyMapping, ANonsenseVirtualKeyNeverPassesForAKeyNamedByItsPlace) {
    for (int vkey : {physicalKey(0x1E), extendedKey(0x1C), 0x1FF, 0x10000, -1}) {
        EXPECT_EQ(fullKey(vkey, 0), NO_KEY) << vkey;
        EXPECT_EQ(compactKey(vkey, 0), NO_KEY) << vkey;
    }
}
