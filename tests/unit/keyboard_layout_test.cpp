#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "keyboard/keyboard_layout.h"
#include "keyboard/layout_metrics.h"

namespace {

KeyboardLayout layoutAt(double scale) {
    LayoutMetrics m;
    updateMetrics(m, scale);
    KeyboardLayout layout;
    buildLayout(layout, m, scale);
    return layout;
}

Rect rectOf(const KeyboardLayout& layout, int vk) {
    const KeyCap* key = findKey(layout, vk);
    return key ? key->rect : Rect{-1, -1, -1, -1};
}

std::wstring labelOf(const KeyboardLayout& layout, int vk) {
    const KeyCap* key = findKey(layout, vk);
    return key ? std::wstring(key->label.data()) : L"<missing>";
}

}  // namespace

TEST(LayoutMetrics, FollowTheScaleWithHalfUpRounding) {
    LayoutMetrics m;
    updateMetrics(m, 1.0);
    EXPECT_EQ(m, (LayoutMetrics{48, 48, 8, 12, 14, 14, 400, 600}));
    updateMetrics(m, 0.9);
    EXPECT_EQ(m, (LayoutMetrics{43, 43, 7, 11, 13, 13, 371, 571, 0.9}));
    EXPECT_EQ(speedPanelWidth(1.0), 120);
    EXPECT_EQ(speedPanelWidth(1.25), 150);
}

TEST(LayoutMetrics, LabelWeightsTruncateAndClamp) {
    struct Case {
        double scale;
        int weight;
        int held;
    };
    for (Case c : {Case{1.0, 400, 600}, Case{1.25, 475, 675}, Case{0.8, 341, 541}, Case{0.5, 300, 500},
                   Case{2.0, 700, 900}, Case{3.0, 900, 900}, Case{0.9, 371, 571}}) {
        LayoutMetrics m;
        updateMetrics(m, c.scale);
        EXPECT_EQ(m.labelWeight, c.weight) << "scale " << c.scale;
        EXPECT_EQ(m.labelWeightHeld, c.held) << "scale " << c.scale;
    }
}

TEST(KeyboardLayout, KeysSitWhereTheRowsPutThemAtScaleOne) {
    const KeyboardLayout layout = layoutAt(1.0);
    EXPECT_EQ(rectOf(layout, '1'), (Rect{14, 14, 62, 62}));
    EXPECT_EQ(rectOf(layout, 0xBD), (Rect{574, 14, 622, 62}));
    EXPECT_EQ(rectOf(layout, 'Q'), (Rect{38, 74, 86, 122}));
    EXPECT_EQ(rectOf(layout, 0xC0), (Rect{598, 74, 646, 122}));
    EXPECT_EQ(rectOf(layout, 'A'), (Rect{62, 134, 110, 182}));
    EXPECT_EQ(rectOf(layout, 0xBA), (Rect{566, 134, 614, 182}));
    EXPECT_EQ(rectOf(layout, 0xDE), (Rect{622, 134, 670, 182}));
    EXPECT_EQ(rectOf(layout, 0xA0), (Rect{14, 194, 118, 242}));
    EXPECT_EQ(rectOf(layout, 'Z'), (Rect{126, 194, 174, 242}));
    EXPECT_EQ(rectOf(layout, 0xBF), (Rect{630, 194, 678, 242}));
    EXPECT_EQ(rectOf(layout, 0xA1), (Rect{686, 194, 790, 242}));
    EXPECT_EQ(rectOf(layout, 0x20), (Rect{110, 254, 494, 302}));
}

TEST(KeyboardLayout, OddKeyWidthOffsetsRowsByItsLowerHalf) {
    const KeyboardLayout layout = layoutAt(0.9);
    EXPECT_EQ(rectOf(layout, '1').left, 13);
    EXPECT_EQ(rectOf(layout, 'Q').left, 34);
    EXPECT_EQ(rectOf(layout, 'A').left, 56);
}

// Every full keyboard (ANSI, ISO, Japanese) takes the same window, larger than the compact one.
TEST(KeyboardLayout, TheWindowHoldsTheKeysAndTheSpeedPanelOfEitherKeyboard) {
    struct Case {
        double scale;
        Size compact;
        Size full;
    };
    for (Case c : {Case{1.0, {932, 316}, {1408, 391}}, Case{0.9, {834, 285}, {1259, 352}},
                   Case{0.5, {466, 158}, {704, 195}}, Case{0.8, {734, 252}, {1108, 312}},
                   Case{1.25, {1166, 396}, {1761, 489}}, Case{1.5, {1398, 474}, {2112, 586}},
                   Case{2.0, {1864, 632}, {2816, 782}}, Case{3.0, {2796, 948}, {4224, 1173}}}) {
        EXPECT_EQ(windowSizeForScale(c.scale), c.compact) << "scale " << c.scale;
        for (const KeyArrangement* full : {&FULL_KEYBOARD_ANSI, &FULL_KEYBOARD_ISO, &FULL_KEYBOARD_JIS})
            EXPECT_EQ(windowSizeForScale(c.scale, *full), c.full) << "scale " << c.scale;
    }
}

