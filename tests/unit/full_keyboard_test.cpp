// The full keyboards' geometry and the choice among them.
#include <gtest/gtest.h>

#include <set>

#include "fake_keyboard_layouts.h"
#include "keyboard/arrangement_choice.h"
#include "keyboard/keyboard_layout.h"
#include "render/speed_panel.h"
#include "settings/app_settings.h"

namespace {

const KeyArrangement* const FULL_ARRANGEMENTS[] = {&FULL_KEYBOARD_ANSI, &FULL_KEYBOARD_ISO, &FULL_KEYBOARD_JIS};
constexpr double SCALES[] = {0.5, 0.8, 0.9, 1.0, 1.25, 1.5, 2.0, 3.0};

struct Built {
    KeyboardLayout layout;
    LayoutMetrics metrics;
    Size size;
};

Built build(const KeyArrangement& arrangement, double scale) {
    Built b;
    updateMetrics(b.metrics, scale);
    b.size = buildLayout(b.layout, b.metrics, scale, arrangement);
    return b;
}

Rect rectOf(const KeyboardLayout& layout, int code) {
    const KeyCap* key = findKey(layout, code);
    return key ? key->rect : Rect{-1, -1, -1, -1};
}

bool overlap(const Rect& a, const Rect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

}  // namespace

TEST(FullKeyboard, KeysNeverOverlapStandApartAndStayInsideTheWindowLeftOfThePanel) {
    for (const KeyArrangement* arrangement : FULL_ARRANGEMENTS) {
        for (double scale : SCALES) {
            const Built b = build(*arrangement, scale);
            const Rect client{0, 0, b.size.width, b.size.height};
            const Rect panel = speedPanelRect(client, b.metrics, scale);
            std::set<int> codes;
            for (std::size_t i = 0; i < b.layout.size(); ++i) {
                const KeyCap& key = b.layout[i];
                EXPECT_TRUE(codes.insert(key.vk).second) << "code " << key.vk << " twice";
                EXPECT_TRUE(isPhysicalKey(key.vk)) << key.vk;
                EXPECT_GE(key.rect.left, b.metrics.marginX);
                EXPECT_GE(key.rect.top, b.metrics.marginY);
                EXPECT_LE(key.rect.bottom, client.bottom - b.metrics.marginY);
                // The panel stands right of every key, one gap away at least.
                EXPECT_LE(key.rect.right + b.metrics.keyGap, panel.left) << key.vk << " at " << scale;
                for (std::size_t j = i + 1; j < b.layout.size(); ++j) {
                    // A gap between any two keys: grown by half a gap, they still do not meet.
                    const int half = b.metrics.keyGap / 2;
                    EXPECT_FALSE(overlap(key.rect.inflated(half, 0), b.layout[j].rect.inflated(half, 0)) &&
                                 overlap(key.rect, b.layout[j].rect.inflated(0, b.metrics.rowGap / 2)))
                        << "keys " << key.vk << " and " << b.layout[j].vk << " at scale " << scale;
                }
            }
            // The panel spans the keys' full height, from the top margin to the bottom one.
            EXPECT_EQ(panel.top, b.metrics.marginY);
            int bottom = 0;
            for (const KeyCap& key : b.layout) bottom = std::max(bottom, key.rect.bottom);
            EXPECT_EQ(panel.bottom, bottom);
        }
    }
}

TEST(FullKeyboard, RowsOfTheMainBlockEndAtOnePixelAndTheBlocksLineUp) {
    for (double scale : SCALES) {
        const Built ansi = build(FULL_KEYBOARD_ANSI, scale);
        const auto& l = ansi.layout;
        // Backspace, the backslash key, Enter, the right Shift and the right Ctrl end together.
        const int right = rectOf(l, physicalKey(0x0E)).right;
        for (int code : {physicalKey(0x2B), physicalKey(0x1C), physicalKey(0x36), extendedKey(0x1D), physicalKey(0x58)})
            EXPECT_EQ(rectOf(l, code).right, right) << code << " at " << scale;
        // The arrow up stands over the arrow down, Insert over Delete, and the keypad's 0
        // under 1 and 2.
        EXPECT_EQ(rectOf(l, extendedKey(0x48)).left, rectOf(l, extendedKey(0x50)).left);
        EXPECT_EQ(rectOf(l, extendedKey(0x52)).left, rectOf(l, extendedKey(0x53)).left);
        EXPECT_EQ(rectOf(l, physicalKey(0x52)).left, rectOf(l, physicalKey(0x4F)).left);
        EXPECT_EQ(rectOf(l, physicalKey(0x52)).right, rectOf(l, physicalKey(0x50)).right);
        // The keypad's + and Enter are two rows tall: + ends where 6 does, Enter where 0 does.
        EXPECT_EQ(rectOf(l, physicalKey(0x4E)).bottom, rectOf(l, physicalKey(0x4D)).bottom);
        EXPECT_EQ(rectOf(l, extendedKey(0x1C)).bottom, rectOf(l, physicalKey(0x52)).bottom);
        EXPECT_EQ(rectOf(l, extendedKey(0x1C)).top, rectOf(l, physicalKey(0x51)).top);
    }
}

TEST(FullKeyboard, AtScaleOneAUnitIs56PixelsAndARow60WithTheFunctionRowAQuarterRowAbove) {
    const KeyboardLayout l = build(FULL_KEYBOARD_ANSI, 1.0).layout;
    // One unit is 56 pixels; rows stand 60 apart, the digits a quarter row below the F keys.
    EXPECT_EQ(rectOf(l, physicalKey(0x01)), (Rect{14, 14, 62, 62}));      // Esc
    EXPECT_EQ(rectOf(l, physicalKey(0x3F)), (Rect{378, 14, 426, 62}));    // F5 at 6.5 units
    EXPECT_EQ(rectOf(l, physicalKey(0x0F)), (Rect{14, 149, 90, 197}));    // Tab, 1.5 units
    EXPECT_EQ(rectOf(l, physicalKey(0x10)), (Rect{98, 149, 146, 197}));   // Q
    EXPECT_EQ(rectOf(l, physicalKey(0x1C)), (Rect{728, 209, 846, 257}));  // Enter, 2.25 units
    EXPECT_EQ(rectOf(l, physicalKey(0x1D)), (Rect{14, 329, 76, 377}));    // left Ctrl, 1.25 units
    EXPECT_EQ(rectOf(l, extendedKey(0x4B)), (Rect{868, 329, 916, 377}));  // left arrow at 15.25 units
    EXPECT_EQ(rectOf(l, physicalKey(0x4B)), (Rect{1050, 209, 1098, 257}));  // keypad 4 at 18.5 units
}

TEST(FullKeyboard, IsoAddsItsKeyBesideAShorterLeftShiftAndChangesNothingElse) {
    const KeyboardLayout ansi = build(FULL_KEYBOARD_ANSI, 1.0).layout;
    const KeyboardLayout iso = build(FULL_KEYBOARD_ISO, 1.0).layout;
    EXPECT_EQ(iso.size(), ansi.size() + 1);
    EXPECT_EQ(rectOf(iso, physicalKey(0x2A)), (Rect{14, 269, 76, 317}));
    EXPECT_EQ(rectOf(iso, physicalKey(0x56)), (Rect{84, 269, 132, 317}));
    EXPECT_FALSE(isDisplayedKey(ansi, physicalKey(0x56)));
    for (const KeyCap& key : ansi)
        if (key.vk != physicalKey(0x2A)) EXPECT_EQ(rectOf(iso, key.vk), key.rect) << key.vk;
}

TEST(FullKeyboard, TheJapaneseKeyboardHasItsOwnKeysAndATallEnter) {
    const KeyboardLayout jis = build(FULL_KEYBOARD_JIS, 1.0).layout;
    for (int make : {0x29, 0x70, 0x73, 0x79, 0x7B, 0x7D}) EXPECT_TRUE(isDisplayedKey(jis, physicalKey(make))) << make;
    const Rect enter = rectOf(jis, physicalKey(0x1C));
    EXPECT_EQ(enter.top, rectOf(jis, physicalKey(0x10)).top);     // from the Q row
    EXPECT_EQ(enter.bottom, rectOf(jis, physicalKey(0x1E)).bottom);  // to the A row
    EXPECT_EQ(enter.right, rectOf(jis, physicalKey(0x0E)).right);
    EXPECT_EQ(std::wstring(findKey(jis, physicalKey(0x7B))->label.data()), L"\u7121\u5909\u63DB");
}

TEST(ArrangementChoice, FollowsTheSettingTheKeyboardTypeAndTheLayoutsIsoKey) {
    FakeKeyboardQuery us = usLayout();
    FakeKeyboardQuery german = germanLayout();
    FakeKeyboardQuery japanese = jisLayout();
    EXPECT_EQ(&arrangementFor(LAYOUT_COMPACT, japanese), &COMPACT_KEYBOARD);
    EXPECT_EQ(&arrangementFor(5, german), &COMPACT_KEYBOARD);
    // The US layout types at ISO's key what its backslash key types: it has no key of its own.
    EXPECT_FALSE(layoutHasIsoKey(us));
    EXPECT_EQ(&arrangementFor(LAYOUT_FULL, us), &FULL_KEYBOARD_ANSI);
    // German types '<' there and '#' on the key above Enter.
    EXPECT_TRUE(layoutHasIsoKey(german));
    EXPECT_EQ(&arrangementFor(LAYOUT_FULL, german), &FULL_KEYBOARD_ISO);
    EXPECT_EQ(&arrangementFor(LAYOUT_FULL, japanese), &FULL_KEYBOARD_JIS);
    // A layout that gives the place no key at all has no such key either.
    us.virtualKeys.erase(0x56);
    EXPECT_FALSE(layoutHasIsoKey(us));
}
