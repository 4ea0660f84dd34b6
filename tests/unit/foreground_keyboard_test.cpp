// Labels and key mapping follow the keyboard layout of the program being typed into, not the
// one this program's own thread started with.
#include <gtest/gtest.h>

#include "fake_keyboard_layouts.h"
#include "fake_physical_key_state.h"
#include "input/frame_tick.h"
#include "input/key_report.h"
#include "keyboard/key_labels.h"
#include "recording_sound_player.h"

namespace {

constexpr int VK_OEM_PLUS = 0xBB;  // '=' on a US keyboard, '+' on a German one

struct ForegroundKeyboardTest : ::testing::Test {
    ForegroundKeyboardTest() {
        layout = keysAtScaleOne();
        us = desktop.install(usLayout());
        german = desktop.install(germanLayout());
        japanese = desktop.install(jisLayout());
        desktop.inUse = japanese;  // this program's own thread
        desktop.foreground = {german, false};
        startInput(state, desktop, 0);
    }
    // The on-screen key a press of `vk` lights.
    int lit(int vk, Tick now) {
        InputContext context{layout, settings, desktop, sound};
        const std::optional<Rect> area = onKeyReport(state, {vk, 0, false}, now, context);
        onKeyReport(state, {vk, 0, true}, now + 10, context);
        for (const KeyCap& key : layout)
            if (area && key.rect.inflated(KEY_INVALIDATE_MARGIN, KEY_INVALIDATE_MARGIN) == *area) return key.vk;
        return 0;
    }
    std::wstring label(int vk) { return keyLabel(vk, L"?", false, desktop); }
    const FrameTickEffects& tick(Tick now) {
        FrameTickContext context{layout, desktop, physical};
        onFrameTick(state, context, now, effects);
        return effects;
    }

    KeyboardLayout layout;
    AppSettings settings;
    FakeDesktop desktop;
    RecordingSoundPlayer sound;
    FakePhysicalKeyState physical;
    InputState state;
    FrameTickEffects effects;
    std::uintptr_t us = 0, german = 0, japanese = 0;
};

}  // namespace

TEST_F(ForegroundKeyboardTest, FromTheStartLabelsAndKeysAreThoseOfTheProgramInFront) {
    EXPECT_EQ(desktop.inUse, german);
    EXPECT_EQ(state.labelState.layout, german);
    EXPECT_EQ(label(0xBA), L"\u00FC");
    EXPECT_EQ(lit(VK_OEM_PLUS, 1000), 0xBA);  // '+' lights the ";" key, which also shows '+'
}

TEST_F(ForegroundKeyboardTest, AnotherProgramComingToTheFrontBringsItsLayoutAtOnce) {
    desktop.foreground = {us, false};
    onForegroundChange(state, desktop, 2000);
    EXPECT_TRUE(state.fullRedrawPending);
    EXPECT_EQ(label(0xBA), L";");
    // The first key typed into it, before any tick, is mapped with its layout.
    EXPECT_EQ(lit(VK_OEM_PLUS, 2001), 0xBD);  // '=' lights the "ー" key
    EXPECT_TRUE(tick(2016).invalidateAll);
}

TEST_F(ForegroundKeyboardTest, ThisProgramsMenuOrNothingInFrontKeepsTheLayoutInUse) {
    desktop.foreground = {japanese, true};  // the menu opened from the tray icon
    onForegroundChange(state, desktop, 2000);
    EXPECT_EQ(desktop.inUse, german);
    desktop.foreground = {0, false};  // the lock screen
    onForegroundChange(state, desktop, 3000);
    EXPECT_EQ(desktop.inUse, german);
    EXPECT_FALSE(state.fullRedrawPending);
}

TEST_F(ForegroundKeyboardTest, ALayoutSwitchedInsideTheProgramShowsOnTheTicksAfterAKey) {
    tick(1000);
    // Alt+Shift in the program typed into: its thread has another layout from now on, and
    // the switch arrives as key reports.
    desktop.foreground = {us, false};
    lit(0x12, 1005);
    EXPECT_TRUE(tick(1016).invalidateAll);
    EXPECT_EQ(label(0xBA), L";");
    // One chosen with the mouse is found by the once-a-second look.
    desktop.foreground = {german, false};
    EXPECT_FALSE(tick(1500).invalidateAll);
    EXPECT_TRUE(tick(2000).invalidateAll);
    EXPECT_EQ(label(0xBA), L"\u00FC");
}
