// A key-up releases the on-screen key its key-down lit, and a key whose key-up was lost is
// released once the platform says it is up.
#include <gtest/gtest.h>

#include "fake_keyboard_layouts.h"
#include "fake_physical_key_state.h"
#include "input/frame_tick.h"
#include "keyboard/layout_metrics.h"
#include "recording_sound_player.h"

namespace {

constexpr int SHIFT = 0x10;
constexpr int LEFT_SHIFT_MAKE = 0x2A;
constexpr int SEMICOLON = 0xBA, COLON_KEY = 0xDE, LONG_VOWEL = 0xBD, COMMA = 0xBC, PERIOD = 0xBE;
constexpr int OEM_PLUS = 0xBB, OEM_102 = 0xE2;

struct KeyReleaseTest : ::testing::Test {
    KeyReleaseTest() {
        layout = keysAtScaleOne();
        settings.soundOn = true;
        startInput(state, query, 0);
    }
    std::optional<Rect> down(int vk, int makeCode = 0) { return report({vk, makeCode, false}); }
    std::optional<Rect> up(int vk, int makeCode = 0) { return report({vk, makeCode, true}); }
    std::optional<Rect> report(KeyReport r) {
        now += 20;
        InputContext context{layout, settings, query, sound};
        return onKeyReport(state, r, now, context);
    }
    void shiftDown() { down(SHIFT, LEFT_SHIFT_MAKE); }
    void shiftUp() { up(SHIFT, LEFT_SHIFT_MAKE); }
    const FrameTickEffects& tick(Tick at) {
        now = at;
        FrameTickContext context{layout, query, physical};
        onFrameTick(state, context, now, effects);
        return effects;
    }
    Rect area(int vk) const { return findKey(layout, vk)->rect.inflated(KEY_INVALIDATE_MARGIN, KEY_INVALIDATE_MARGIN); }
    bool nothingHeld() const {
        for (const KeyCap& key : layout)
            if (state.keys.isHeld(key.vk)) return false;
        return state.heldKeys.count == 0;
    }

    KeyboardLayout layout;
    AppSettings settings;
    FakeKeyboardQuery query = usLayout();
    FakePhysicalKeyState physical;
    RecordingSoundPlayer sound;
    InputState state;
    FrameTickEffects effects;
    Tick now = 1000;
};

}  // namespace

TEST_F(KeyReleaseTest, AKeyUpReleasesWhatItsKeyDownLitWhateverShiftDidInBetween) {
    // Shift, ';' (":"), Shift up, ';' up: the ':' key goes out.
    shiftDown();
    down(SEMICOLON);
    EXPECT_TRUE(state.keys.isHeld(COLON_KEY));
    shiftUp();
    EXPECT_EQ(up(SEMICOLON), area(COLON_KEY));
    EXPECT_TRUE(nothingHeld());

    // '=' ("ー"), Shift, '=' up under Shift (it would type '+'), Shift up.
    state.fullRedrawPending = false;
    down(OEM_PLUS);
    EXPECT_TRUE(state.keys.isHeld(LONG_VOWEL));
    shiftDown();
    up(OEM_PLUS);
    shiftUp();
    EXPECT_TRUE(nothingHeld());
    EXPECT_FALSE(state.labelShift);
}

TEST_F(KeyReleaseTest, GermanPunctuationThatChangesKeyUnderShiftIsReleased) {
    query = germanLayout();
    startInput(state, query, now);
    // ',' lights "," plain and ";" under Shift; '.' lights "." plain and ":" under Shift.
    down(COMMA, 0x33);
    shiftDown();
    up(COMMA, 0x33);
    EXPECT_FALSE(state.keys.isHeld(COMMA));
    EXPECT_FALSE(state.keys.isHeld(SEMICOLON));
    down(PERIOD, 0x34);
    EXPECT_TRUE(state.keys.isHeld(COLON_KEY));
    shiftUp();
    up(PERIOD, 0x34);
    EXPECT_TRUE(nothingHeld());
}

TEST_F(KeyReleaseTest, AnAutoRepeatUnderAnotherShiftMovesTheLightAndRepaints) {
    down(SEMICOLON, 0x27);
    shiftDown();
    state.fullRedrawPending = false;
    down(SEMICOLON, 0x27);  // the repeat now types ':'
    EXPECT_FALSE(state.keys.isHeld(SEMICOLON));
    EXPECT_TRUE(state.keys.isHeld(COLON_KEY));
    EXPECT_TRUE(state.fullRedrawPending);  // the ';' key must be drawn unlit again
    up(SEMICOLON, 0x27);
    shiftUp();
    EXPECT_TRUE(nothingHeld());
}

TEST_F(KeyReleaseTest, TwoPhysicalKeysOnOneOnScreenKeyHoldItUntilBothAreUp) {
    query = germanLayout();
    startInput(state, query, now);
    down(COMMA, 0x33);    // ','
    down(OEM_102, 0x56);  // '<', the same on-screen key
    up(COMMA, 0x33);
    EXPECT_TRUE(state.keys.isHeld(COMMA));
    up(OEM_102, 0x56);
    EXPECT_FALSE(state.keys.isHeld(COMMA));

    // The same key on two keyboards is one physical key: the first key-up releases it.
    down('A', 0x1E);
    down('A', 0x1E);
    up('A', 0x1E);
    EXPECT_FALSE(state.keys.isHeld('A'));
}

