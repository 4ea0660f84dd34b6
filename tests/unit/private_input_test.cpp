// While the focus is in a password field nothing typed lights, clicks or counts; while it
// waits for its verdict nothing shows yet, and nothing typed is lost once it is judged
// no password field.
#include <gtest/gtest.h>

#include <deque>
#include <tuple>

#include "fake_focus_source.h"
#include "fake_keyboard_layouts.h"
#include "fake_physical_key_state.h"
#include "input/focus_privacy.h"
#include "input/frame_tick.h"
#include "keyboard/layout_metrics.h"
#include "recording_sound_player.h"

namespace {

constexpr int SHIFT = 0x10;
constexpr int LSHIFT_MAKE = 0x2A;
constexpr int TAB = 0x09;

struct PrivateInputTest : ::testing::Test {
    PrivateInputTest() {
        layout = keysAtScaleOne();
        settings.soundOn = true;
        startInput(state, query, 0);
    }
    std::optional<Rect> report(int vk, bool keyUp, int makeCode = 0) {
        now += 30;
        return onKeyReport(state, {vk, makeCode, keyUp}, now, context);
    }
    void type(const char* letters) {
        for (const char* c = letters; *c; ++c) {
            report(*c, false);
            report(*c, true);
        }
    }
    void settle() { settlePrivacy(state, now, context); }
    void enterPasswordField() {
        desktop.passwordField();
        settle();
    }
    void enterPlainField() {
        desktop.plainField();
        settle();
    }
    // A field that shows nothing of itself: asked about, and waiting for the answer.
    FocusRequest enterFieldToAsk() {
        const FocusRequest asked = desktop.fieldToAsk();
        settle();
        return asked;
    }
    void answer(const FocusRequest& asked, FocusAnswer answer) {
        desktop.answer(asked, answer);
        settle();
    }
    bool anyKeyLit(Tick at) const {
        for (const KeyCap& key : layout)
            if (state.keys.isLit(key.vk, at)) return true;
        return false;
    }
    void tick() {
        FakePhysicalKeyState physical;
        FrameTickEffects effects;
        FrameTickContext tickContext{layout, query, physical};
        onFrameTick(state, tickContext, now, effects);
    }

    KeyboardLayout layout;
    AppSettings settings;
    FakeKeyboardQuery query = usLayout();
    RecordingSoundPlayer sound;
    InputContext context{layout, settings, query, sound};
    InputState state;
    Tick now = 10000;
    FakeFocusSource desktop{state.focus, now};
};

}  // namespace

TEST_F(PrivateInputTest, TypingInAPasswordFieldLightsClicksAndCountsNothing) {
    enterPasswordField();
    EXPECT_TRUE(state.fullRedrawPending);
    state.fullRedrawPending = false;
    report(SHIFT, false, LSHIFT_MAKE);  // for a capital
    type("SECRET");
    report(SHIFT, true, LSHIFT_MAKE);
    EXPECT_FALSE(anyKeyLit(now));
    EXPECT_FALSE(state.labelShift);
    EXPECT_FALSE(state.fullRedrawPending);
    EXPECT_TRUE(sound.played.empty());
    EXPECT_TRUE(state.meter.pressTimes.empty());
    EXPECT_EQ(state.keys.lastPressTick('S'), 0u);

    enterPlainField();
    type("OK");
    EXPECT_TRUE(state.keys.isLit('K', now));
    EXPECT_EQ(sound.played.size(), 2u);
    EXPECT_EQ(state.meter.pressTimes.size(), 2u);
}

