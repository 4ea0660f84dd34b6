// Caps Lock for a window that never has the focus: the raw reports and the thread's key state.
#include "keyboard/caps_lock.h"

#include <gtest/gtest.h>

#include "fake_keyboard_layouts.h"
#include "input/key_report.h"
#include "recording_sound_player.h"

namespace {

// One key event: the raw report at `now`, with the thread's answer `system` at that moment.
void press(CapsLockState& s, bool system, Tick now) {
    noteCapsLockKey(s, false, system, now);
    noteCapsLockKey(s, true, system, now + 60);
}

}  // namespace

TEST(CapsLock, WhereTheThreadsStateStaysBehindTheReportsAloneToggleIt) {
    CapsLockState s;
    startCapsLock(s, false);
    // On Windows the thread's answer never moves for a thread that reads no key messages.
    noteCapsLockKey(s, false, false, 1000);
    EXPECT_TRUE(s.on);
    for (Tick t = 1500; t < 3000; t += 33) noteCapsLockKey(s, false, false, t);  // held: repeats
    EXPECT_TRUE(s.on);
    noteCapsLockKey(s, true, false, 3000);
    EXPECT_TRUE(s.on);
    press(s, false, 4000);
    EXPECT_FALSE(s.on);
    EXPECT_FALSE(noteSystemCapsLock(s, false, 5000));
}

TEST(CapsLock, AnAnswerThatFollowsThePressInEitherOrderCountsItOnce) {
    CapsLockState s;
    startCapsLock(s, false);
    // The answer moves after the report: it confirms the press.
    press(s, false, 1000);
    EXPECT_FALSE(noteSystemCapsLock(s, true, 1016));
    EXPECT_TRUE(s.on);
    // The answer moves before the report is handled: the report is that same press.
    EXPECT_TRUE(noteSystemCapsLock(s, false, 2000));
    EXPECT_FALSE(s.on);
    press(s, false, 2005);
    EXPECT_FALSE(s.on);
    // Two quick taps, the answer a little behind each.
    press(s, false, 3000);
    noteSystemCapsLock(s, true, 3070);
    press(s, true, 3080);
    noteSystemCapsLock(s, false, 3150);
    EXPECT_FALSE(s.on);
}

TEST(CapsLock, AnAnswerThatMovesWithoutTheKeyIsTakenAndLaterPressesStillCount) {
    CapsLockState s;
    startCapsLock(s, true);
    // Turned off by Shift (a setting of Windows), seen when the thread's state is refreshed.
    EXPECT_TRUE(noteSystemCapsLock(s, false, 1000));
    EXPECT_FALSE(s.on);
    press(s, false, 5000);
    EXPECT_TRUE(s.on);
}

TEST(CapsLock, AReportRepaintsEveryLabelWithoutWaitingForTheSystem) {
    const KeyboardLayout layout = keysAtScaleOne();
    AppSettings settings;
    FakeKeyboardQuery query = usLayout();
    RecordingSoundPlayer sound;
    InputState state;
    startInput(state, query, 0);
    InputContext context{layout, settings, query, sound};
    onKeyReport(state, {0x14, 0x3A, false}, 1000, context);
    EXPECT_TRUE(state.labelState.capsLock);
    EXPECT_TRUE(state.fullRedrawPending);
    // A session lock loses the key-up: the next press still counts.
    releaseAllKeys(state, query);
    onKeyReport(state, {0x14, 0x3A, false}, 9000, context);
    EXPECT_FALSE(state.labelState.capsLock);
}
