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

// The pixels stay the same inside the area (checked on GDI under Wine); here, that keys out
// of reach are really left out and those within reach are not.
TEST(Frame, UpdateAreaLeavesOutKeysThatCannotReachIt) {
    Scene scene;
    const Rect area = findKey(scene.layout, 'A')->rect.inflated(KEY_INVALIDATE_MARGIN, KEY_INVALIDATE_MARGIN);
    auto drawnKeys = [&] {
        RecordingCanvas clipped;
        drawFrame(clipped, scene.clientRect(), scene.context(), area);
        std::vector<Rect> drawn;
        for (const DrawCall& call : clipped.callsOf(DrawKind::RoundRect)) drawn.push_back(call.rect);
        return drawn;
    };
    auto rectsOf = [&](std::initializer_list<int> vks) {
        std::vector<Rect> rects;
        for (int vk : vks) rects.push_back(findKey(scene.layout, vk)->rect);
        return rects;
    };

    // "A" alone: its margin ends where "S", 8 pixels away, begins; the rows above and below
    // are 12 pixels away. The panel is out of reach too.
    EXPECT_EQ(drawnKeys(), rectsOf({'A'}));
    // A lit "W" grows by 6 pixels, down into A's area; its drawing rectangle is drawn.
    scene.keys.held['W'] = true;
    const std::vector<Rect> withW = drawnKeys();
    ASSERT_EQ(withW.size(), 2u);
    EXPECT_EQ(withW[0], findKey(scene.layout, 'W')->rect.inflated(6, 6));
    EXPECT_EQ(withW[1], findKey(scene.layout, 'A')->rect);
}

// Below the default scale the keys stand closer than a lit key's reach, and a repaint of one
// takes in the edges of its neighbours.
TEST(Frame, AtScale09ALitKeysAreaTakesInItsNeighboursEdges) {
    Scene scene(0.9);
    const Rect area = findKey(scene.layout, 'A')->rect.inflated(KEY_INVALIDATE_MARGIN, KEY_INVALIDATE_MARGIN);
    RecordingCanvas canvas;
    drawFrame(canvas, scene.clientRect(), scene.context(), area);
    std::vector<Rect> drawn;
    for (const DrawCall& call : canvas.callsOf(DrawKind::RoundRect)) drawn.push_back(call.rect);
    EXPECT_EQ(drawn, (std::vector<Rect>{findKey(scene.layout, 'A')->rect, findKey(scene.layout, 'S')->rect}));
}
