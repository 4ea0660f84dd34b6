#include "render/press_glow.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {
// The exact doubles the glow was tuned with, kept as they are so that every size and alpha
// of the pulse comes out the same to the pixel.
constexpr double PULSE_PI = 3.1415926535;
constexpr double SIZE_FACTOR = 0.78;
constexpr double PULSE_MIDDLE = 0.9750000000000001;
constexpr double PULSE_SWING = 0.12500000000000006;

double pulse(Tick phase) {
    return std::sin(static_cast<double>(phase) / static_cast<double>(GLOW_PERIOD_MS) * 2 * PULSE_PI);
}

constexpr std::uint32_t glowPixel(std::uint32_t a) {
    const std::uint32_t red = a * redOf(GLOW_COLOR) / 255;
    const std::uint32_t green = a * greenOf(GLOW_COLOR) / 255;
    const std::uint32_t blue = a * blueOf(GLOW_COLOR) / 255;
    return (a << 24) | (red << 16) | (green << 8) | blue;
}

// GLOW_COLOR premultiplied by every alpha.
constexpr std::array<std::uint32_t, 256> GLOW_PIXELS = [] {
    std::array<std::uint32_t, 256> pixels{};
    for (std::uint32_t a = 0; a < 256; ++a) pixels[a] = glowPixel(a);
    return pixels;
}();
}  // namespace

Tick glowPhase(Tick lastPress, Tick now) {
    return (lastPress == 0 ? now : now - lastPress) % GLOW_PERIOD_MS;
}

Rect glowRect(const Rect& d, Tick phase) {
    const int shorter = std::min(d.width(), d.height());
    const int base = static_cast<int>(shorter * SIZE_FACTOR);
    const int side = static_cast<int>((PULSE_MIDDLE + PULSE_SWING * pulse(phase)) * base);
    const int left = (d.left + d.right - side) / 2;
    const int top = (d.top + d.bottom - side) / 2;
    return {left, top, left + side, top + side};
}

int glowPeakAlpha(Tick phase) {
    return std::clamp(static_cast<int>(160 + 40 * pulse(phase)), 0, 255);
}

// The disc is symmetric about both centre lines, and x - cx is exact in double precision
// (whole and half numbers), so a pixel and its mirror images get bit-identical distances.
// Only one quarter is computed, each row from the centre outwards until the distance
// passes the rim, which it never comes back inside. A column's squared distance is the same
// on every row, so it is worked out once.
std::vector<std::uint32_t> radialGlowPixels(int w, int h, int peakAlpha) {
    if (w <= 0 || h <= 0) return {};
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), 0);
    const double cx = (w - 1) * 0.5;
    const double cy = (h - 1) * 0.5;
    const double rx = cx >= 1 ? cx : 1;
    const double ry = cy >= 1 ? cy : 1;
    const double peak = peakAlpha / 255.0;
    std::vector<double> columnTerms(static_cast<std::size_t>((w + 1) / 2));
    for (std::size_t x = 0; x < columnTerms.size(); ++x) {
        const double dx = (static_cast<int>(x) - cx) / rx;
        columnTerms[x] = dx * dx;
    }
    const auto row = [&](int y) { return pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(w); };
    for (int y = 0; y < (h + 1) / 2; ++y) {
        const double dy = (y - cy) / ry;
        const double rowTerm = dy * dy;
        std::uint32_t* top = row(y);
        std::uint32_t* bottom = row(h - 1 - y);
        for (int x = (w - 1) / 2; x >= 0; --x) {
            const double d = columnTerms[static_cast<std::size_t>(x)] + rowTerm;
            if (d > 1) break;
            const std::uint32_t pixel = GLOW_PIXELS[static_cast<std::size_t>(
                std::clamp(static_cast<int>(peak * (1 - d) * 255 + 0.5), 0, 255))];
            top[x] = top[w - 1 - x] = bottom[x] = bottom[w - 1 - x] = pixel;
        }
    }
    return pixels;
}

void blendRadialGlow(Canvas& canvas, const Rect& r, int peakAlpha) {
    if (r.empty()) return;
    const std::vector<std::uint32_t> pixels = radialGlowPixels(r.width(), r.height(), peakAlpha);
    canvas.blendPremultiplied(r, pixels.data());
}

void drawPressGlow(Canvas& canvas, const Rect& d, int vk, const KeyStateTable& keys, Tick now) {
    const Tick phase = glowPhase(keys.lastPressTick(vk), now);
    blendRadialGlow(canvas, glowRect(d, phase), glowPeakAlpha(phase));
}
