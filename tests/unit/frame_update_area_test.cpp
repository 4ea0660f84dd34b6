// What a frame for a paint's update area draws: the background inside the area only, and
// the panel and the grip only when they can reach it.
#include <gtest/gtest.h>

#include <vector>

#include "render/frame.h"
#include "render/recording_canvas.h"
#include "render/resize_grip.h"
#include "render/speed_panel.h"
#include "render_test_support.h"

using render_test::Scene;

namespace {

class CountingQuery : public render_test::TypingQuery {
public:
    int capsLockReads = 0;
    bool capsLockOn() override {
        ++capsLockReads;
        return false;
    }
};

std::size_t countRoundRectsAt(const RecordingCanvas& canvas, const Rect& rect) {
    std::size_t n = 0;
    for (const DrawCall& call : canvas.callsOf(DrawKind::RoundRect)) n += call.rect == rect;
    return n;
}

bool drewFill(const RecordingCanvas& canvas, const Rect& rect) {
    for (const DrawCall& call : canvas.callsOf(DrawKind::Fill))
        if (call.rect == rect) return true;
    return false;
}

}  // namespace

TEST(FrameUpdateArea, BackgroundIsFilledInsideTheAreaWithinTheClient) {
    Scene scene;
    RecordingCanvas canvas;
    drawFrame(canvas, scene.clientRect(), scene.context(), Rect{-20, 100, 60, 140});
    ASSERT_FALSE(canvas.calls().empty());
    EXPECT_EQ(canvas.calls()[0].kind, DrawKind::Fill);
    EXPECT_EQ(canvas.calls()[0].rect, (Rect{0, 100, 60, 140}));
    EXPECT_EQ(canvas.calls()[0].fill, COLOR_KEY);
}

TEST(FrameUpdateArea, PanelAndGripAreDrawnWhenTheyCanReachTheArea) {
    Scene scene;
    const Rect client = scene.clientRect();
    const Rect panel = speedPanelRect(client, scene.metrics, 1.0);
    const Rect grip = gripRect(client, 1.0);

    RecordingCanvas farLeft;
    drawFrame(farLeft, client, scene.context(), findKey(scene.layout, 'A')->rect);
    EXPECT_FALSE(drewFill(farLeft, panel));
    EXPECT_FALSE(drewFill(farLeft, grip));

    // The panel's texts may spill past its sides into the gap beside the keys, so an area
    // just left of it still gets it; one over the keys does not.
    RecordingCanvas besidePanel;
    drawFrame(besidePanel, client, scene.context(), Rect{panel.left - 6, 100, panel.left - 2, 110});
    EXPECT_TRUE(drewFill(besidePanel, panel));
    EXPECT_FALSE(drewFill(besidePanel, grip));
    RecordingCanvas overKeys;
    drawFrame(overKeys, client, scene.context(), Rect{panel.left - 30, 100, panel.left - 20, 110});
    EXPECT_FALSE(drewFill(overKeys, panel));

    // The grip's strokes start a pixel left of its square.
    RecordingCanvas besideGrip;
    drawFrame(besideGrip, client, scene.context(), Rect{grip.left - 2, grip.bottom - 3, grip.left - 1, grip.bottom});
    EXPECT_TRUE(drewFill(besideGrip, grip));

    // The whole-window paint draws everything, each once.
    RecordingCanvas whole;
    drawFrame(whole, client, scene.context(), client);
    EXPECT_TRUE(drewFill(whole, panel));
    EXPECT_TRUE(drewFill(whole, grip));
    for (const KeyCap& key : scene.layout) EXPECT_EQ(countRoundRectsAt(whole, key.rect), 1u);
}

// Typing invalidates a lit key and the speed panel on the same tick; the keys between them
// are left out, and the background is filled in each rectangle of the region.
TEST(FrameUpdateArea, EachRectangleOfTheRegionCountsOnItsOwn) {
    Scene scene;
    const Rect client = scene.clientRect();
    const Rect a = findKey(scene.layout, 'A')->rect.inflated(KEY_INVALIDATE_MARGIN, KEY_INVALIDATE_MARGIN);
    const Rect panel = speedPanelRect(client, scene.metrics, 1.0);
    const std::vector<Rect> region{a, panel};
    RecordingCanvas canvas;
    drawFrame(canvas, client, scene.context(), region);

    EXPECT_TRUE(drewFill(canvas, a));
    EXPECT_TRUE(drewFill(canvas, panel));
    EXPECT_EQ(countRoundRectsAt(canvas, findKey(scene.layout, 'A')->rect), 1u);
    EXPECT_EQ(countRoundRectsAt(canvas, findKey(scene.layout, 'G')->rect), 0u);
    EXPECT_EQ(countRoundRectsAt(canvas, findKey(scene.layout, 0xA1)->rect), 0u);  // beside the panel, out of its reach
    EXPECT_EQ(canvas.callsOf(DrawKind::RoundRect).size(), 1u);  // "A" alone

    RecordingCanvas nothing;
    drawFrame(nothing, client, scene.context(), std::vector<Rect>{});
    EXPECT_TRUE(nothing.calls().empty());
}

TEST(FrameUpdateArea, CapsLockIsReadOncePerFrame) {
    Scene scene;
    CountingQuery query;
    const FrameContext context{scene.settings, scene.metrics, scene.layout, scene.keys, scene.meter, query, false,
                               scene.now};
    RecordingCanvas canvas;
    drawFrame(canvas, scene.clientRect(), context);
    EXPECT_EQ(query.capsLockReads, 1);
    drawFrame(canvas, scene.clientRect(), context);
    EXPECT_EQ(query.capsLockReads, 2);
}
