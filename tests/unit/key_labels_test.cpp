#include <gtest/gtest.h>

#include "compact_canonical_key.h"
#include "fake_keyboard_layouts.h"
#include "keyboard/key_labels.h"

TEST(CanonicalKey, TellsTheShiftKeysApartByMakeCode) {
    FakeKeyboardQuery us = usLayout();
    EXPECT_EQ(compactCanonicalKey(0x2A, 0x10, false, us), 0xA0);
    EXPECT_EQ(compactCanonicalKey(0x36, 0x10, false, us), 0xA1);
    EXPECT_EQ(compactCanonicalKey(0x00, 0x10, false, us), 0x10);
    // A report that already names a side keeps it, whatever the make code.
    EXPECT_EQ(compactCanonicalKey(0x00, 0xA1, false, us), 0xA1);
}

TEST(CanonicalKey, MatchesPunctuationByTheCharacterTyped) {
    FakeKeyboardQuery us = usLayout();
    FakeKeyboardQuery jis = jisLayout();

    // '=' lights the prolonged-sound-mark key, from whichever key types it.
    EXPECT_EQ(compactCanonicalKey(0x0D, 0xBB, false, us), 0xBD);
    EXPECT_EQ(compactCanonicalKey(0x0C, 0xBD, true, jis), 0xBD);

    // US ';' key: ";" normally, ":" while labels are shifted.
    EXPECT_EQ(compactCanonicalKey(0x27, 0xBA, false, us), 0xBA);
    EXPECT_EQ(compactCanonicalKey(0x27, 0xBA, true, us), 0xDE);
    // JIS: ':' and '*' share 0xBA, ';' and '+' are on 0xBB.
    EXPECT_EQ(compactCanonicalKey(0x28, 0xBA, false, jis), 0xDE);
    EXPECT_EQ(compactCanonicalKey(0x28, 0xBA, true, jis), 0xDE);
    EXPECT_EQ(compactCanonicalKey(0x27, 0xBB, false, jis), 0xBA);
    EXPECT_EQ(compactCanonicalKey(0x27, 0xBB, true, jis), 0xBA);

    // JIS '@' key and US '`' key both light "@".
    EXPECT_EQ(compactCanonicalKey(0x1A, 0xC0, false, jis), 0xC0);
    EXPECT_EQ(compactCanonicalKey(0x29, 0xC0, false, us), 0xC0);

    EXPECT_EQ(compactCanonicalKey(0x39, 0x20, false, us), 0x20);
}

TEST(CanonicalKey, KeepsTheCodeWhenTheCharacterHasNoKey) {
    FakeKeyboardQuery us = usLayout();
    FakeKeyboardQuery jis = jisLayout();
    EXPECT_EQ(compactCanonicalKey(0x0D, 0xDE, false, jis), 0xDE);  // '^': still the ":" key
    EXPECT_EQ(compactCanonicalKey(0x1A, 0xDB, false, us), 0xDB);   // '[': nothing displayed
    EXPECT_EQ(compactCanonicalKey(0x73, 0xE2, false, jis), 0xE2);  // '\\'
    EXPECT_EQ(compactCanonicalKey(0x00, 0xE5, false, jis), 0xE5);  // taken by the input method

    FakeKeyboardQuery dead = usLayout();
    dead.deadKeys.insert(0xDE);
    EXPECT_EQ(compactCanonicalKey(0x28, 0xDE, false, dead), 0xDE);
}

TEST(CanonicalKey, NeverRemapsLettersDigitsOrUnshownKeys) {
    FakeKeyboardQuery odd = usLayout();
    odd.keys['Q'] = {L'@', L'`'};
    odd.keys['1'] = {L'=', L'+'};
    odd.keys[0x0D] = {L';', L':'};
    odd.characterQueries = 0;
    EXPECT_EQ(compactCanonicalKey(0x10, 'Q', false, odd), 'Q');
    EXPECT_EQ(compactCanonicalKey(0x02, '1', true, odd), '1');
    EXPECT_EQ(compactCanonicalKey(0x1C, 0x0D, false, odd), 0x0D);
    EXPECT_EQ(compactCanonicalKey(0x00, 0x1FF, false, odd), 0x1FF);
    EXPECT_EQ(odd.characterQueries, 0);
}

TEST(KeyLabel, ShowsTheLayoutsCharacterForTheLabelState) {
    FakeKeyboardQuery us = usLayout();
    EXPECT_EQ(keyLabel('Q', L"Q", false, us), L"q");
    EXPECT_EQ(keyLabel('Q', L"Q", true, us), L"Q");
    us.capsLock = true;
    EXPECT_EQ(keyLabel('Q', L"Q", false, us), L"Q");
    EXPECT_EQ(keyLabel('1', L"1", true, us), L"!");

    FakeKeyboardQuery jis = jisLayout();
    EXPECT_EQ(keyLabel(0xDE, L":", false, jis), L"^");
    EXPECT_EQ(keyLabel(0xBD, L"\u30FC", true, jis), L"=");
}

TEST(KeyLabel, ShiftAndSpaceKeepTheirNamesWhateverTheLayout) {
    FakeKeyboardQuery us = usLayout();
    EXPECT_EQ(keyLabel(0xA0, L"x", false, us), L"Shift");
    EXPECT_EQ(keyLabel(0xA1, L"x", true, us), L"Shift");
    EXPECT_EQ(keyLabel(0x20, L"x", false, us), L"Space");
}

TEST(KeyLabel, FallsBackToTheFixedLabelWithoutACharacter) {
    FakeKeyboardQuery us = usLayout();
    us.keys.erase(0xBD);
    EXPECT_EQ(keyLabel(0xBD, L"\u30FC", false, us), L"\u30FC");
    // JIS Shift+0 types nothing.
    FakeKeyboardQuery jis = jisLayout();
    EXPECT_EQ(keyLabel('0', L"0", true, jis), L"0");

    us.deadKeys.insert(0xDE);
    EXPECT_EQ(keyLabel(0xDE, L":", false, us), L":");
    EXPECT_EQ(keyLabel(0xDE, L"0123456789abcdefghij", false, us), L"0123456789abcde");
    EXPECT_EQ(keyLabel(0xDE, nullptr, false, us), L"");
}

TEST(IsShiftDown, EitherHeldShiftKeyOrTheSystemsShift) {
    FakeKeyboardQuery us = usLayout();
    KeyStateTable keys;
    EXPECT_FALSE(isShiftDown(keys, us));
    keys.held[0xA1] = true;
    EXPECT_TRUE(isShiftDown(keys, us));
    keys.held[0xA1] = false;
    keys.held[0xA0] = true;
    EXPECT_TRUE(isShiftDown(keys, us));
    keys.held[0xA0] = false;
    keys.held[0x10] = true;  // the generic code is never what the table means by Shift
    EXPECT_FALSE(isShiftDown(keys, us));
    us.systemShift = true;
    EXPECT_TRUE(isShiftDown(keys, us));
}
