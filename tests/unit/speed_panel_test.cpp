#include "render/speed_panel.h"

#include <gtest/gtest.h>

#include "keyboard/keyboard_layout.h"
#include "render/recording_canvas.h"

namespace {
const Rect CLIENT{0, 0, 932, 316};
const Rect PANEL{798, 14, 918, 302};
constexpr Tick NOW = 50000;

struct Panel {
    Rect bar;
    std::wstring cpm;
    std::wstring cps;
    std::vector<DrawCall> calls;
};

Panel drawWithPresses(int presses, Tick newestAgo = 0, Tick now = NOW) {
    SpeedMeter meter;
    for (int i = presses - 1; i >= 0; --i) meter.pressTimes.push_back(now - newestAgo - static_cast<Tick>(i));
    RecordingCanvas canvas;
    drawSpeedPanel(canvas, PANEL, LayoutMetrics{}, meter, KeyColors{}, now);
    Panel p;
    p.calls = canvas.calls();
    p.bar = p.calls[2].rect;
    p.cpm = p.calls[4].text;
    p.cps = p.calls[5].text;
    return p;
}
}  // namespace

TEST(SpeedPanel, RectangleAtScaleOne) {
    LayoutMetrics m;
    EXPECT_EQ(speedPanelRect(CLIENT, m, 1.0), PANEL);
}

TEST(SpeedPanel, FrameBarAndTextsAtScaleOne) {
    const Panel p = drawWithPresses(10);
    const KeyColors colors;
    ASSERT_EQ(p.calls.size(), 6u);
    EXPECT_EQ(p.calls[0].rect, PANEL);
    EXPECT_EQ(p.calls[0].fill, rgb(245, 245, 245));
    EXPECT_EQ(p.calls[1].points,
              (std::vector<Point>{{804, 20}, {912, 20}, {912, 296}, {804, 296}, {804, 20}}));
    EXPECT_EQ(p.calls[1].pen, colors.lineN);

    EXPECT_EQ(p.bar, (Rect{814, 217, 902, 288}));  // 600 of 2000 CPM in a room of 236
    EXPECT_EQ(p.calls[2].fill, rgb(0, 120, 255));
    EXPECT_EQ(p.calls[3].kind, DrawKind::FrameRect);
    EXPECT_EQ(p.calls[3].rect, p.bar);
    EXPECT_EQ(p.calls[3].pen, colors.lineN);

    const DrawCall& cpm = p.calls[4];
    EXPECT_EQ(p.cpm, L"600");
    EXPECT_EQ(cpm.font, (TextFont{52, 900}));
    EXPECT_EQ(cpm.fill, colors.textN);
    EXPECT_EQ(cpm.origin, (Point{804 + (912 - cpm.extent.width - 804) / 2, 24}));
    const DrawCall& cps = p.calls[5];
    EXPECT_EQ(p.cps, L"10.00 CPS");
    EXPECT_EQ(cps.font, (TextFont{23, 700}));
    EXPECT_EQ(cps.origin, (Point{804 + (912 - cps.extent.width - 804) / 2, 82}));
}

TEST(SpeedPanel, EmptyAndCappedCounts) {
    const Panel none = drawWithPresses(0);
    EXPECT_EQ(none.bar.top, 288);
    EXPECT_EQ(none.cpm, L"0");
    EXPECT_EQ(none.cps, L"0.00 CPS");

    const Panel full = drawWithPresses(34);  // 2040 CPM
    EXPECT_EQ(full.bar.top, 52);
    EXPECT_EQ(full.cpm, L"2000");

    const Panel over = drawWithPresses(40);
    EXPECT_EQ(over.bar.top, 52);
    EXPECT_EQ(over.cpm, L"2000");
    EXPECT_EQ(over.cps, L"40.00 CPS");  // the per-second figure is not capped
}

TEST(SpeedPanel, CountsPressesOfTheLastSecondInclusive) {
    EXPECT_EQ(drawWithPresses(1, 1000).cpm, L"60");
    EXPECT_EQ(drawWithPresses(1, 1001).cpm, L"0");
    // Before the clock has run a second, every press counts.
    EXPECT_EQ(drawWithPresses(3, 0, 500).cps, L"3.00 CPS");
}

TEST(SpeedPanel, SmallPanelKeepsItsMinimumSizes) {
    SpeedMeter meter;
    meter.pressTimes = {NOW, NOW};
    RecordingCanvas canvas;
    const Rect tiny{100, 10, 130, 40};  // inner 18 x 18
    drawSpeedPanel(canvas, tiny, LayoutMetrics{}, meter, KeyColors{}, NOW);
    const auto& calls = canvas.calls();
    EXPECT_EQ(calls[2].rect.width(), 24);
    EXPECT_EQ(calls[2].rect.left, 106 + (124 - 24 - 106) / 2);
    EXPECT_EQ(calls[2].rect.bottom, 26);
    EXPECT_EQ(calls[4].font.height, 16);
    EXPECT_EQ(calls[5].font.height, 10);
}

// The figures are cut at the panel's refresh area, whatever their width: a flood of presses
// makes the CPS line as wide as it likes.
TEST(SpeedPanel, TheFiguresAreCutAtThePanelsRefreshArea) {
    for (double scale : {0.5, 0.8, 1.0, 1.25, 2.0, 3.0}) {
        LayoutMetrics m;
        updateMetrics(m, scale);
        KeyboardLayout layout;
        const Size window = buildLayout(layout, m, scale);
        const Rect panel = speedPanelRect({0, 0, window.width, window.height}, m, scale);
        const Rect reach = speedPanelReach(panel, m);
        EXPECT_EQ(reach, (Rect{panel.left - m.keyGap, panel.top, panel.right + m.keyGap, panel.bottom}));
        // Beside the keys, not over them.
        for (const KeyCap& key : layout) EXPECT_LE(key.rect.right, reach.left) << scale;
        SpeedMeter meter;
        for (int i = 0; i < 5000; ++i) meter.pressTimes.push_back(NOW - static_cast<Tick>(i % 1000));
        RecordingCanvas canvas;
        drawSpeedPanel(canvas, panel, m, meter, KeyColors{}, NOW);
        const auto texts = canvas.callsOf(DrawKind::Text);
        ASSERT_EQ(texts.size(), 2u);
        for (const DrawCall& call : texts) EXPECT_EQ(call.placement.clip, reach) << scale;
    }
}