TEST_F(PrivateInputTest, AKeyHeldWhenTheFocusEntersAPasswordFieldGoesOutAsIfReleased) {
    report('A', false, 0x1E);
    report(SHIFT, false, LSHIFT_MAKE);
    ASSERT_TRUE(state.labelShift);
    const Tick pressed = now;
    enterPasswordField();
    EXPECT_FALSE(state.keys.isHeld('A'));
    EXPECT_FALSE(state.keys.isHeld(0xA0));
    EXPECT_FALSE(state.labelShift);
    EXPECT_FALSE(state.keys.isLit('A', pressed + LIT_HOLD_MS));  // a tap's look, no longer
    // Its key-up inside the field, and the system's own Shift, change nothing shown.
    query.systemShift = true;
    report('A', true, 0x1E);
    now += 16;
    tick();
    EXPECT_FALSE(state.labelShift);
}

TEST_F(PrivateInputTest, AKeyPressedInTheFieldAndReleasedOutsideIsNeverShown) {
    enterPasswordField();
    report('P', false, 0x19);
    enterPlainField();
    EXPECT_FALSE(state.keys.isLit('P', now));
    report('P', true, 0x19);
    EXPECT_FALSE(state.keys.isLit('P', now));
    EXPECT_TRUE(sound.played.empty());
}

TEST_F(PrivateInputTest, KeysTypedWhileAFieldWaitsForItsVerdictShowWithTheirOwnTimesOnceItIsNoPassword) {
    const FocusRequest asked = enterFieldToAsk();
    report('H', false, 0x23);
    const Tick hPressed = now;
    report('H', true, 0x23);
    report('I', false, 0x17);  // still down when the verdict comes
    const Tick iPressed = now;
    EXPECT_FALSE(anyKeyLit(now));
    EXPECT_TRUE(state.meter.pressTimes.empty());
    EXPECT_TRUE(sound.played.empty());

    now += 200;
    answer(asked, FocusAnswer::NotPassword);
    EXPECT_TRUE(state.keys.isLit('I', now));
    EXPECT_FALSE(state.keys.isLit('H', now)) << "a tap long over is counted, not lit";
    EXPECT_EQ(state.keys.lastPressTick('H'), hPressed);
    EXPECT_EQ(state.meter.pressTimes, (std::deque<Tick>{hPressed, iPressed}));
    EXPECT_EQ(sound.played.size(), 0u) << "presses too old to light make no late clicks";
    report('I', true, 0x17);
    EXPECT_FALSE(state.keys.isHeld('I'));
}

TEST_F(PrivateInputTest, KeysTypedWhileAFieldWaitsForItsVerdictAreDroppedWhenItIsAPasswordField) {
    report('A', false, 0x1E);  // held from before, and let go inside the field
    const FocusRequest asked = enterFieldToAsk();
    EXPECT_TRUE(state.keys.isHeld('A')) << "nothing is let go before the verdict";
    report('A', true, 0x1E);
    type("PW");
    answer(asked, FocusAnswer::Password);
    EXPECT_FALSE(state.keys.isHeld('A'));
    EXPECT_EQ(state.keys.lastPressTick('P'), 0u);
    EXPECT_EQ(state.meter.pressTimes.size(), 1u);  // the A typed before
    // And once the focus leaves, nothing of it comes back.
    enterPlainField();
    EXPECT_EQ(state.keys.lastPressTick('W'), 0u);
}

TEST_F(PrivateInputTest, AHeldShiftStaysLitAcrossATabIntoAFieldThatIsAskedAbout) {
    report(SHIFT, false, LSHIFT_MAKE);
    report(TAB, false, 0x0F);
    const FocusRequest asked = enterFieldToAsk();
    report(TAB, true, 0x0F);
    report('X', false, 0x2D);
    report('X', true, 0x2D);
    now += 16;
    tick();
    EXPECT_TRUE(state.keys.isHeld(0xA0));
    EXPECT_TRUE(state.labelShift);
    answer(asked, FocusAnswer::NotPassword);
    EXPECT_TRUE(state.keys.isHeld(0xA0));
    EXPECT_TRUE(state.labelShift);
    EXPECT_EQ(state.meter.pressTimes.size(), 1u);
    report(SHIFT, true, LSHIFT_MAKE);
    EXPECT_FALSE(state.labelShift);
}

