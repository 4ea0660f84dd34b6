// The layout query keeps its answers; a kept answer must be the one a fresh query gives, for
// every key, Shift and Caps Lock state, whatever order they are asked in.
#include <gtest/gtest.h>

#include <windows.h>

#include "keyboard/keyboard_query_win32.h"

TEST(Win32KeyboardQueryAnswers, KeptAnswersMatchFreshOnesInEveryState) {
    Win32KeyboardQuery kept;
    for (int round = 0; round < 2; ++round) {
        for (int vk = 1; vk < 256; ++vk) {
            for (int state = 3; state >= 0; --state) {
                const bool shift = (state & 2) != 0;
                const bool capsLock = (state & 1) != 0;
                Win32KeyboardQuery fresh;
                EXPECT_EQ(kept.keyCharacter(vk, shift, capsLock), fresh.keyCharacter(vk, shift, capsLock))
                    << "vk " << vk << " shift " << shift << " caps " << capsLock << " round " << round;
            }
        }
    }
    EXPECT_EQ(kept.keyCharacter('Q', true, false), std::optional<wchar_t>(L'Q'));
    EXPECT_EQ(kept.keyCharacter('Q', false, false), std::optional<wchar_t>(L'q'));
    EXPECT_EQ(kept.keyCharacter('Q', true, true), std::optional<wchar_t>(L'q'));
}
