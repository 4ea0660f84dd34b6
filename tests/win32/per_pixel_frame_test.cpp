// Frames composed with per-pixel alpha, read back pixel by pixel against the colour-keyed
// frame of the same moment (its twin): in every design, at the smallest, the default and the
// largest scale, idle and with lit keys, with and without smoothed text.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <sstream>
#include <vector>

#include "render/back_buffer.h"
#include "render/gdi_canvas_win32.h"
#include "render/gdi_resources_win32.h"
#include "render/key_drawing.h"
#include "render/pixel_buffer.h"
#include "render/pixel_rules.h"
#include "render/press_glow.h"
#include "render/speed_panel.h"
#include "render/window_frames.h"
#include "tests/unit/render_test_support.h"
#include "tests/win32/whole_frame_win32.h"

using render_test::Scene;

namespace {

// The pixels of a DC's bitmap as 0x00RRGGBB, rows top to bottom.
std::vector<Pixel> readBack(HDC dc, int width, int height) {
    PixelBuffer copy;
    if (!ensurePixelBuffer(copy, width, height)) return {};
    BitBlt(static_cast<HDC>(copy.dc), 0, 0, width, height, dc, 0, 0, SRCCOPY);
    GdiFlush();
    std::vector<Pixel> out(copy.pixels, copy.pixels + static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    releasePixelBuffer(copy);
    for (Pixel& p : out) p &= 0x00FFFFFF;
    return out;
}

std::vector<Pixel> colorKeyedFrame(Scene& scene, GdiResources& kept) {
    const Rect client = scene.clientRect();
    BackBuffer buffer;
    HDC screen = GetDC(nullptr);
    ensureBackBuffer(buffer, client.width(), client.height(), screen);
    ReleaseDC(nullptr, screen);
    GdiCanvas canvas(buffer.dc, &kept);
    drawFrame(canvas, client, scene.context());
    std::vector<Pixel> pixels = readBack(static_cast<HDC>(buffer.dc), client.width(), client.height());
    releaseBackBuffer(buffer);
    return pixels;
}

unsigned red(Pixel p) { return (p >> 16) & 0xFF; }
unsigned green(Pixel p) { return (p >> 8) & 0xFF; }
unsigned blue(Pixel p) { return p & 0xFF; }

// Red and blue both well above green: magenta, or a colour mixed with it.
bool magentaTinted(unsigned r, unsigned g, unsigned b) { return std::min(r, b) > g + 16; }

// A premultiplied pixel seen over black and over white, the two ends of what may lie behind.
bool tintedOverAnything(Pixel p) {
    const unsigned clear = 255 - alphaOf(p);
    return magentaTinted(red(p), green(p), blue(p)) ||
           magentaTinted(red(p) + clear, green(p) + clear, blue(p) + clear);
}

bool validPremultiplied(Pixel p) {
    const unsigned a = alphaOf(p);
    return red(p) <= a && green(p) <= a && blue(p) <= a;
}

// Keys held on every row and beside the panel, one at the glow's strongest moment, one just
// pressed, and the speed panel at 600 CPM.
void lightKeys(Scene& scene) {
    for (int vk : {int{'Q'}, int{'1'}, int{'P'}, 0xBD, 0xA1, 0x20}) scene.keys.held[vk] = true;
    scene.tap('A', 105);
    scene.keys.held['M'] = true;
    scene.tap('M', 0);
    for (int i = 0; i < 10; ++i) scene.meter.pressTimes.push_back(scene.now - 50 * i);
}

// The drawing rectangles of the lit keys: where a glow may lie.
std::vector<Rect> litReaches(const Scene& scene) {
    std::vector<Rect> reaches;
    for (const KeyCap& key : scene.layout)
        if (scene.keys.isLit(key.vk, scene.now)) reaches.push_back(keyDrawingRect(key, true, scene.settings.style));
    return reaches;
}

// Where anything is drawn: every key (grown while lit, with its shadow) and the speed panel
// with the room beside it that its figures may reach.
std::vector<Rect> drawnReaches(const Scene& scene) {
    std::vector<Rect> reaches;
    for (const KeyCap& key : scene.layout)
        reaches.push_back(keyDrawingRect(key, scene.keys.isLit(key.vk, scene.now), scene.settings.style)
                              .inflated(SHADOW_OFFSET, SHADOW_OFFSET));
    reaches.push_back(speedPanelReach(speedPanelRect(scene.clientRect(), scene.metrics, scene.settings.scale),
                                      scene.metrics));
    return reaches;
}

bool inside(const std::vector<Rect>& rects, Point at) {
    return std::any_of(rects.begin(), rects.end(), [&](const Rect& r) { return r.contains(at); });
}

struct Comparison {
    int opaqueMismatches = 0;   // opaque, but not the twin's colour
    int lostPixels = 0;         // see-through where the twin shows something of its own
    int showsKeyColour = 0;     // opaque where the twin is see-through
    int invalid = 0;            // colour channels above the alpha
    int tinted = 0;             // magenta-tinted over some background
    int stray = 0;              // partly covered, away from every key and the panel
    std::string firstProblem;
};

void note(Comparison& c, int& count, const char* what, Point at, Pixel p, Pixel twin) {
    ++count;
    if (!c.firstProblem.empty()) return;
    std::ostringstream out;
    out << what << " at (" << at.x << ", " << at.y << "): " << std::hex << p << " against the twin's " << twin;
    c.firstProblem = out.str();
}

// Partly covered pixels are smoothed edges (of text, or of the glow): the twin shows them
// mixed with the key colour, or cut. Elsewhere the two agree: opaque in the same colour where
// the twin draws, see-through where it shows the key. Where a glow lies over a smoothed edge,
// the twin's mixture with the key, or its cut edge, is not to be matched either.
Comparison compare(const std::vector<Pixel>& perPixel, const std::vector<Pixel>& twin, int width,
                   const std::vector<Rect>& glows, const std::vector<Rect>& drawn) {
    Comparison c;
    const Pixel key = dibRgb(COLOR_KEY);
    for (std::size_t i = 0; i < perPixel.size(); ++i) {
        const Pixel p = perPixel[i];
        const Pixel t = twin[i];
        const Point at{static_cast<int>(i % static_cast<std::size_t>(width)), static_cast<int>(i / static_cast<std::size_t>(width))};
        const unsigned a = alphaOf(p);
        const bool twinMixed = t == key || magentaTinted(red(t), green(t), blue(t));
        if (!validPremultiplied(p)) note(c, c.invalid, "invalid", at, p, t);
        if (a > 0 && tintedOverAnything(p)) note(c, c.tinted, "tinted", at, p, t);
        if (a > 0 && a < 255) {
            if (!inside(drawn, at)) note(c, c.stray, "stray edge", at, p, t);
            continue;
        }
        if (twinMixed && inside(glows, at)) continue;
        if (a == 255 && t == key) note(c, c.showsKeyColour, "opaque over the key", at, p, t);
        else if (a == 255 && (p & 0x00FFFFFF) != t) note(c, c.opaqueMismatches, "colour", at, p, t);
        else if (a == 0 && !twinMixed) note(c, c.lostPixels, "lost", at, p, t);
    }
    return c;
}

int tintedOutside(const std::vector<Pixel>& frame, int width, const std::vector<Rect>& allowed) {
    int count = 0;
    for (std::size_t i = 0; i < frame.size(); ++i) {
        const Point at{static_cast<int>(i % static_cast<std::size_t>(width)), static_cast<int>(i / static_cast<std::size_t>(width))};
        const Pixel p = frame[i];
        if (magentaTinted(red(p), green(p), blue(p)) && p != dibRgb(COLOR_KEY) &&
            std::none_of(allowed.begin(), allowed.end(), [&](const Rect& r) { return r.contains(at); }))
            ++count;
    }
    return count;
}

}  // namespace

TEST(PerPixelFrame, MatchesItsColourKeyedTwinWithoutAMagentaFringe) {
    GdiResources kept;
    for (double scale : {0.5, 1.0, 3.0}) {
        for (bool lit : {false, true}) {
            Scene scene(scale);
            if (lit) lightKeys(scene);
            for (int style = 0; style < 3; ++style) {
                for (bool aa : {false, true}) {
                    scene.settings.style = style;
                    scene.settings.aa = aa;
                    scene.settings.shadow = lit;
                    const std::vector<Pixel> perPixel = wholePerPixelFrame(scene, kept);
                    const std::vector<Pixel> twin = colorKeyedFrame(scene, kept);
                    ASSERT_EQ(perPixel.size(), twin.size());
                    ASSERT_FALSE(perPixel.empty());
                    const Comparison c =
                        compare(perPixel, twin, scene.client.width, litReaches(scene), drawnReaches(scene));
                    SCOPED_TRACE(::testing::Message() << "scale " << scale << (lit ? " lit" : " idle") << " style "
                                                      << style << " aa " << aa << ": " << c.firstProblem);
                    EXPECT_EQ(c.opaqueMismatches, 0);
                    EXPECT_EQ(c.lostPixels, 0);
                    EXPECT_EQ(c.showsKeyColour, 0);
                    EXPECT_EQ(c.invalid, 0);
                    EXPECT_EQ(c.tinted, 0);
                    EXPECT_EQ(c.stray, 0);
                    // With smoothing chosen, the colour-keyed twin has no fringe either, but for
                    // the glow's rim, which the colour key cannot show otherwise.
                    if (aa) EXPECT_EQ(tintedOutside(twin, scene.client.width, litReaches(scene)), 0);
                }
            }
        }
    }
}

// The check above would see a fringe: the colour-keyed frame with the platform's own
// smoothing has one around every label of the labels-only design.
TEST(PerPixelFrame, TheDefaultColourKeyedLabelsShowTheFringeItIsComparedAgainst) {
    GdiResources kept;
    Scene scene;
    scene.settings.style = STYLE_LABELS_ONLY;
    const std::vector<Pixel> twin = colorKeyedFrame(scene, kept);
    EXPECT_GT(tintedOutside(twin, scene.client.width, {}), 500);
}

// The glow over the see-through background keeps its own alpha: at its centre the pixel is
// the glow's own, neither mixed with the key colour nor made opaque.
TEST(PerPixelFrame, TheGlowOverNothingKeepsItsOwnAlpha) {
    GdiResources kept;
    Scene scene;
    scene.settings.style = STYLE_LABELS_ONLY;
    KeyCap a = *findKey(scene.layout, 'A');
    a.label = {};
    scene.layout = {a};
    scene.query.characters.clear();
    scene.tap('A', 105);  // peak alpha 200, glow square (66, 138, 106, 178)
    const std::vector<Pixel> frame = wholePerPixelFrame(scene, kept);
    const int width = scene.client.width;
    const Pixel centre = frame[static_cast<std::size_t>(157 * width + 85)];
    EXPECT_NEAR(static_cast<int>(alphaOf(centre)), 200, 3);
    EXPECT_NEAR(static_cast<int>(red(centre)), 200, 3);
    EXPECT_NEAR(static_cast<int>(green(centre)), 200 * 140 / 255, 3);
    EXPECT_EQ(blue(centre), 0u);
    EXPECT_EQ(frame[static_cast<std::size_t>(158 * width + 64)], CLEAR_PIXEL);  // outside the disc
}
