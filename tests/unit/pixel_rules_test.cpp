#include "render/pixel_rules.h"

#include <gtest/gtest.h>

#include <vector>

#include "render/color_key.h"
#include "render/window_frames.h"

namespace {
constexpr Color TEXT = rgb(30, 30, 30);
constexpr Color BODY = rgb(230, 230, 230);
}  // namespace

// The per-pixel frame's pixels are a DIB's: 0xAARRGGBB, where a COLORREF is 0x00BBGGRR.
TEST(PixelRules, DrawnColoursAreOpaqueAndTheKeyColourSeeThrough) {
    EXPECT_EQ(opaquePixel(rgb(0x12, 0x34, 0x56)), 0xFF123456u);
    EXPECT_EQ(opaquePixel(COLOR_KEY), CLEAR_PIXEL);
    // Whatever the platform left in the alpha byte of a pixel it drew.
    EXPECT_EQ(drawnPixel(0x00A0A0A0u), 0xFFA0A0A0u);
    EXPECT_EQ(drawnPixel(0x7FFF00FFu), CLEAR_PIXEL);
    EXPECT_EQ(colorOfDibRgb(dibRgb(rgb(1, 2, 3))), rgb(1, 2, 3));
    // One unit off the key is a colour like any other, as the colour key shows it.
    EXPECT_EQ(opaquePixel(rgb(255, 1, 255)), 0xFFFF01FFu);
}

TEST(PixelRules, OverLeavesWhatAClearSourceLeavesAndCoversWhatAnOpaqueOneCovers) {
    const Pixel body = opaquePixel(BODY);
    EXPECT_EQ(over(CLEAR_PIXEL, body), body);
    EXPECT_EQ(over(opaquePixel(TEXT), body), opaquePixel(TEXT));
    const Pixel halfOrange = premultiplied(rgb(255, 140, 0), 128);
    EXPECT_EQ(over(halfOrange, CLEAR_PIXEL), halfOrange);  // the glow over nothing keeps its alpha
    EXPECT_EQ(alphaOf(over(halfOrange, body)), 255u);
    EXPECT_EQ(alphaOf(over(halfOrange, halfOrange)), 192u);
}

// Grey-level smoothing gives three equal channels; smoothing per channel is taken as grey.
TEST(PixelRules, CoverageIsTheMaskShareOfWhite) {
    EXPECT_EQ(maskCoverage(0x00000000u), 0u);
    EXPECT_EQ(maskCoverage(0x00FFFFFFu), 255u);
    EXPECT_EQ(maskCoverage(0x00808080u), 128u);
    EXPECT_EQ(maskCoverage(0x00FF8000u), 128u);
}

TEST(PixelRules, TextInThePerPixelFrame) {
    const Pixel body = opaquePixel(BODY);
    const Pixel blended = 0x008C8C8Cu;  // the platform's own blend of the text over the body
    // Over an opaque pixel: the platform's blend, opaque, as the colour-keyed frame has it.
    EXPECT_EQ(textPixel(body, blended, TEXT, 128), 0xFF8C8C8Cu);
    // Over nothing: the text's colour at its coverage.
    EXPECT_EQ(textPixel(CLEAR_PIXEL, 0x000F0F0Fu, TEXT, 128), premultiplied(TEXT, 128));
    EXPECT_EQ(textPixel(CLEAR_PIXEL, 0x001E1E1Eu, TEXT, 255), opaquePixel(TEXT));
    // Untouched by the glyph: what was there, whatever the platform wrote.
    EXPECT_EQ(textPixel(CLEAR_PIXEL, 0x00123456u, TEXT, 0), CLEAR_PIXEL);
    // Over a partly covered pixel: laid over it.
    const Pixel glowRim = premultiplied(rgb(255, 140, 0), 40);
    EXPECT_EQ(textPixel(glowRim, 0, TEXT, 200), over(premultiplied(TEXT, 200), glowRim));
    // Text in the key colour cuts holes by its coverage, as it makes see-through pixels in the
    // colour-keyed frame.
    EXPECT_EQ(textPixel(body, 0x00FF00FFu, COLOR_KEY, 255), CLEAR_PIXEL);
    EXPECT_EQ(alphaOf(textPixel(body, 0, COLOR_KEY, 64)), 191u);
}

TEST(PixelRules, SmoothedTextInTheColourKeyedFrameIsCutAtHalfCoverageOverTheKey) {
    const Color mixed = rgb(140, 15, 140);  // what blending with the key colour would give
    EXPECT_EQ(keyedTextPixel(COLOR_KEY, mixed, TEXT, 127), COLOR_KEY);
    EXPECT_EQ(keyedTextPixel(COLOR_KEY, mixed, TEXT, 128), TEXT);
    EXPECT_EQ(keyedTextPixel(COLOR_KEY, mixed, TEXT, 0), COLOR_KEY);
    // Over what is drawn, the smoothing stays.
    EXPECT_EQ(keyedTextPixel(BODY, rgb(140, 140, 140), TEXT, 100), rgb(140, 140, 140));
}

// The window is handed one changed rectangle: around every area of the paint, within the
// client area; nothing when no area meets it.
TEST(WindowFrames, TheDirtyRectangleSurroundsTheAreasWithinTheClient) {
    const Rect client{0, 0, 932, 316};
    const std::vector<Rect> keyAndPanel{{53, 125, 119, 191}, {790, 14, 926, 302}};
    EXPECT_EQ(dirtyRect(keyAndPanel, client), (Rect{53, 14, 926, 302}));
    const std::vector<Rect> atTheEdge{{-9, -9, 57, 57}};
    EXPECT_EQ(dirtyRect(atTheEdge, client), (Rect{0, 0, 57, 57}));
    const std::vector<Rect> outside{{1000, 0, 1100, 50}, {0, 400, 10, 410}};
    EXPECT_TRUE(dirtyRect(outside, client).empty());
    EXPECT_TRUE(dirtyRect({}, client).empty());
}

// The menu marks per-pixel alpha for any value but the colour key's; drawing follows the mark.
TEST(WindowFrames, EveryRenderModeButTheColourKeysIsPerPixel) {
    EXPECT_FALSE(usesPerPixelAlpha(RENDER_COLOR_KEY));
    EXPECT_TRUE(usesPerPixelAlpha(RENDER_PER_PIXEL));
    EXPECT_TRUE(usesPerPixelAlpha(7));
    EXPECT_TRUE(usesPerPixelAlpha(-1));
}
