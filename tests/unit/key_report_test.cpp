#include <gtest/gtest.h>

#include "fake_keyboard_layouts.h"
#include "input/key_report.h"
#include "keyboard/layout_metrics.h"
#include "recording_sound_player.h"

namespace {

constexpr int VK_A = 'A';
constexpr Rect A_AREA{62 - 8, 134 - 8, 110 + 8, 182 + 8};

struct KeyReportTest : ::testing::Test {
    KeyReportTest() {
        layout = keysAtScaleOne();
        settings.soundOn = true;
    }

    std::optional<Rect> down(int vk, Tick now, int makeCode = 0) { return report({vk, makeCode, false}, now); }
    std::optional<Rect> up(int vk, Tick now, int makeCode = 0) { return report({vk, makeCode, true}, now); }
    std::optional<Rect> report(KeyReport r, Tick now) {
        InputContext context{layout, settings, query, sound};
        return onKeyReport(state, r, now, context);
    }
    bool stateUntouched() const {
        const InputState fresh;
        return state.keys.held == fresh.keys.held && state.keys.everPressed == fresh.keys.everPressed &&
               state.keys.lastPress == fresh.keys.lastPress && state.meter.pressTimes.empty() &&
               !state.labelShift && !state.fullRedrawPending;
    }

    KeyboardLayout layout;
    AppSettings settings;
    FakeKeyboardQuery query = usLayout();
    RecordingSoundPlayer sound;
    InputState state;
};

}  // namespace

TEST_F(KeyReportTest, PressAndReleaseLightAndCountTheKeyOnce) {
    EXPECT_EQ(down(VK_A, 5000), A_AREA);
    EXPECT_TRUE(state.keys.isHeld(VK_A));
    EXPECT_EQ(up(VK_A, 5030), A_AREA);
    EXPECT_FALSE(state.keys.isHeld(VK_A));
    EXPECT_EQ(state.keys.lastPressTick(VK_A), 5000u);
    EXPECT_EQ(sound.played, std::vector<std::wstring>{L"click1.wav"});
    EXPECT_EQ(state.meter.pressTimes, std::deque<Tick>{5000});

    // Released after 30 ms, still lit until 140 ms after the press.
    EXPECT_TRUE(state.keys.isLit(VK_A, 5139));
    EXPECT_FALSE(state.keys.isLit(VK_A, 5140));
}

TEST_F(KeyReportTest, EveryAutoRepeatClicksCountsAndRenewsThePress) {
    Tick t = 1000;
    down(VK_A, t);
    for (int i = 0; i < 30; ++i) down(VK_A, t += 40);
    EXPECT_EQ(sound.played.size(), 31u);
    EXPECT_EQ(state.meter.pressTimes.size(), 31u);
    EXPECT_EQ(state.keys.lastPressTick(VK_A), t);
    EXPECT_TRUE(state.keys.isLit(VK_A, t + 5000));  // held: lit however long

    up(VK_A, t + 10);
    EXPECT_FALSE(state.keys.isHeld(VK_A));
    EXPECT_FALSE(state.keys.isLit(VK_A, t + 140));
}

TEST_F(KeyReportTest, ShiftLightsItsSideRedrawsEverythingAndNeverCounts) {
    EXPECT_EQ(down(0x10, 2000, 0x2A), std::nullopt);
    EXPECT_TRUE(state.keys.isHeld(0xA0));
    EXPECT_EQ(state.keys.lastPressTick(0xA0), 2000u);
    EXPECT_TRUE(state.labelShift);
    EXPECT_TRUE(state.fullRedrawPending);
    EXPECT_TRUE(sound.played.empty());
    EXPECT_TRUE(state.meter.pressTimes.empty());

    // The next key is asked for its character shifted: the US ';' key types ':'.
    state.fullRedrawPending = false;
    EXPECT_EQ(down(0xBA, 2100), findKey(layout, 0xDE)->rect.inflated(KEY_INVALIDATE_MARGIN, KEY_INVALIDATE_MARGIN));
    EXPECT_TRUE(state.keys.isHeld(0xDE));
    EXPECT_FALSE(state.keys.isHeld(0xBA));
    EXPECT_FALSE(state.fullRedrawPending);

    // The right Shift keeps the state shifted, so only its own key is repainted.
    EXPECT_EQ(down(0x10, 2200, 0x36), findKey(layout, 0xA1)->rect.inflated(KEY_INVALIDATE_MARGIN, KEY_INVALIDATE_MARGIN));
    EXPECT_EQ(up(0x10, 2300, 0x2A), findKey(layout, 0xA0)->rect.inflated(KEY_INVALIDATE_MARGIN, KEY_INVALIDATE_MARGIN));
    EXPECT_EQ(up(0x10, 2400, 0x36), std::nullopt);
    EXPECT_FALSE(state.labelShift);
    EXPECT_TRUE(state.fullRedrawPending);
    EXPECT_EQ(sound.played.size(), 1u);
}

TEST_F(KeyReportTest, KeysNotDisplayedChangeNothing) {
    for (int vk : {0x0D, 0x08, 0x70, 0x11, 0x12, 0xDB, 0x10, 0x1FF, 0x10000, -1, -0xA0}) {
        EXPECT_EQ(down(vk, 3000), std::nullopt) << vk;
        EXPECT_EQ(up(vk, 3010), std::nullopt) << vk;
    }
    query.systemShift = true;  // would change the labels if anything got that far
    EXPECT_EQ(down(0x10, 3020, 0x1D), std::nullopt);
    EXPECT_TRUE(stateUntouched());
    EXPECT_TRUE(sound.played.empty());
}

TEST_F(KeyReportTest, KeyUpOfANeverPressedKeyOnlyRepaintsIt) {
    EXPECT_EQ(up(VK_A, 4000), A_AREA);
    EXPECT_TRUE(stateUntouched());
    EXPECT_FALSE(state.keys.isLit(VK_A, 4000));
    EXPECT_EQ(state.keys.lastPressTick(VK_A), 0u);
}

TEST_F(KeyReportTest, AKeyTheKeyboardDoesNotShowChangesNothing) {
    layout.clear();
    EXPECT_EQ(down(VK_A, 6000), std::nullopt);
    EXPECT_TRUE(stateUntouched());
    EXPECT_TRUE(sound.played.empty());
}

TEST_F(KeyReportTest, ClickFollowsTheChosenSoundForEveryCountedPress) {
    settings.soundSel = 2;
    for (Tick t = 0; t < 100; t += 10) down(VK_A, 7000 + t);
    down(0x10, 7100, 0x2A);
    down(0x20, 7110);
    up(0x20, 7120);
    EXPECT_EQ(sound.played, std::vector<std::wstring>(11, L"click2.wav"));

    sound.played.clear();
    settings.soundSel = 7;
    down('7', 7200);
    EXPECT_EQ(sound.played, std::vector<std::wstring>{L"click3.wav"});

    sound.played.clear();
    settings.soundOn = false;
    down('8', 7300);
    EXPECT_TRUE(sound.played.empty());
    EXPECT_EQ(state.meter.pressTimes.size(), 13u);  // silence still counts
}

TEST_F(KeyReportTest, AFloodOfReportsKeepsOnlyTheLastMinuteOfPresses) {
    for (Tick i = 0; i < 100000; ++i) down(VK_A, 1000 + i);
    EXPECT_EQ(state.meter.pressTimes.size(), 60001u);
    EXPECT_EQ(state.meter.pressTimes.front(), 1000 + 99999 - 60000);
}
