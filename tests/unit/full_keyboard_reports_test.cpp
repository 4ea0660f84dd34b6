// Key reports on the full keyboard: which key lights, which clicks and which counts; and the
// fake Shifts around the grey keys on both keyboards.
#include <gtest/gtest.h>

#include "fake_keyboard_layouts.h"
#include "input/key_report.h"
#include "keyboard/layout_metrics.h"
#include "keyboard/virtual_keys.h"
#include "recording_sound_player.h"

namespace {

struct Press {
    int vkey;
    int makeCode;
    bool extended = false;
};

struct ReportsTest : ::testing::Test {
    explicit ReportsTest(const KeyArrangement& arrangement = FULL_KEYBOARD_ANSI) { use(arrangement); }
    void use(const KeyArrangement& arrangement) {
        layout = keysAtScaleOne(arrangement);
        settings.soundOn = true;
    }
    std::optional<Rect> send(Press p, bool keyUp, Tick now) {
        InputContext context{layout, settings, query, sound};
        return onKeyReport(state, {p.vkey, p.makeCode, keyUp, p.extended}, now, context);
    }
    // A tap: its key-down and key-up; returns the clicks and counted presses it made.
    std::pair<std::size_t, std::size_t> tap(Press p, Tick now) {
        const std::size_t clicks = sound.played.size();
        const std::size_t presses = state.meter.pressTimes.size();
        send(p, false, now);
        send(p, true, now + 30);
        return {sound.played.size() - clicks, state.meter.pressTimes.size() - presses};
    }

    KeyboardLayout layout;
    AppSettings settings;
    FakeKeyboardQuery query = usLayout();
    RecordingSoundPlayer sound;
    InputState state;
};

using FullKeyboardReports = ReportsTest;

constexpr Press LEFT_CTRL{VK_CONTROL_GENERIC, 0x1D};
constexpr Press RIGHT_CTRL{VK_CONTROL_GENERIC, 0x1D, true};
constexpr Press LEFT_SHIFT{VK_SHIFT_GENERIC, 0x2A};
constexpr Press RIGHT_SHIFT{VK_SHIFT_GENERIC, 0x36};
constexpr Press GREY_LEFT{0x25, 0x4B, true};

}  // namespace

// Shift, Ctrl and Alt come with their generic virtual keys: the make code and the E0 prefix
// tell their sides apart.
TEST_F(FullKeyboardReports, EachSideOfAModifierLightsItsOwnKeyWithoutClickOrCount) {
    using Made = std::pair<std::size_t, std::size_t>;  // clicks, counted presses
    const std::pair<Press, int> modifiers[] = {
        {LEFT_SHIFT, physicalKey(0x2A)},  {RIGHT_SHIFT, physicalKey(0x36)},
        {LEFT_CTRL, physicalKey(0x1D)},   {RIGHT_CTRL, extendedKey(0x1D)},
        {{VK_MENU_GENERIC, 0x38}, physicalKey(0x38)}, {{VK_MENU_GENERIC, 0x38, true}, extendedKey(0x38)},
        {{0x5B, 0x5B, true}, extendedKey(0x5B)},      {{0x5C, 0x5C, true}, extendedKey(0x5C)}};
    Tick t = 1000;
    for (const auto& [press, key] : modifiers) {
        EXPECT_EQ(tap(press, t += 100), (Made{0, 0})) << key;
        for (const auto& [other, otherKey] : modifiers)
            EXPECT_EQ(state.keys.lastPressTick(otherKey) == t, otherKey == key) << "pressed " << key << ", seen " << otherKey;
    }
    // Ctrl+C: the C counts, the Ctrl does not.
    EXPECT_EQ(send(RIGHT_CTRL, false, t += 100), findKey(layout, extendedKey(0x1D))->rect.inflated(8, 8));
    EXPECT_TRUE(state.keys.isHeld(extendedKey(0x1D)));
    EXPECT_FALSE(state.keys.isHeld(physicalKey(0x1D)));
    EXPECT_EQ(tap({'C', 0x2E}, t += 100), (Made{1, 1}));
    send(RIGHT_CTRL, true, t += 100);
    EXPECT_FALSE(state.keys.isHeld(extendedKey(0x1D)));
}

