// The glow's pixels are computed for a quarter of the disc and mirrored; every pixel must
// still be exactly what the per-pixel rule gives.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "render/press_glow.h"

namespace {

// Alpha peak x (1 - d) x 255 rounded, d the squared elliptic distance from the centre,
// in GLOW_COLOR premultiplied; 0 outside the disc.
std::uint32_t expectedPixel(int x, int y, int w, int h, int peakAlpha) {
    const double cx = (w - 1) * 0.5;
    const double cy = (h - 1) * 0.5;
    const double rx = cx >= 1 ? cx : 1;
    const double ry = cy >= 1 ? cy : 1;
    const double d = ((x - cx) / rx) * ((x - cx) / rx) + ((y - cy) / ry) * ((y - cy) / ry);
    if (d > 1) return 0;
    const auto a = static_cast<std::uint32_t>(std::clamp(static_cast<int>(peakAlpha / 255.0 * (1 - d) * 255 + 0.5), 0, 255));
    return (a << 24) | (a * 255 / 255 << 16) | (a * 140 / 255 << 8);
}

}  // namespace

TEST(GlowPixels, EveryPixelFollowsTheRuleAtEverySizeAndStrength) {
    // Odd and even sides, one- and two-pixel discs, wide and tall rectangles, the sizes of
    // every scale, and peaks across the pulse and beyond it.
    const std::vector<std::pair<int, int>> sizes = {{1, 1}, {2, 2}, {3, 3}, {1, 7}, {9, 2},  {36, 36},
                                                    {39, 39}, {44, 44}, {50, 50}, {133, 133}, {60, 31}, {17, 80}};
    for (int peak : {0, 120, 160, 199, 200, 255, 300}) {
        for (auto [w, h] : sizes) {
            const std::vector<std::uint32_t> pixels = radialGlowPixels(w, h, peak);
            ASSERT_EQ(pixels.size(), static_cast<std::size_t>(w * h));
            int mismatches = 0;
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x)
                    mismatches += pixels[static_cast<std::size_t>(y * w + x)] != expectedPixel(x, y, w, h, peak);
            EXPECT_EQ(mismatches, 0) << w << " x " << h << " at peak " << peak;
        }
    }
}
