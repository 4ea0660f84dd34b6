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
        layout = keysAtScaleOne();
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

namespace {

// Ticks every 16 ms from `from`, painting whatever a tick invalidates, until the tick may
// rest; returns the time of that tick.
Tick tickUntilRest(FrameTickTest& t, Tick from, bool shown = true) {
    for (Tick now = from; now < from + 120000; now += 16) {
        if (t.tick(now).invalidateSpeedPanel && shown) t.state.meter.notePainted(true, now);
        if (frameTickRest(t.state, now, shown) != 0) return now;
    }
    ADD_FAILURE() << "the tick never rests";
    return 0;
}

}  // namespace

TEST_F(FrameTickTest, TheTickRestsOnlyOnceATapHasLeftTheKeysAndThePanel) {
    tickUntilRest(*this, 1000);
    report('A', false, 5000);
    EXPECT_EQ(frameTickRest(state, 5000, true), 0u);
    report('A', true, 5040);
    const Tick restAt = tickUntilRest(*this, 5008);
    // The press leaves the panel's last second just after 6000; the panel shows 0 from the
    // first tick after that on.
    EXPECT_GT(restAt, 6000u);
    EXPECT_LE(restAt, 6016u);
    EXPECT_FALSE(state.keys.litShown['A']);
    EXPECT_EQ(state.meter.shownCount, 0);
    // Resting lands just past the next whole second, where the labels are looked at again.
    const Tick rest = frameTickRest(state, restAt, true);
    EXPECT_GT(restAt + rest, 7000u);
    EXPECT_LE(restAt + rest, 7016u + 16u);
}

TEST_F(FrameTickTest, AHeldKeyOrAPanelStillToBePaintedKeepsTheTickGoing) {
    tickUntilRest(*this, 1000);
    report(0xA0, false, 3000, 0x2A);  // Shift: lights, counts nothing
    for (Tick now = 3016; now < 9000; now += 16) {
        tick(now);
        ASSERT_EQ(frameTickRest(state, now, true), 0u) << now;
    }
    report(0xA0, true, 9000, 0x2A);
    tickUntilRest(*this, 9016);

    // A panel invalidated but not yet painted shows old figures.
    report('B', false, 20000);
    report('B', true, 20010);
    for (Tick now = 20016; now < 21500; now += 16) tick(now);
    EXPECT_TRUE(state.meter.refreshPending);
    EXPECT_EQ(frameTickRest(state, 21500, true), 0u);
    // Hidden, the window shows nothing to bring up to date: it is repainted whole when shown.
    EXPECT_GT(frameTickRest(state, 21500, false), 0u);
}

TEST_F(FrameTickTest, AReportOfAKeyNotShownStillKeepsTheLabelsWatchedAWhile) {
    tickUntilRest(*this, 1000);
    report(0x14, false, 4000);  // Caps Lock: its new state may show a moment after the report
    report(0x14, true, 4020);
    EXPECT_EQ(frameTickRest(state, 4200, true), 0u);
    query.capsLock = true;
    EXPECT_TRUE(tick(4280).invalidateAll);
    const Tick restAt = tickUntilRest(*this, 4296);
    EXPECT_GE(restAt, 4300u);
    EXPECT_LT(restAt, 4400u);
}

TEST_F(FrameTickTest, ARestingTickStillFindsALayoutChosenWithTheMouse) {
    const Tick restAt = tickUntilRest(*this, 2000);
    query.layout = 0x04070407;
    const Tick next = restAt + frameTickRest(state, restAt, true);
    EXPECT_EQ(next / 1000, restAt / 1000 + 1);
    EXPECT_TRUE(tick(next).invalidateAll);
}
