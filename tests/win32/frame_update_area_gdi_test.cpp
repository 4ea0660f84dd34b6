// A paint composes only what can reach its update area, with fonts, the glow's bitmap and
// pictures of lit keys' faces kept from earlier frames; inside that area the pixels
// must be those of the whole frame drawn with objects made for each step, for the areas every
// kind of invalidation produces, in every design, at scales from the smallest to the largest,
// with Shift labels and several sets of lit keys; through the colour key and with per-pixel
// alpha.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <initializer_list>
#include <numeric>
#include <span>
#include <vector>

#include "render/alpha_canvas_win32.h"
#include "render/back_buffer.h"
#include "render/frame.h"
#include "render/gdi_canvas_win32.h"
#include "render/gdi_resources_win32.h"
#include "render/pixel_buffer.h"
#include "render/resize_grip.h"
#include "render/speed_panel.h"
#include "tests/unit/render_test_support.h"

using render_test::Scene;

namespace {

// The colour-keyed frame, drawn through GDI into a back buffer. The whole frame is drawn with
// objects made for each step; a paint's areas with the objects kept from frame to frame.
class ColourKeyedBuffer {
public:
    ColourKeyedBuffer(int width, int height) : width_(width), height_(height) {
        HDC screen = GetDC(nullptr);
        ensureBackBuffer(buffer_, width, height, screen);
        ReleaseDC(nullptr, screen);
    }
    ~ColourKeyedBuffer() { releaseBackBuffer(buffer_); }
    ColourKeyedBuffer(const ColourKeyedBuffer&) = delete;
    ColourKeyedBuffer& operator=(const ColourKeyedBuffer&) = delete;

    // A colour no frame draws, left wherever a partial frame draws nothing.
    void fillUndrawn() {
        HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
        const RECT all{0, 0, width_, height_};
        FillRect(dc(), &all, brush);
        DeleteObject(brush);
    }
    void drawWhole(Scene& scene) {
        GdiCanvas canvas(buffer_.dc, nullptr);
        drawFrame(canvas, scene.clientRect(), scene.context(), std::nullopt);
    }
    void draw(Scene& scene, const std::vector<Rect>& updateRegion, GdiResources& kept) {
        GdiCanvas canvas(buffer_.dc, &kept);
        drawFrame(canvas, scene.clientRect(), scene.context(), updateRegion);
    }

    // The pixels of one rectangle as 0x00RRGGBB, rows top to bottom, copied out through a
    // bitmap of its own size.
    std::vector<std::uint32_t> pixels(const Rect& r) const {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = r.width();
        info.bmiHeader.biHeight = -r.height();
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        HBITMAP copy = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        HDC copyDc = CreateCompatibleDC(nullptr);
        HGDIOBJ previous = SelectObject(copyDc, copy);
        BitBlt(copyDc, 0, 0, r.width(), r.height(), dc(), r.left, r.top, SRCCOPY);
        GdiFlush();
        const auto* first = static_cast<const std::uint32_t*>(bits);
        std::vector<std::uint32_t> out(first, first + static_cast<std::size_t>(r.width()) * static_cast<std::size_t>(r.height()));
        SelectObject(copyDc, previous);
        DeleteDC(copyDc);
        DeleteObject(copy);
        for (std::uint32_t& p : out) p &= 0x00FFFFFF;
        return out;
    }

    HDC dc() const { return static_cast<HDC>(buffer_.dc); }

private:
    BackBuffer buffer_;
    int width_;
    int height_;
};

// The per-pixel frame, composed with its alpha into a pixel buffer: the whole frame with
// objects of its own, a paint's areas with the objects kept from frame to frame.
class PerPixelBuffer {
public:
    PerPixelBuffer(int width, int height) { ensurePixelBuffer(buffer_, width, height); }
    ~PerPixelBuffer() { releasePixelBuffer(buffer_); }
    PerPixelBuffer(const PerPixelBuffer&) = delete;
    PerPixelBuffer& operator=(const PerPixelBuffer&) = delete;