TEST_F(PrivateInputTest, AShiftPressedWhileTheVerdictIsOutChangesNoLabelUntilItIsIn) {
    const FocusRequest asked = enterFieldToAsk();
    query.systemShift = true;
    report(SHIFT, false, LSHIFT_MAKE);
    now += 16;
    tick();
    EXPECT_FALSE(state.labelShift);
    answer(asked, FocusAnswer::NotPassword);
    EXPECT_TRUE(state.labelShift);
}

TEST_F(PrivateInputTest, KeysTypedJustAfterTabIntoAPasswordFieldNeverShow) {
    enterPlainField();
    report(TAB, false, 0x0F);
    report(TAB, true, 0x0F);
    report('S', false, 0x1F);  // before the program has moved its focus
    enterPasswordField();
    report('S', true, 0x1F);
    type("ECRET");
    now += TYPE_AHEAD_MS;
    settle();
    EXPECT_FALSE(anyKeyLit(now));
    EXPECT_TRUE(state.meter.pressTimes.empty());
    EXPECT_TRUE(sound.played.empty());
}

TEST_F(PrivateInputTest, AfterAnEnterThatMovesNoFocusTheKeysHeldBackStillLightAndCount) {
    enterPlainField();
    report(0x0D, false, 0x1C);
    report(0x0D, true, 0x1C);
    report('N', false, 0x31);
    report('N', true, 0x31);
    EXPECT_FALSE(anyKeyLit(now));
    now = state.focus.typeAheadUntil;
    settle();
    EXPECT_TRUE(state.keys.isLit('N', now));
    EXPECT_EQ(state.meter.pressTimes.size(), 1u);
    EXPECT_EQ(sound.played.size(), 1u);
}

TEST_F(PrivateInputTest, AFocusUnjudgedForLongKeepsTheNewestReportsAndNeverShowsAKeyHeldThatWasLetGo) {
    const FocusRequest asked = enterFieldToAsk();
    for (std::size_t i = 0; i < HeldReports::CAPACITY; ++i) type("AB");
    report('Z', false, 0x2C);
    answer(asked, FocusAnswer::NotPassword);
    EXPECT_FALSE(state.keys.isHeld('A'));
    EXPECT_FALSE(state.keys.isHeld('B'));
    EXPECT_TRUE(state.keys.isHeld('Z'));
    EXPECT_EQ(state.meter.pressTimes.back(), now);
}

// The full keyboard's keys go the same way: nothing of a password shows, and what waited for
// a verdict lights the keys where it was typed.
TEST_F(PrivateInputTest, TheFullKeyboardKeepsPasswordsPrivateAndShowsWhatWaitedOnItsOwnKeys) {
    layout = keysAtScaleOne(FULL_KEYBOARD_ANSI);
    enterPasswordField();
    // (No Enter or Tab here: a key typed after one of them waits for the focus to move.)
    for (auto [vk, make, extended] : {std::tuple{0x11, 0x1D, true}, {0x25, 0x4B, true}, {0x25, 0x4B, false}}) {
        now += 30;
        onKeyReport(state, {vk, make, false, extended}, now, context);
    }
    EXPECT_FALSE(anyKeyLit(now));
    EXPECT_TRUE(sound.played.empty());

    enterPlainField();
    const FocusRequest asked = enterFieldToAsk();
    now += 30;
    onKeyReport(state, {0x0D, 0x1C, false, true}, now, context);  // the keypad's Enter, still down
    const Tick pressed = now;
    EXPECT_FALSE(anyKeyLit(now));
    now += 200;  // past the wait for a focus change that an Enter may bring
    answer(asked, FocusAnswer::NotPassword);
    EXPECT_TRUE(state.keys.isHeld(extendedKey(0x1C)));
    EXPECT_FALSE(state.keys.isHeld(physicalKey(0x1C)));
    EXPECT_EQ(state.meter.pressTimes, std::deque<Tick>{pressed});
}