TEST_F(FullKeyboardReports, KeysThatTypeACharacterCountAndEveryOtherKeyOnlyClicks) {
    using Made = std::pair<std::size_t, std::size_t>;  // clicks, counted presses
    Tick t = 2000;
    // With Num Lock on, the keypad's digits and point type like any other character key.
    for (Press typed : {Press{0x0D, 0x1C}, Press{0x0D, 0x1C, true}, Press{0x09, 0x0F}, Press{0x20, 0x39},
                        Press{0x60, 0x52}, Press{0x64, 0x4B}, Press{0x6E, 0x53}, Press{0x6F, 0x35, true},
                        Press{0x6A, 0x37}, Press{0xDB, 0x1A}, Press{'1', 0x02}, Press{0xBC, 0x33}})
        EXPECT_EQ(tap(typed, t += 200), (Made{1, 1})) << typed.vkey << " " << typed.makeCode;
    for (Press other : {Press{0x08, 0x0E}, Press{0x1B, 0x01}, Press{0x74, 0x3F}, GREY_LEFT, Press{0x2E, 0x53, true},
                        Press{0x14, 0x3A}, Press{0x90, 0x45, true}, Press{0x5D, 0x5D, true}, Press{VK_PAUSE_CODE, 0x1D}})
        EXPECT_EQ(tap(other, t += 200), (Made{1, 0})) << other.vkey << " " << other.makeCode;
    // Without Num Lock every keypad key but the operators and Enter reports a navigation key
    // (the 5 reports Clear): it lights the keypad's key, not the grey one, and moves the caret
    // without typing.
    for (Press keypad : {Press{0x24, 0x47}, Press{0x26, 0x48}, Press{0x21, 0x49}, Press{0x25, 0x4B}, Press{0x0C, 0x4C},
                         Press{0x27, 0x4D}, Press{0x23, 0x4F}, Press{0x28, 0x50}, Press{0x22, 0x51},
                         Press{0x2D, 0x52}, Press{0x2E, 0x53}}) {
        SCOPED_TRACE(testing::Message() << keypad.vkey << " " << keypad.makeCode);
        EXPECT_EQ(tap(keypad, t += 200), (Made{1, 0}));
        EXPECT_EQ(state.keys.lastPressTick(physicalKey(keypad.makeCode)), t);
        EXPECT_NE(state.keys.lastPressTick(extendedKey(keypad.makeCode)), t);
    }
}

TEST_F(FullKeyboardReports, TheShiftKeysShiftTheLabelsLikeTheCompactOnes) {
    EXPECT_EQ(send(RIGHT_SHIFT, false, 3000), std::nullopt);
    EXPECT_TRUE(state.labelShift);
    EXPECT_TRUE(state.fullRedrawPending);
    EXPECT_TRUE(state.keys.isHeld(physicalKey(0x36)));
    send(RIGHT_SHIFT, true, 3100);
    EXPECT_FALSE(state.labelShift);
    EXPECT_TRUE(sound.played.empty());
}

TEST_F(FullKeyboardReports, AKeyLitBeforeTheKeyboardChangedGoesOutAtItsRelease) {
    use(COMPACT_KEYBOARD);
    send({'A', 0x1E}, false, 4000);
    use(FULL_KEYBOARD_ANSI);
    EXPECT_EQ(send({'A', 0x1E}, true, 4100), std::nullopt);  // not on this keyboard: nothing to repaint
    EXPECT_FALSE(state.keys.isHeld('A'));
    EXPECT_EQ(state.heldKeys.count, 0);
}

// With Num Lock on, or with Shift held, the keyboard wraps each grey navigation key in Shift
// reports with the E0 prefix so that the system sees it unshifted: E0 2A before a key-down and
// E0 AA after its key-up with Num Lock on; with a Shift held, the release of that Shift's make
// code with E0 before and its press after. Windows sends them with no virtual key; a driver
// may send them as VK_SHIFT, which once lit the left Shift and held it, lit, after the real
// Shift was let go.
TEST_F(FullKeyboardReports, TheFakeShiftsAroundAGreyKeyNeitherLightNorReleaseEitherShift) {
    struct Side {
        Press real;
        int compactCode;
        int fullCode;
    };
    const Side sides[] = {{LEFT_SHIFT, VK_LSHIFT_CODE, physicalKey(0x2A)},
                          {RIGHT_SHIFT, VK_RSHIFT_CODE, physicalKey(0x36)}};
    for (const KeyArrangement* arrangement : {&COMPACT_KEYBOARD, &FULL_KEYBOARD_ANSI}) {
        const bool compact = arrangement == &COMPACT_KEYBOARD;
        for (const Side& side : sides) {
            for (int fakeVkey : {VK_NO_KEY_CODE, VK_SHIFT_GENERIC}) {
                SCOPED_TRACE(testing::Message() << (compact ? "compact" : "full") << ", make code "
                                                << side.real.makeCode << ", virtual key " << fakeVkey);
                state = InputState{};
                use(*arrangement);
                const Press fake{fakeVkey, side.real.makeCode, true};
                const int shiftKey = compact ? side.compactCode : side.fullCode;
                // Num Lock on, no Shift: nothing but the arrow moves.
                send(fake, false, 5000);
                send(GREY_LEFT, false, 5001);
                send(GREY_LEFT, true, 5050);
                send(fake, true, 5051);
                for (const Side& either : sides)
                    EXPECT_FALSE(state.keys.isLit(compact ? either.compactCode : either.fullCode, 5002));
                EXPECT_FALSE(state.labelShift);

                // Shift held: the fake release must not let it go, the fake press must not hold it on.
                send(side.real, false, 6000);
                send(fake, true, 6100);
                EXPECT_TRUE(state.keys.isHeld(shiftKey));
                EXPECT_TRUE(state.labelShift);
                send(GREY_LEFT, false, 6101);
                send(GREY_LEFT, true, 6150);
                send(fake, false, 6151);
                send(side.real, true, 6300);
                EXPECT_FALSE(state.keys.isHeld(shiftKey));
                EXPECT_FALSE(state.keys.isLit(shiftKey, 6440));
                EXPECT_FALSE(state.labelShift);
                EXPECT_EQ(state.heldKeys.count, 0);
            }
        }
    }
}
