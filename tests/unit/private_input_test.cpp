// While the focus is in a password field nothing typed lights, clicks or counts.
#include <gtest/gtest.h>

#include "fake_keyboard_layouts.h"
#include "fake_physical_key_state.h"
#include "input/focus_privacy.h"
#include "input/frame_tick.h"
#include "keyboard/layout_metrics.h"
#include "recording_sound_player.h"

namespace {

struct PrivateInputTest : ::testing::Test {
    PrivateInputTest() {
        LayoutMetrics m;
        updateMetrics(m, 1.0);
        buildLayout(layout, m, 1.0);
        settings.soundOn = true;
        startInput(state, query, 0);
    }
    std::optional<Rect> report(int vk, bool keyUp, int makeCode = 0) {
        now += 30;
        InputContext context{layout, settings, query, sound};
        return onKeyReport(state, {vk, makeCode, keyUp}, now, context);
    }
    void type(const char* letters) {
        for (const char* c = letters; *c; ++c) {
            report(*c, false);
            report(*c, true);
        }
    }
    bool anyKeyLit(Tick at) const {
        for (const KeyCap& key : layout)
            if (state.keys.isLit(key.vk, at)) return true;
        return false;
    }

    KeyboardLayout layout;
    AppSettings settings;
    FakeKeyboardQuery query = usLayout();
    RecordingSoundPlayer sound;
    InputState state;
    Tick now = 10000;
};

}  // namespace

TEST_F(PrivateInputTest, TypingInAPasswordFieldLightsClicksAndCountsNothing) {
    enterPrivateInput(state, query);
    EXPECT_TRUE(state.fullRedrawPending);
    state.fullRedrawPending = false;
    report(0x10, false, 0x2A);  // Shift, for a capital
    type("SECRET");
    report(0x10, true, 0x2A);
    EXPECT_FALSE(anyKeyLit(now));
    EXPECT_FALSE(state.labelShift);
    EXPECT_FALSE(state.fullRedrawPending);
    EXPECT_TRUE(sound.played.empty());
    EXPECT_TRUE(state.meter.pressTimes.empty());
    EXPECT_EQ(state.keys.lastPressTick('S'), 0u);

    leavePrivateInput(state, query);
    type("OK");
    EXPECT_TRUE(state.keys.isLit('K', now));
    EXPECT_EQ(sound.played.size(), 2u);
    EXPECT_EQ(state.meter.pressTimes.size(), 2u);
}

TEST_F(PrivateInputTest, AKeyHeldWhenTheFocusEntersGoesOutAsIfReleased) {
    report('A', false, 0x1E);
    report(0x10, false, 0x2A);
    ASSERT_TRUE(state.labelShift);
    const Tick pressed = now;
    enterPrivateInput(state, query);
    EXPECT_FALSE(state.keys.isHeld('A'));
    EXPECT_FALSE(state.keys.isHeld(0xA0));
    EXPECT_FALSE(state.labelShift);
    EXPECT_FALSE(state.keys.isLit('A', pressed + LIT_HOLD_MS));  // a tap's look, no longer
    // Its key-up inside the field, and the system's own Shift, change nothing shown.
    query.systemShift = true;
    report('A', true, 0x1E);
    FakePhysicalKeyState physical;
    FrameTickEffects effects;
    FrameTickContext context{layout, query, physical};
    onFrameTick(state, context, now + 16, effects);
    EXPECT_FALSE(state.labelShift);
}

TEST_F(PrivateInputTest, AKeyPressedInTheFieldAndReleasedOutsideIsNeverShown) {
    enterPrivateInput(state, query);
    report('P', false, 0x19);
    leavePrivateInput(state, query);
    EXPECT_FALSE(state.keys.isLit('P', now));
    report('P', true, 0x19);
    EXPECT_FALSE(state.keys.isLit('P', now));
    EXPECT_TRUE(sound.played.empty());
}

TEST(FocusPrivacy, AnEditControlIsJudgedByItsStyleAndAnythingElseIsAsked) {
    EXPECT_EQ(judgeFocus({true, true}), FocusVerdict::Password);
    EXPECT_EQ(judgeFocus({true, false}), FocusVerdict::NotPassword);
    EXPECT_EQ(judgeFocus({false, false}), FocusVerdict::AskAccessibility);
    EXPECT_EQ(judgeFocus({false, true}), FocusVerdict::AskAccessibility);  // the bit means something else there
}

TEST(FocusPrivacy, EditControlsAreKnownByTheirClassNames) {
    for (const wchar_t* name : {L"Edit", L"EDIT", L"RichEdit20W", L"RICHEDIT50W", L"RichEdit20A",
                                L"WindowsForms10.EDIT.app.0.141b42a_r6_ad1"})
        EXPECT_TRUE(isEditClassName(name)) << std::wstring(name).size();
    for (const wchar_t* name : {L"", L"Static", L"Chrome_RenderWidgetHostHWND", L"ConsoleWindowClass", L"Editor",
                                L"MozillaWindowClass", L"TavrinE2ESecretBox"})
        EXPECT_FALSE(isEditClassName(name)) << std::wstring(name).size();
}