    // No pixel a frame draws: invalid as premultiplied.
    void fillUndrawn() {
        std::fill_n(buffer_.pixels, static_cast<std::size_t>(buffer_.width) * static_cast<std::size_t>(buffer_.height),
                    0x01020304u);
    }
    void drawWhole(Scene& scene) {
        GdiResources fresh;
        const Rect client = scene.clientRect();
        draw(scene, std::span<const Rect>(&client, 1), fresh);
    }
    void draw(Scene& scene, std::span<const Rect> region, GdiResources& kept) {
        AlphaCanvas canvas(buffer_, kept);
        drawFrame(canvas, scene.clientRect(), scene.context(), region);
        GdiFlush();
    }
    std::vector<std::uint32_t> pixels(const Rect& r) const {
        std::vector<std::uint32_t> out;
        for (int y = r.top; y < r.bottom; ++y) {
            const std::uint32_t* row = buffer_.pixels + static_cast<std::size_t>(y) * static_cast<std::size_t>(buffer_.width);
            out.insert(out.end(), row + r.left, row + r.right);
        }
        return out;
    }

private:
    PixelBuffer buffer_;
};

Rect keyArea(const Scene& scene, int vk) {
    return findKey(scene.layout, vk)->rect.inflated(KEY_INVALIDATE_MARGIN, KEY_INVALIDATE_MARGIN);
}

// The update regions a paint meets, as their rectangles: each key's invalidated area, the
// speed panel, the whole window, thin strips beside the panel and the grip (which only their
// spill reaches), and the regions of typing: lit keys far apart together with the panel.
std::vector<std::vector<Rect>> updateRegions(const Scene& scene) {
    const Rect client = scene.clientRect();
    std::vector<std::vector<Rect>> regions;
    for (const KeyCap& key : scene.layout) regions.push_back({key.rect.inflated(KEY_INVALIDATE_MARGIN, KEY_INVALIDATE_MARGIN)});
    const Rect panel = speedPanelRect(client, scene.metrics, scene.settings.scale);
    const Rect grip = gripRect(client, scene.settings.scale);
    regions.push_back({panel});
    regions.push_back({client});
    regions.push_back({{panel.left - 12, panel.top, panel.left, panel.bottom}});
    regions.push_back({{grip.left - 3, grip.top - 3, grip.left, client.bottom}});
    regions.push_back({keyArea(scene, 'A'), panel});
    regions.push_back({keyArea(scene, 'Q'), keyArea(scene, 'M'), {grip.left - 3, grip.top, client.right, client.bottom}});
    return regions;
}

// Lit keys on every row and at the panel's side, a tap fading out, and a full speed panel
// (2000 CPM, its widest figure).
void busyScene(Scene& scene) {
    for (int vk : {int{'A'}, int{'1'}, int{'P'}, 0xBD, 0xDE, 0xA1, 0x20}) scene.keys.held[vk] = true;
    scene.tap('S', 30);
    scene.tap('0', 120);
    for (Tick t = 0; t < 40; ++t) scene.meter.pressTimes.push_back(scene.now - 999 + t * 20);
}

// Every key held, each pressed at another moment so that the glows differ in size.
void everyKeyHeld(Scene& scene) {
    for (std::size_t i = 0; i < scene.layout.size(); ++i) {
        const int vk = scene.layout[i].vk;
        scene.keys.held[vk] = true;
        scene.tap(vk, 37 * static_cast<Tick>(i));
    }
    scene.meter.pressTimes.push_back(scene.now - 10);
}

// Keys at the very moment of their key-down: far apart, side by side (a neighbour's growth
// reaches into the other's area, so only the first of them is copied from its kept picture),
// and the first key of the layout, which no key is drawn before.
void justPressedScene(Scene& scene) {
    for (int vk : {int{'E'}, int{'R'}, int{'M'}, int{'1'}, 0x20, scene.layout.front().vk}) {
        scene.keys.held[vk] = true;
        scene.tap(vk, 0);
    }
    scene.tap('J', 0);  // released already, within its lit time
    scene.meter.pressTimes.push_back(scene.now);
}

enum class Keys { Busy, BusyShifted, EveryKeyHeld, JustPressed, JustPressedShifted };

std::size_t differing(const std::vector<std::uint32_t>& actual, const std::vector<std::uint32_t>& expected) {
    return std::inner_product(actual.begin(), actual.end(), expected.begin(), std::size_t{0}, std::plus<>(),
                              [](std::uint32_t a, std::uint32_t b) { return std::size_t{a != b}; });
}

Scene sceneOf(double scale, Keys keys) {
    Scene scene(scale);
    scene.query.characters = {{0xBA, {L';', L':'}}, {0xDE, {L':', L'*'}}, {0xBD, {L'-', L'='}}, {'1', {L'1', L'!'}}};
    if (keys == Keys::EveryKeyHeld)
        everyKeyHeld(scene);
    else if (keys == Keys::JustPressed || keys == Keys::JustPressedShifted)
        justPressedScene(scene);
    else
        busyScene(scene);
    scene.labelShift = keys == Keys::BusyShifted || keys == Keys::JustPressedShifted;
    return scene;
}

// Draws every update region of every scene over an undrawn frame and expects the pixels inside
// each of its areas to be those of the whole frame. The kept objects are warm, and made to
// evict, by every case before the next.
template <class Frame>
void expectEveryUpdateAreaToMatchTheWholeFrame(std::initializer_list<double> scales, std::initializer_list<Keys> keySets,
                                               bool smoothedTextToo) {
    GdiResources kept;
    for (double scale : scales) {
        for (Keys keys : keySets) {
            Scene scene = sceneOf(scale, keys);
            const Rect client = scene.clientRect();
            for (int design = 0; design < 6; ++design) {
                scene.settings.style = design % 3;
                scene.settings.shadow = design >= 3;
                if (smoothedTextToo) scene.settings.aa = design % 2 == 1;
                Frame whole(client.width(), client.height());
                whole.drawWhole(scene);
                Frame part(client.width(), client.height());
                for (const std::vector<Rect>& region : updateRegions(scene)) {
                    part.fillUndrawn();
                    part.draw(scene, region, kept);
                    for (const Rect& area : region) {
                        const Rect inside = intersection(area, client);
                        const std::size_t differences = differing(part.pixels(inside), whole.pixels(inside));
                        EXPECT_EQ(differences, 0u) << "scale " << scale << " keys " << static_cast<int>(keys)
                                                   << " style " << scene.settings.style << " shadow "
                                                   << scene.settings.shadow << " aa " << scene.settings.aa
                                                   << " area (" << area.left << ", " << area.top << ", "
                                                   << area.right << ", " << area.bottom << ") of " << region.size();
                    }
                }
            }
        }
    }
}

}  // namespace

TEST(FrameUpdateAreaGdi, PixelsInsideEveryUpdateAreaMatchTheWholeFrame) {
    expectEveryUpdateAreaToMatchTheWholeFrame<ColourKeyedBuffer>(
        {0.5, 0.8, 1.0, 1.25, 3.0},
        {Keys::Busy, Keys::BusyShifted, Keys::EveryKeyHeld, Keys::JustPressed, Keys::JustPressedShifted}, false);
}

TEST(FrameUpdateAreaGdi, PerPixelPixelsInsideEveryUpdateAreaMatchTheWholeFrame) {
    expectEveryUpdateAreaToMatchTheWholeFrame<PerPixelBuffer>(
        {0.5, 1.0, 1.25}, {Keys::Busy, Keys::EveryKeyHeld, Keys::JustPressedShifted}, true);
}