TEST_F(KeyReleaseTest, TheE0PrefixAndTheMakeCodeTellPhysicalKeysApart) {
    EXPECT_NE(physicalKeyId(0x35, false, 0xBF), physicalKeyId(0x35, true, 0x6F));
    EXPECT_EQ(physicalKeyId(0x1E, false, 'A'), physicalKeyId(0x1E, false, 'Q'));  // the code names the key
    EXPECT_NE(physicalKeyId(0, false, 'A'), physicalKeyId(0, false, 'B'));        // no make code: the vk does
    EXPECT_EQ(physicalKeyId(0xFF, false, 'A'), physicalKeyId(0, false, 'A'));     // overrun is no key
    for (int makeCode : {-1, 0, 0x7F, 0xFF, 0x1000, 0x7FFFFFFF})
        for (bool extended : {false, true})
            for (int vk : {-5, 0, 0x41, 0xFF, 0x10000}) {
                const int id = physicalKeyId(makeCode, extended, vk);
                EXPECT_GE(id, 0);
                EXPECT_LT(id, PHYSICAL_KEY_IDS);
            }
}

TEST_F(KeyReleaseTest, AKeyLetGoBehindTheProgramsBackIsReleasedOnceThePlatformSaysSo) {
    down('A', 0x1E);
    physical.up = {'A'};
    EXPECT_TRUE(tick(now + 20).keyAreas.size() >= 1);  // still lit: too young to be asked about
    EXPECT_TRUE(state.keys.isHeld('A'));

    tick(now + 110);
    EXPECT_FALSE(state.keys.isHeld('A'));
    EXPECT_GE(std::count(effects.keyAreas.begin(), effects.keyAreas.end(), area('A')), 1);
    // The key-up arriving late changes nothing more.
    up('A', 0x1E);
    EXPECT_TRUE(nothingHeld());
}

TEST_F(KeyReleaseTest, ALostShiftKeyUpUnshiftsTheLabels) {
    shiftDown();
    ASSERT_TRUE(state.labelShift);
    tick(now + 100);
    physical.up = {0xA0};  // the left Shift, by its own code
    EXPECT_TRUE(tick(now + 16).invalidateAll);
    EXPECT_FALSE(state.keys.isHeld(0xA0));
    EXPECT_FALSE(state.labelShift);
}

// The platform is asked about the side of the modifier that was pressed, by that side's own
// code: a lost key-up of the right Ctrl is noticed while the left one is still held.
TEST_F(KeyReleaseTest, ALostKeyUpIsNoticedByAskingAboutTheModifiersOwnSideOrTheKeyReported) {
    struct Case {
        KeyReport press;
        int key;
        int ownCode;
        int otherCode;
    };
    layout = keysAtScaleOne(FULL_KEYBOARD_ANSI);
    for (const Case& c : {Case{{SHIFT, 0x2A, false}, physicalKey(0x2A), 0xA0, 0xA1},
                          Case{{SHIFT, 0x36, false}, physicalKey(0x36), 0xA1, 0xA0},
                          Case{{0x11, 0x1D, false}, physicalKey(0x1D), 0xA2, 0xA3},
                          Case{{0x11, 0x1D, false, true}, extendedKey(0x1D), 0xA3, 0xA2},
                          Case{{0x12, 0x38, false}, physicalKey(0x38), 0xA4, 0xA5},
                          Case{{0x12, 0x38, false, true}, extendedKey(0x38), 0xA5, 0xA4},
                          Case{{0x25, 0x4B, false}, physicalKey(0x4B), 0x25, 0x64}}) {
        SCOPED_TRACE(testing::Message() << "key " << c.key);
        report(c.press);
        ASSERT_TRUE(state.keys.isHeld(c.key));
        physical.up = {c.otherCode, SHIFT, 0x11, 0x12};
        tick(now + 200);
        EXPECT_TRUE(state.keys.isHeld(c.key));
        physical.up = {c.ownCode};
        tick(now + 16);
        EXPECT_FALSE(state.keys.isHeld(c.key));
        EXPECT_TRUE(nothingHeld());
        EXPECT_FALSE(state.labelShift);
    }
}

TEST_F(KeyReleaseTest, AnIdleTickAsksThePlatformNothing) {
    for (Tick t = 2000; t < 4000; t += 16) tick(t);
    EXPECT_EQ(physical.queries, 0);
    down('A', 0x1E);
    up('A', 0x1E);
    for (Tick t = 5000; t < 6000; t += 16) tick(t);
    EXPECT_EQ(physical.queries, 0);
}

TEST_F(KeyReleaseTest, ReleasingEveryKeyRepaintsTheWholeWindow) {
    down('A', 0x1E);
    shiftDown();
    down(SEMICOLON, 0x27);
    tick(now + 16);
    releaseAllKeys(state, query);
    EXPECT_TRUE(nothingHeld());
    EXPECT_FALSE(state.labelShift);
    EXPECT_TRUE(tick(now + 16).invalidateAll);
    // Their key-ups, when they come, find nothing to release.
    up('A', 0x1E);
    up(SEMICOLON, 0x27);
    shiftUp();
    EXPECT_TRUE(nothingHeld());
}
