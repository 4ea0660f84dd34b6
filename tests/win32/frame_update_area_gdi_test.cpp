// A paint composes only what can reach its update area; inside that area the pixels must be
// those of the whole frame, for the areas every kind of invalidation produces, in every
// design and at the smallest, default and largest scales.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "render/back_buffer.h"
#include "render/frame.h"
#include "render/gdi_canvas_win32.h"
#include "render/resize_grip.h"
#include "render/speed_panel.h"
#include "tests/unit/render_test_support.h"

using render_test::Scene;

namespace {

// A colour no frame draws, left in the buffer wherever a partial frame draws nothing.
constexpr COLORREF UNDRAWN = RGB(1, 2, 3);

class Buffer {
public:
    Buffer(int width, int height) : width_(width), height_(height) {
        HDC screen = GetDC(nullptr);
        ensureBackBuffer(buffer_, width, height, screen);
        ReleaseDC(nullptr, screen);
    }
    ~Buffer() { releaseBackBuffer(buffer_); }
    Buffer(const Buffer&) = delete;
    Buffer& operator=(const Buffer&) = delete;

    void fill(COLORREF colour) {
        HBRUSH brush = CreateSolidBrush(colour);
        const RECT all{0, 0, width_, height_};
        FillRect(dc(), &all, brush);
        DeleteObject(brush);
    }

    void draw(Scene& scene, std::optional<Rect> updateArea) {
        GdiCanvas canvas(buffer_.dc);
        drawFrame(canvas, scene.clientRect(), scene.context(), updateArea);
    }
    void draw(Scene& scene, const std::vector<Rect>& updateRegion) {
        GdiCanvas canvas(buffer_.dc);
        drawFrame(canvas, scene.clientRect(), scene.context(), updateRegion);
    }

    // Every pixel as 0x00RRGGBB, rows top to bottom.
    std::vector<std::uint32_t> pixels() const {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width_;
        info.bmiHeader.biHeight = -height_;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        std::vector<std::uint32_t> out(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_));
        // GetDIBits wants the bitmap out of every DC while it reads it.
        HBITMAP placeholder = CreateCompatibleBitmap(dc(), 1, 1);
        SelectObject(dc(), placeholder);
        GetDIBits(dc(), static_cast<HBITMAP>(buffer_.bitmap), 0, static_cast<UINT>(height_), out.data(), &info,
                  DIB_RGB_COLORS);
        SelectObject(dc(), static_cast<HBITMAP>(buffer_.bitmap));
        DeleteObject(placeholder);
        return out;
    }

    HDC dc() const { return static_cast<HDC>(buffer_.dc); }

private:
    BackBuffer buffer_;
    int width_;
    int height_;
};

Rect clippedTo(const Rect& r, const Rect& client) {
    return {std::max(r.left, client.left), std::max(r.top, client.top), std::min(r.right, client.right),
            std::min(r.bottom, client.bottom)};
}

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

}  // namespace

TEST(FrameUpdateAreaGdi, PixelsInsideEveryUpdateAreaMatchTheWholeFrame) {
    for (double scale : {0.5, 1.0, 3.0}) {
        Scene scene(scale);
        busyScene(scene);
        const Rect client = scene.clientRect();
        for (int design = 0; design < 6; ++design) {
            const int style = design % 3;
            scene.settings.style = style;
            scene.settings.shadow = design >= 3;
            Buffer whole(client.width(), client.height());
            whole.draw(scene, std::nullopt);
            const std::vector<std::uint32_t> expected = whole.pixels();

            Buffer part(client.width(), client.height());
            for (const std::vector<Rect>& region : updateRegions(scene)) {
                part.fill(UNDRAWN);
                if (region.size() == 1)
                    part.draw(scene, region.front());
                else
                    part.draw(scene, region);
                const std::vector<std::uint32_t> actual = part.pixels();
                for (const Rect& area : region) {
                    const Rect inside = clippedTo(area, client);
                    int differences = 0;
                    for (int y = inside.top; y < inside.bottom; ++y)
                        for (int x = inside.left; x < inside.right; ++x) {
                            const auto i = static_cast<std::size_t>(y * client.width() + x);
                            differences += actual[i] != expected[i];
                        }
                    EXPECT_EQ(differences, 0) << "scale " << scale << " style " << style << " shadow "
                                              << scene.settings.shadow << " area (" << area.left
                                              << ", " << area.top << ", " << area.right << ", " << area.bottom
                                              << ") of " << region.size();
                }
            }
        }
    }
}
