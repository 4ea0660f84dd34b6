#include "render/pixel_rules.h"

#include "render/color_key.h"

namespace {

constexpr unsigned channel(Pixel p, int shift) { return (p >> shift) & 0xFFu; }

// x * scale / 255, rounded to nearest.
constexpr unsigned scaled(unsigned x, unsigned scale) { return (x * scale + 127) / 255; }

Pixel scaledPixel(Pixel p, unsigned scale) {
    return (scaled(channel(p, 24), scale) << 24) | (scaled(channel(p, 16), scale) << 16) |
           (scaled(channel(p, 8), scale) << 8) | scaled(channel(p, 0), scale);
}

}  // namespace

Pixel drawnPixel(Pixel written) {
    const Pixel colour = written & 0x00FFFFFFu;
    return colour == dibRgb(COLOR_KEY) ? CLEAR_PIXEL : (0xFF000000u | colour);
}

Pixel premultiplied(Color c, unsigned alpha) {
    if (alpha > 255) alpha = 255;
    return (alpha << 24) | (scaled(redOf(c), alpha) << 16) | (scaled(greenOf(c), alpha) << 8) | scaled(blueOf(c), alpha);
}

Pixel over(Pixel source, Pixel destination) {
    const unsigned keep = 255 - alphaOf(source);
    Pixel result = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const unsigned sum = channel(source, shift) + scaled(channel(destination, shift), keep);
        result |= (sum > 255 ? 255u : sum) << shift;
    }
    return result;
}

unsigned maskCoverage(Pixel mask) { return (channel(mask, 16) + channel(mask, 8) + channel(mask, 0) + 1) / 3; }

Pixel textPixel(Pixel before, Pixel drawn, Color color, unsigned coverage) {
    if (coverage == 0) return before;
    if (coverage > 255) coverage = 255;
    if (color == COLOR_KEY) return scaledPixel(before, 255 - coverage);
    if (alphaOf(before) == 255) return drawnPixel(drawn);
    return over(premultiplied(color, coverage), before);
}

Color keyedTextPixel(Color before, Color drawn, Color color, unsigned coverage) {
    if (before != COLOR_KEY) return drawn;
    return coverage >= 128 ? color : COLOR_KEY;
}
