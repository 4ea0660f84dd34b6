#include <gtest/gtest.h>

#include <algorithm>

#include "fake_keyboard_layouts.h"
#include "fake_physical_key_state.h"
#include "input/frame_tick.h"
#include "keyboard/layout_metrics.h"
#include "recording_sound_player.h"

namespace {

struct FrameTickTest : ::testing::Test {
    FrameTickTest() {
        LayoutMetrics m;
        updateMetrics(m, 1.0);
        buildLayout(layout, m, 1.0);
        startInput(state, query, 0);
    }
    void report(int vk, bool keyUp, Tick now, int makeCode = 0) {
        InputContext context{layout, settings, query, sound};
        onKeyReport(state, {vk, makeCode, keyUp}, now, context);
    }
    const FrameTickEffects& tick(Tick now) {
        FrameTickContext context{layout, query, physical};
        onFrameTick(state, context, now, effects);
        return effects;
    }
    Rect area(int vk) const { return findKey(layout, vk)->rect.inflated(KEY_INVALIDATE_MARGIN, KEY_INVALIDATE_MARGIN); }
    long timesInvalidated(int vk) const { return std::count(effects.keyAreas.begin(), effects.keyAreas.end(), area(vk)); }

    KeyboardLayout layout;
    AppSettings settings;
    FakeKeyboardQuery query = usLayout();
    RecordingSoundPlayer sound;
    FakePhysicalKeyState physical;
    InputState state;
    FrameTickEffects effects;
};

}  // namespace

TEST_F(FrameTickTest, ATapStaysLitFor140MsThenIsRepaintedOnceMore) {
    tick(992);
    EXPECT_TRUE(effects.keyAreas.empty());

    report('A', false, 1000);
    report('A', true, 1030);
    EXPECT_EQ(tick(1008).keyAreas, (std::vector<Rect>{area('A'), area('A')}));  // changed, then lit
    Tick now = 1024;
    for (; now < 1140; now += 16) {
        tick(now);
        EXPECT_EQ(effects.keyAreas, std::vector<Rect>{area('A')}) << now;
    }
    EXPECT_EQ(tick(now).keyAreas, std::vector<Rect>{area('A')});  // first tick after: the normal look
    EXPECT_FALSE(state.keys.litShown['A']);
    EXPECT_TRUE(tick(now + 16).keyAreas.empty());
}

TEST_F(FrameTickTest, ALateTickEndsTheLitLookByTheClock) {
    report('B', false, 5000);
    report('B', true, 5010);
    tick(5010);
    EXPECT_EQ(tick(5600).keyAreas, std::vector<Rect>{area('B')});
    EXPECT_FALSE(state.keys.litShown['B']);
}

TEST_F(FrameTickTest, AHeldKeyIsRepaintedOnEveryTick) {
    report('C', false, 2000);
    for (Tick now = 2016; now < 4000; now += 16) {
        tick(now);
        EXPECT_GE(timesInvalidated('C'), 1) << now;
    }
    report('C', true, 4000);
    tick(4016);
    EXPECT_EQ(timesInvalidated('C'), 1);  // drawn unlit once
    tick(4032);
    EXPECT_EQ(timesInvalidated('C'), 0);
}

TEST_F(FrameTickTest, AFullRedrawSkipsTheLitPassesUntilTheNextTick) {
    report('D', false, 3000);
    report(0x10, false, 3005, 0x2A);
    ASSERT_TRUE(state.fullRedrawPending);

    tick(3010);
    EXPECT_TRUE(effects.invalidateAll);
    EXPECT_TRUE(effects.keyAreas.empty());
    EXPECT_FALSE(state.fullRedrawPending);
    EXPECT_FALSE(state.keys.litShown['D']);

    tick(3026);
    EXPECT_FALSE(effects.invalidateAll);
    EXPECT_EQ(timesInvalidated('D'), 2);
    EXPECT_EQ(timesInvalidated(0xA0), 2);
    EXPECT_TRUE(state.keys.litShown['D']);
    EXPECT_EQ(effects.keyAreas.size(), 4u);
}

TEST_F(FrameTickTest, TheSpeedPanelFollowsTheMeter) {
    EXPECT_TRUE(tick(7000).invalidateSpeedPanel);
    state.meter.notePainted(true, 7000);
    EXPECT_FALSE(tick(7016).invalidateSpeedPanel);
    report('E', false, 7020);
    EXPECT_TRUE(tick(7032).invalidateSpeedPanel);
}

TEST_F(FrameTickTest, CapsLockOrALayoutSwitchRepaintsEveryLabelOnTheNextTick) {
    tick(2000);
    query.capsLock = true;
    report(0x14, false, 2010);  // the Caps Lock key: not on the keyboard, yet it changes labels
    EXPECT_TRUE(tick(2016).invalidateAll);
    EXPECT_FALSE(tick(2032).invalidateAll);

    // A layout chosen with the mouse comes with no key: the once-a-second look finds it.
    tick(2500);
    query.layout = 0x04070407;
    EXPECT_FALSE(tick(2516).invalidateAll);
    EXPECT_TRUE(tick(3000).invalidateAll);
}

TEST_F(FrameTickTest, TheSystemShiftStateIsPickedUpOnTheTick) {
    tick(2000);
    report('Q', false, 2005);
    tick(2016);
    query.systemShift = true;  // Shift held where no report of it came
    EXPECT_TRUE(tick(2032).invalidateAll);
    EXPECT_TRUE(state.labelShift);
}