// The rows as the compact keyboard has always placed them: each row's first key at its own x,
// every key one key width and one gap right of the one before, whatever its width.
std::map<int, Rect> compactRectsOfOld(const LayoutMetrics& m) {
    struct Row {
        int x;
        std::vector<std::pair<int, int>> keys;  // code, width in units
    };
    auto ones = [](const char* codes) {
        std::vector<std::pair<int, int>> keys;
        for (const char* c = codes; *c; ++c) keys.push_back({*c, 1});
        return keys;
    };
    std::vector<Row> rows = {{m.marginX, ones("1234567890")},
                             {m.marginX + m.keyWidth / 2, ones("QWERTYUIOP")},
                             {m.marginX + m.keyWidth, ones("ASDFGHJKL")},
                             {m.marginX, {{0xA0, 2}}},
                             {m.marginX + 2 * m.keyWidth, {{0x20, 7}}}};
    rows[0].keys.push_back({0xBD, 1});
    rows[1].keys.push_back({0xC0, 1});
    rows[2].keys.insert(rows[2].keys.end(), {{0xBA, 1}, {0xDE, 1}});
    std::map<int, Rect> rects;
    int y = m.marginY;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        int x = rows[r].x;
        for (auto [code, units] : rows[r].keys) {
            rects[code] = {x, y, x + units * m.keyWidth + (units - 1) * m.keyGap, y + m.keyHeight};
            x += m.keyWidth + m.keyGap;
        }
        if (r == 3) {  // Z starts two whole steps right of the margin, after the wide Shift
            x = m.marginX + 2 * (m.keyWidth + m.keyGap);
            for (int code : {int{'Z'}, int{'X'}, int{'C'}, int{'V'}, int{'B'}, int{'N'}, int{'M'}, 0xBC, 0xBE, 0xBF}) {
                rects[code] = {x, y, x + m.keyWidth, y + m.keyHeight};
                x += m.keyWidth + m.keyGap;
            }
            rects[0xA1] = {x, y, x + 2 * m.keyWidth + m.keyGap, y + m.keyHeight};
        }
        y += m.rowGap + m.keyHeight;
    }
    return rects;
}

TEST(KeyboardLayout, TheCompactTableGivesEveryKeyItsOldRectangleAtEveryScale) {
    for (int thousandths = 500; thousandths <= 3000; thousandths += 5) {
        const double scale = thousandths / 1000.0;
        LayoutMetrics m;
        updateMetrics(m, scale);
        KeyboardLayout layout;
        buildLayout(layout, m, scale);
        const std::map<int, Rect> old = compactRectsOfOld(m);
        ASSERT_EQ(layout.size(), old.size()) << "scale " << scale;
        for (const KeyCap& key : layout) {
            ASSERT_TRUE(old.count(key.vk)) << key.vk;
            ASSERT_EQ(key.rect, old.at(key.vk)) << "key " << key.vk << " at scale " << scale;
        }
    }
}

TEST(KeyboardLayout, HoldsEachDisplayedKeyOnceInRowOrderWithItsFixedLabel) {
    KeyboardLayout layout = layoutAt(1.0);
    ASSERT_EQ(layout.size(), static_cast<size_t>(DISPLAYED_KEY_COUNT));

    // Digits, letters, Space, the two side-specific Shift codes and seven punctuation codes,
    // each once; no other code is displayed (the generic Shift 0x10 in particular): only the
    // side-specific Shift codes light the Shift keys.
    std::set<int> expected{0x20, 0xA0, 0xA1, 0xBA, 0xBC, 0xBD, 0xBE, 0xBF, 0xC0, 0xDE};
    for (int vk = '0'; vk <= '9'; ++vk) expected.insert(vk);
    for (int vk = 'A'; vk <= 'Z'; ++vk) expected.insert(vk);
    std::set<int> codes;
    for (const KeyCap& key : layout) codes.insert(key.vk);
    EXPECT_EQ(codes, expected);
    EXPECT_EQ(codes.size(), layout.size());
    for (int vk : {0x10, 0xBB, 0xDC, 0x0D, physicalKey(0x2A)}) EXPECT_FALSE(isDisplayedKey(layout, vk)) << vk;
    EXPECT_TRUE(isDisplayedKey(layout, 0xA1));

    EXPECT_EQ(layout.front().vk, '1');
    EXPECT_EQ(layout.back().vk, 0x20);

    EXPECT_EQ(labelOf(layout, 0xBD), L"\u30FC");
    EXPECT_EQ(labelOf(layout, 0xDE), L":");
    EXPECT_EQ(labelOf(layout, 0xA1), L"Shift");
    EXPECT_EQ(labelOf(layout, 0x20), L"Space");
    EXPECT_EQ(labelOf(layout, 'M'), L"M");

    // A rebuild starts from an empty list, at the new metrics.
    LayoutMetrics m;
    updateMetrics(m, 2.0);
    buildLayout(layout, m, 2.0);
    EXPECT_EQ(layout.size(), static_cast<size_t>(DISPLAYED_KEY_COUNT));
    EXPECT_EQ(rectOf(layout, '1'), (Rect{28, 28, 124, 124}));
}
