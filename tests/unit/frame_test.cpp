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
    const Rect a = findKey(scene.layout, 'A')->rect;
    RecordingCanvas clipped;
    drawFrame(clipped, scene.clientRect(), scene.context(), a.inflated(KEY_INVALIDATE_MARGIN, KEY_INVALIDATE_MARGIN));

    std::vector<Rect> drawn;
    for (const DrawCall& call : clipped.callsOf(DrawKind::RoundRect)) drawn.push_back(call.rect);
    // "A" and the neighbours whose margins overlap its own: "Q", "W", "S", left Shift, "Z".
    std::vector<Rect> expected;
    for (int vk : {0x51, 0x57, 0x41, 0x53, 0xA0, 0x5A}) expected.push_back(findKey(scene.layout, vk)->rect);
    EXPECT_EQ(drawn, expected);
    EXPECT_EQ(clipped.callsOf(DrawKind::Text).size(), 6u);  // the panel is out of reach too
}
