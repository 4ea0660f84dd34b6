#include "render/frame.h"

#include <gtest/gtest.h>

#include "render/recording_canvas.h"
#include "render/resize_grip.h"
#include "render/speed_panel.h"
#include "render_test_support.h"

using render_test::Scene;

TEST(Frame, BackgroundKeysPanelAndGripInOrder) {
    Scene scene;
    scene.settings.style = STYLE_FILLED;
    RecordingCanvas canvas;
    drawFrame(canvas, scene.clientRect(), scene.context());
    const auto& calls = canvas.calls();
    ASSERT_EQ(scene.layout.size(), 46u);
    // Background, then a body and a label for each of the 46 keys, the panel's six calls
    // and the grip's six.
    ASSERT_EQ(calls.size(), 1u + 46 * 2 + 6 + 6);

    EXPECT_EQ(calls[0].rect, (Rect{0, 0, 932, 316}));
    EXPECT_EQ(calls[0].fill, COLOR_KEY);
    for (std::size_t i = 0; i < scene.layout.size(); ++i) EXPECT_EQ(calls[1 + 2 * i].rect, scene.layout[i].rect);
    EXPECT_EQ(calls[1 + 92].rect, speedPanelRect(scene.clientRect(), scene.metrics, 1.0));
    EXPECT_EQ(calls[1 + 92 + 6].rect, gripRect(scene.clientRect(), 1.0));
}

TEST(Frame, LabelsFollowTheLabelShiftState) {
    Scene scene;
    RecordingCanvas canvas;
    FrameContext shifted = scene.context();
    shifted.labelShift = true;
    drawFrame(canvas, scene.clientRect(), shifted);
    const auto texts = canvas.callsOf(DrawKind::Text);
    EXPECT_EQ(texts[10 + 1].text, L"Q");  // ten digits and the "ー" key come first
}

// Only the update area of a frame reaches the screen, so a frame drawn for it must agree
// with the whole frame on every call that can touch it, and leave out only keys that cannot.
TEST(Frame, UpdateAreaLeavesOutOnlyKeysThatCannotReachIt) {
    Scene scene;
    scene.settings.shadow = true;
    const int vkA = 0x41;
    const int vkS = 0x53;
    scene.keys.held[vkA] = true;
    scene.tap(vkS, 10);
    const Rect a = findKey(scene.layout, vkA)->rect;
    const Rect area = a.inflated(KEY_INVALIDATE_MARGIN, KEY_INVALIDATE_MARGIN);

    RecordingCanvas whole;
    drawFrame(whole, scene.clientRect(), scene.context());
    RecordingCanvas clipped;
    drawFrame(clipped, scene.clientRect(), scene.context(), area);

    auto keyCalls = [](const RecordingCanvas& c) {
        std::vector<Rect> rects;
        for (const DrawCall& call : c.callsOf(DrawKind::RoundRect)) rects.push_back(call.rect);
        return rects;
    };
    // "A" and its neighbours "S" (lit, grown) and "Q", "W", "Z" overlap the area; keys two
    // steps away do not.
    const auto drawn = keyCalls(clipped);
    EXPECT_LT(drawn.size(), keyCalls(whole).size());
    auto drew = [&](int vk) {
        const Rect r = findKey(scene.layout, vk)->rect;
        for (const Rect& d : drawn)
            if (d == r || d == r.inflated(6, 6)) return true;
        return false;
    };
    EXPECT_TRUE(drew(vkA));
    EXPECT_TRUE(drew(vkS));
    EXPECT_TRUE(drew('Q'));
    EXPECT_TRUE(drew('Z'));
    EXPECT_FALSE(drew('F'));
    EXPECT_FALSE(drew('1'));
    EXPECT_EQ(clipped.callsOf(DrawKind::Blend).size(), 2u);

    // Every call of the whole frame that is left out lies wholly outside the area.
    std::size_t next = 0;
    const auto& kept = clipped.calls();
    for (const DrawCall& call : whole.calls()) {
        if (next < kept.size() && call.kind == kept[next].kind && call.rect == kept[next].rect &&
            call.text == kept[next].text && call.placement == kept[next].placement) {
            ++next;
            continue;
        }
        const Rect reach = call.kind == DrawKind::Text ? call.placement.box : call.rect;
        EXPECT_TRUE(reach.right + 2 <= area.left || reach.left >= area.right || reach.bottom + 2 <= area.top ||
                    reach.top >= area.bottom);
    }
    EXPECT_EQ(next, kept.size());
}
