#include "render/resize_grip.h"

#include <gtest/gtest.h>

#include "render/recording_canvas.h"

TEST(ResizeGrip, SizeFollowsTheScaleWithinItsLimits) {
    EXPECT_EQ(gripSize(0.5), 18);
    EXPECT_EQ(gripSize(0.75), 18);  // 17 before the lower limit
    EXPECT_EQ(gripSize(1.0), 22);
    EXPECT_EQ(gripSize(1.25), 28);  // 27.5 rounds up
    EXPECT_EQ(gripSize(2.0), 40);
    EXPECT_EQ(gripSize(3.0), 40);
    EXPECT_EQ(gripRect({0, 0, 932, 316}, 1.0), (Rect{910, 294, 932, 316}));
}

TEST(ResizeGrip, SquareEdgeAndStrokesAtEveryScale) {
    const Rect client{0, 0, 932, 316};
    for (double scale : {0.5, 1.0, 2.0, 3.0}) {
        SCOPED_TRACE(scale);
        RecordingCanvas canvas;
        drawResizeGrip(canvas, client, scale);
        const auto& calls = canvas.calls();
        ASSERT_EQ(calls.size(), 6u);

        const Rect square = gripRect(client, scale);
        EXPECT_EQ(calls[0].kind, DrawKind::Fill);
        EXPECT_EQ(calls[0].rect, square);
        EXPECT_EQ(calls[0].fill, rgb(255, 128, 0));

        EXPECT_EQ(calls[1].kind, DrawKind::Polyline);
        EXPECT_EQ(calls[1].pen, rgb(180, 80, 0));
        EXPECT_EQ(calls[1].penWidth, 1);
        const std::vector<Point> edge{{square.left, square.top}, {932, square.top}, {932, 316}, {square.left, 316},
                                      {square.left, square.top}};
        EXPECT_EQ(calls[1].points, edge);

        // The strokes hang from the client's corner and do not grow with the square.
        const int reach[] = {4, 9, 14, 19};
        for (int i = 0; i < 4; ++i) {
            const DrawCall& stroke = calls[2 + i];
            EXPECT_EQ(stroke.pen, rgb(255, 255, 255));
            EXPECT_EQ(stroke.penWidth, 2);
            EXPECT_EQ(stroke.points, (std::vector<Point>{{932 - reach[i], 316}, {932, 316 - reach[i]}}));
        }
    }
}
