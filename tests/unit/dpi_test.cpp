// The window at every DPI: drawn at scale x DPI / 96, in real pixels.
#include <gtest/gtest.h>

#include <vector>

#include "control/scale_rules.h"
#include "control/window_placement.h"
#include "keyboard/keyboard_layout.h"
#include "keyboard/layout_metrics.h"
#include "render/frame.h"
#include "render/recording_canvas.h"
#include "render/resize_grip.h"
#include "render_test_support.h"

using render_test::Scene;

namespace {

Size windowAt(double scale, int dpi) { return windowSizeForScale(pixelScale(scale, dpi)); }

std::vector<DrawCall> frameOf(Scene& scene) {
    RecordingCanvas canvas;
    drawFrame(canvas, scene.clientRect(), scene.context());
    return canvas.calls();
}

}  // namespace

TEST(Dpi, MetricsFontsAndGripComeFromTheOneNumber) {
    LayoutMetrics m;
    updateMetrics(m, pixelScale(1.0, 144));
    EXPECT_EQ(m, (LayoutMetrics{72, 72, 12, 18, 21, 21, 550, 750, 1.5}));
    EXPECT_EQ(gripSize(m.pixelScale), 33);
    updateMetrics(m, pixelScale(1.0, 120));
    EXPECT_EQ(m, (LayoutMetrics{60, 60, 10, 15, 18, 18, 475, 675, 1.25}));
    EXPECT_EQ(gripSize(m.pixelScale), 28);
}

// The window at every DPI is the window of the user's scale times DPI / 96: 1.25 at 150 % is
// drawn at 1.875. The sizes at each scale are those of the keyboard's own test.
TEST(Dpi, TheDpiMultipliesTheScaleAndAnUnknownOrAbsurdOneIsTakenAsTheNearestUsable) {
    EXPECT_DOUBLE_EQ(pixelScale(1.0, 96), 1.0);
    EXPECT_DOUBLE_EQ(pixelScale(1.0, 120), 1.25);
    EXPECT_DOUBLE_EQ(pixelScale(1.0, 144), 1.5);
    EXPECT_DOUBLE_EQ(pixelScale(0.5, 192), 1.0);
    EXPECT_EQ(windowAt(1.25, 144), (Size{1747, 594}));
    EXPECT_DOUBLE_EQ(pixelScale(1.25, 0), 1.25);
    EXPECT_DOUBLE_EQ(pixelScale(1.25, -144), 1.25);
    EXPECT_DOUBLE_EQ(pixelScale(3.0, 1'000'000), 30.0);
    EXPECT_DOUBLE_EQ(pixelScale(1.0, 1), 0.5);
}

TEST(Dpi, AFrameAt144DpiIsTheFrameOfOneAndAHalfTimesTheScaleAt96) {
    for (int style : {STYLE_LABELS_ONLY, STYLE_FILLED, STYLE_OUTLINED}) {
        for (double scale : {1.0, 1.3, 2.0}) {
            SCOPED_TRACE(testing::Message() << "style " << style << " scale " << scale);
            Scene high(scale, 144), base(scale * 1.5, 96);
            for (Scene* scene : {&high, &base}) {
                scene->settings.style = style;
                scene->settings.shadow = true;
                scene->keys.held['A'] = true;
                scene->tap('K', 30);
                scene->meter.recordPress(scene->now - 200);
            }
            EXPECT_EQ(high.client, base.client);
            EXPECT_EQ(frameOf(high), frameOf(base));
        }
    }
}

TEST(Dpi, TheGripNeedsTheSameHandMovementAtEveryDpi) {
    const Modifiers none{};
    // 50 + 50 pixels at 96 DPI, or half as much again where the window is half as large again.
    EXPECT_DOUBLE_EQ(dragScale(1.0, 75, 75, none, 144), dragScale(1.0, 50, 50, none, 96));
    EXPECT_DOUBLE_EQ(dragScale(1.0, 100, 100, none, 192), dragScale(1.0, 50, 50, none));
}

TEST(Dpi, MovedToAnotherScreenTheWindowIsCentredOnTheRectangleTheSystemSuggests) {
    // 96 to 144 DPI: the system scales the window by 1.5, exactly the new size.
    EXPECT_EQ(placeForDpiChange({1900, 100, 3298, 574}, windowAt(1.0, 144)), (Rect{1900, 100, 3298, 574}));
    // 144 to 120 DPI: 1398 x 474 scaled is 1165 x 395, one pixel less than the metrics give.
    EXPECT_EQ(placeForDpiChange({-1300, 40, -135, 435}, windowAt(1.0, 120)), (Rect{-1300, 40, -134, 436}));
    EXPECT_EQ(placeForDpiChange({0, 0, 900, 300}, Size{932, 316}), (Rect{-16, -8, 916, 308}));
    const Rect edge = placeForDpiChange({2147483000, 0, 2147483600, 300}, Size{932, 316});
    EXPECT_EQ(edge.width(), 932);
    EXPECT_GE(edge.left, 2147483000 - 932);
}

TEST(Dpi, APositionSavedAtNinetySixDpiComesBackWhollyOnAScreenOfOneHundredFiftyPercent) {
    // An earlier version, which let Windows stretch it, saw a 2880 x 1800 screen at 150 % as
    // 1920 x 1200 and saved the place of its 932 x 316 window in those pixels. The same
    // numbers now name real pixels, and the window drawn for 144 DPI still fits there.
    const std::vector<Rect> screen{{0, 0, 2880, 1800}};
    const Size now = windowAt(1.0, 144);
    for (const WindowPosition saved : {WindowPosition{0, 0}, WindowPosition{988, 884}, WindowPosition{500, 300}}) {
        const WindowPosition opened = openingPosition(saved, now, screen);
        EXPECT_EQ(opened, saved);
        EXPECT_LE(opened.left + now.width, 2880);
        EXPECT_LE(opened.top + now.height, 1800);
    }
}
