#include "render/press_glow.h"

#include <gtest/gtest.h>

#include "render/recording_canvas.h"

namespace {
int alphaOf(std::uint32_t pixel) { return static_cast<int>(pixel >> 24); }

int sideAt(const Rect& d, Tick phase) { return glowRect(d, phase).width(); }
}  // namespace

TEST(PressGlow, SizeAndStrengthPulseOverThePeriod) {
    const Rect key{62, 134, 110, 182};
    const Rect grown = key.inflated(6, 6);
    EXPECT_EQ(sideAt(grown, 0), 44);
    EXPECT_EQ(sideAt(grown, 105), 50);
    EXPECT_EQ(sideAt(grown, 315), 39);
    EXPECT_EQ(sideAt(key, 0), 36);
    EXPECT_EQ(sideAt(key, 105), 40);
    EXPECT_EQ(sideAt(key, 315), 31);

    EXPECT_EQ(glowPeakAlpha(0), 160);
    EXPECT_EQ(glowPeakAlpha(105), 200);
    EXPECT_EQ(glowPeakAlpha(210), 160);
    EXPECT_EQ(glowPeakAlpha(315), 120);
}

TEST(PressGlow, SquareIsCentredInTheDrawingRectangleAndSizedByItsShorterSide) {
    const Rect space{110, 254, 494, 302};  // the space bar: 384 x 48
    const Rect g = glowRect(space, 0);
    EXPECT_EQ(g.width(), 36);
    EXPECT_EQ(g.height(), 36);
    EXPECT_EQ(g.left, (110 + 494 - 36) / 2);
    EXPECT_EQ(g.top, (254 + 302 - 36) / 2);
    for (Tick phase = 0; phase < GLOW_PERIOD_MS; phase += 7) {
        const Rect inside = glowRect(space, phase);
        EXPECT_TRUE(inside.left >= space.left && inside.right <= space.right && inside.top >= space.top &&
                    inside.bottom <= space.bottom);
    }
}

TEST(PressGlow, PhaseCountsFromTheLatestPressOrTheClockAlone) {
    EXPECT_EQ(glowPhase(1000, 1105), 105u);
    EXPECT_EQ(glowPhase(1000, 1000 + 420 + 315), 315u);
    EXPECT_EQ(glowPhase(0, 1000), 1000u % 420u);
}

TEST(PressGlow, DiscFadesFromThePeakAtTheCentreToNothingAtTheRim) {
    const int side = 41;
    const auto pixels = radialGlowPixels(side, side, 200);
    ASSERT_EQ(pixels.size(), 41u * 41u);
    auto at = [&](int x, int y) { return pixels[static_cast<std::size_t>(y * side + x)]; };

    const std::uint32_t centre = at(20, 20);
    EXPECT_EQ(alphaOf(centre), 200);
    EXPECT_EQ((centre >> 16) & 0xFF, 200u);            // red premultiplied: a
    EXPECT_EQ((centre >> 8) & 0xFF, 200u * 140 / 255);  // green premultiplied
    EXPECT_EQ(centre & 0xFF, 0u);

    // Midpoints of the edges lie on the rim; corners lie outside the disc.
    EXPECT_EQ(at(0, 20), 0u);
    EXPECT_EQ(at(40, 20), 0u);
    EXPECT_EQ(at(20, 0), 0u);
    EXPECT_EQ(at(0, 0), 0u);
    EXPECT_EQ(at(40, 40), 0u);
    EXPECT_EQ(at(3, 3), 0u);

    // Alpha never grows away from the centre along a row.
    for (int x = 21; x < side; ++x) EXPECT_LE(alphaOf(at(x, 20)), alphaOf(at(x - 1, 20)));
    EXPECT_GT(alphaOf(at(30, 20)), 0);
}

TEST(PressGlow, EmptyRectangleDrawsNothing) {
    RecordingCanvas canvas;
    blendRadialGlow(canvas, {10, 10, 10, 40}, 200);
    blendRadialGlow(canvas, {10, 10, 40, 5}, 200);
    EXPECT_TRUE(canvas.calls().empty());
    EXPECT_TRUE(radialGlowPixels(0, 5, 200).empty());

    // The smallest discs keep a radius of one pixel instead of dividing by zero.
    const auto one = radialGlowPixels(1, 1, 160);
    ASSERT_EQ(one.size(), 1u);
    EXPECT_EQ(alphaOf(one[0]), 160);
}

TEST(PressGlow, DrawnGlowUsesTheKeysLatestPress) {
    KeyStateTable keys;
    keys.everPressed[0x41] = true;
    keys.lastPress[0x41] = 5000;
    RecordingCanvas canvas;
    const Rect d{56, 128, 116, 188};
    drawPressGlow(canvas, d, 0x41, keys, 5105);
    ASSERT_EQ(canvas.calls().size(), 1u);
    const DrawCall& blend = canvas.calls()[0];
    EXPECT_EQ(blend.rect, glowRect(d, 105));
    EXPECT_EQ(blend.pixels, radialGlowPixels(50, 50, 200));
}
