#include <gtest/gtest.h>

#include <cmath>

#include "control/hit_test.h"
#include "control/modifier_keys.h"
#include "control/scale_rules.h"

TEST(ScaleText, TakesTheLeadingNumberAndClampsIt) {
    EXPECT_DOUBLE_EQ(*parseScaleText(L"1.5"), 1.5);
    EXPECT_DOUBLE_EQ(*parseScaleText(L"1.5x"), 1.5);
    EXPECT_DOUBLE_EQ(*parseScaleText(L" 2"), 2.0);
    EXPECT_DOUBLE_EQ(*parseScaleText(L"10"), 3.0);
    EXPECT_DOUBLE_EQ(*parseScaleText(L"0.1"), 0.5);
    EXPECT_DOUBLE_EQ(*parseScaleText(L"+1.25"), 1.25);
}

TEST(ScaleText, RefusesWhatIsNotAPositiveNumber) {
    EXPECT_FALSE(parseScaleText(L"0"));
    EXPECT_FALSE(parseScaleText(L"-1"));
    EXPECT_FALSE(parseScaleText(L"abc"));
    EXPECT_FALSE(parseScaleText(L""));
    EXPECT_FALSE(parseScaleText(L"nan"));
    EXPECT_FALSE(parseScaleText(L"x1.5"));
}

TEST(ScaleText, ProposedTextHasTwoDecimals) {
    EXPECT_EQ(formatScaleText(0.8), L"0.80");
    EXPECT_EQ(formatScaleText(1.0), L"1.00");
    EXPECT_EQ(formatScaleText(1.157625), L"1.16");
}

TEST(ScaleChange, OnlyMovesBeyondTheThresholdCount) {
    EXPECT_FALSE(isScaleChange(1.0, 1.0));
    EXPECT_FALSE(isScaleChange(1.0, 1.0001));
    EXPECT_TRUE(isScaleChange(1.0, 1.0002));
    // A scale of 1.157625 after a gesture, confirmed as the shown 1.16, does change it.
    EXPECT_TRUE(isScaleChange(1.157625, *parseScaleText(formatScaleText(1.157625))));
}

TEST(GripDrag, StepsByHalfAPixelOfTravelWithTheModifierBase) {
    const Modifiers none{};
    EXPECT_NEAR(dragScale(1.0, 50, 50, none), std::pow(1.005, 50), 1e-12);
    EXPECT_NEAR(dragScale(1.0, 100, 100, none), 1.6466684921165482, 1e-9);
    EXPECT_NEAR(dragScale(1.0, 40, 0, Modifiers{false, true, false}), std::pow(1.0025, 20), 1e-12);
    EXPECT_NEAR(dragScale(1.0, 40, 0, Modifiers{false, false, true}), std::pow(1.01, 20), 1e-12);
    // Ctrl wins over Shift on the grip.
    EXPECT_NEAR(dragScale(1.0, 40, 0, Modifiers{false, true, true}), std::pow(1.0025, 20), 1e-12);
    // Right and up by the same amount is no travel at all.
    EXPECT_DOUBLE_EQ(dragScale(1.3, 25, -25, none), 1.3);
    EXPECT_NEAR(dragScale(1.0, -60, 0, none), std::pow(1.005, -30), 1e-12);
}

TEST(GripDrag, StopsAtTheLimits) {
    EXPECT_DOUBLE_EQ(dragScale(1.0, 5000, 5000, {}), 3.0);
    EXPECT_DOUBLE_EQ(dragScale(1.0, -5000, -5000, {}), 0.5);
    EXPECT_DOUBLE_EQ(dragScale(1.0, 2000000000, 2000000000, {}), 3.0);
}

TEST(Wheel, WholeNotchesOnlyWithItsOwnModifierOrder) {
    EXPECT_FALSE(wheelScale(1.0, 119, {}));
    EXPECT_FALSE(wheelScale(1.0, -119, {}));
    EXPECT_DOUBLE_EQ(*wheelScale(1.0, 120, {}), 1.05);
    EXPECT_DOUBLE_EQ(*wheelScale(1.0, 240, {}), 1.05 * 1.05);
    EXPECT_DOUBLE_EQ(*wheelScale(1.0, 239, {}), 1.05);
    EXPECT_NEAR(*wheelScale(1.0, -120, {}), 1.0 / 1.05, 1e-12);
    EXPECT_DOUBLE_EQ(*wheelScale(1.0, 120, Modifiers{false, true, false}), 1.02);
    EXPECT_DOUBLE_EQ(*wheelScale(1.0, 120, Modifiers{false, false, true}), 1.1);
    // Shift wins over Ctrl on the wheel.
    EXPECT_DOUBLE_EQ(*wheelScale(1.0, 120, Modifiers{false, true, true}), 1.1);
}

TEST(Wheel, AtTheLimitANotchChangesNothing) {
    EXPECT_FALSE(isScaleChange(3.0, *wheelScale(3.0, 120, {})));
    EXPECT_FALSE(isScaleChange(0.5, *wheelScale(0.5, -120, {})));
    EXPECT_DOUBLE_EQ(*wheelScale(2.9, 32767, {}), 3.0);
}

TEST(HitTest, GripTakesThePointerAndModifiersBeatClickThrough) {
    const Modifiers none{}, alt{true, false, false}, ctrl{false, true, false}, shift{false, false, true};
    EXPECT_EQ(hitZone(true, true, none), HitZone::Grip);
    EXPECT_EQ(hitZone(true, false, none), HitZone::Grip);
    EXPECT_EQ(hitZone(false, true, none), HitZone::Transparent);
    EXPECT_EQ(hitZone(false, true, shift), HitZone::Transparent);
    EXPECT_EQ(hitZone(false, true, alt), HitZone::Move);
    EXPECT_EQ(hitZone(false, true, ctrl), HitZone::Move);
    EXPECT_EQ(hitZone(false, false, none), HitZone::Move);
}

TEST(ClickThrough, EveryPixelPassesClicksUnlessTheGripAModifierOrADragNeedsThePointer) {
    const Modifiers none{}, alt{true, false, false}, ctrl{false, true, false}, shift{false, false, true};
    EXPECT_TRUE(passesClicks(false, true, none, false));
    EXPECT_TRUE(passesClicks(false, true, shift, false));  // Shift only changes the scale steps
    EXPECT_FALSE(passesClicks(true, true, none, false));   // over the grip
    EXPECT_FALSE(passesClicks(false, true, alt, false));
    EXPECT_FALSE(passesClicks(false, true, ctrl, false));
    EXPECT_FALSE(passesClicks(false, true, none, true));   // a drag that left the grip
    EXPECT_FALSE(passesClicks(false, false, none, false)); // click-through off
}

TEST(ModifierKeys, EachSideIsHeldFromItsKeyDownToItsKeyUp) {
    ModifierKeys keys;
    EXPECT_FALSE(keys.note('A', false, false));
    EXPECT_TRUE(keys.note(0x11, false, false));  // left Ctrl
    EXPECT_TRUE(keys.ctrl());
    keys.note(0x11, true, false);                // right Ctrl, by its E0 prefix
    keys.note(0x11, false, true);
    EXPECT_TRUE(keys.ctrl());                    // the right one still holds it
    keys.note(0x11, true, true);
    EXPECT_FALSE(keys.ctrl());
    keys.note(0x12, true, false);                // AltGr: right Alt
    EXPECT_TRUE(keys.alt());
    EXPECT_FALSE(keys.leftAlt);
    keys.note(0xA5, false, true);
    EXPECT_FALSE(keys.alt());
}
