// A real layered window shown with per-pixel alpha: it takes its picture after it was given a
// colour key, takes the colour key back, and keeps the pixels outside each paint's areas.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "render/gdi_resources_win32.h"
#include "render/pixel_rules.h"
#include "render/window_frames.h"
#include "tests/unit/render_test_support.h"
#include "tests/win32/test_window_class_win32.h"
#include "tests/win32/whole_frame_win32.h"

using render_test::Scene;

namespace {

constexpr wchar_t CLASS_NAME[] = L"TavrinPerPixelTestWindow";

class LayeredWindow {
public:
    explicit LayeredWindow(Size size) {
        registerTestWindowClass(CLASS_NAME);
        hwnd = CreateWindowExW(WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, CLASS_NAME, L"", WS_POPUP, 0, 0,
                               size.width, size.height, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    }
    ~LayeredWindow() {
        if (hwnd) DestroyWindow(hwnd);
    }
    LayeredWindow(const LayeredWindow&) = delete;
    LayeredWindow& operator=(const LayeredWindow&) = delete;

    bool hasColorKey() const {
        COLORREF key = 0;
        BYTE alpha = 0;
        DWORD flags = 0;
        return GetLayeredWindowAttributes(hwnd, &key, &alpha, &flags) && key == COLOR_KEY && flags == (LWA_COLORKEY | LWA_ALPHA);
    }

    HWND hwnd = nullptr;
};

class Frames {
public:
    ~Frames() {
        releasePixelBuffer(frames.composed);
        releasePixelBuffer(frames.shown);
        releaseBackBuffer(frames.backBuffer);
    }
    std::optional<bool> paint(HWND window, Scene& scene, std::span<const Rect> areas) {
        const FramePaint paint{window, nullptr, scene.clientRect(), areas, 204};
        return paintPerPixelFrame(frames, kept, paint, scene.context());
    }
    WindowFrames frames;
    GdiResources kept;
};

std::vector<Pixel> pixelsOf(const PixelBuffer& buffer) {
    return {buffer.pixels, buffer.pixels + static_cast<std::size_t>(buffer.width) * static_cast<std::size_t>(buffer.height)};
}

}  // namespace

TEST(PerPixelWindow, TakesItsPictureAfterAColourKeyAndTheColourKeyAfterIt) {
    Scene scene;
    LayeredWindow window(scene.client);
    ASSERT_NE(window.hwnd, nullptr);
    showThroughColorKey(window.hwnd, 204);
    ASSERT_TRUE(window.hasColorKey());
    // The platform refuses a picture to a window that was given a colour key.
    Frames frames;
    ASSERT_TRUE(ensurePixelBuffer(frames.frames.shown, scene.client.width, scene.client.height));
    SIZE size{scene.client.width, scene.client.height};
    POINT origin{0, 0};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 204, AC_SRC_ALPHA};
    EXPECT_FALSE(UpdateLayeredWindow(window.hwnd, nullptr, nullptr, &size, static_cast<HDC>(frames.frames.shown.dc),
                                     &origin, 0, &blend, ULW_ALPHA));

    // A paint gives it the whole picture all the same, and later paints their areas.
    const Rect client = scene.clientRect();
    EXPECT_TRUE(frames.paint(window.hwnd, scene, std::span<const Rect>(&client, 1)).has_value());
    EXPECT_TRUE(frames.frames.shownWhole);
    EXPECT_FALSE(window.hasColorKey());
    const Rect keyArea = findKey(scene.layout, 'A')->rect.inflated(KEY_INVALIDATE_MARGIN, KEY_INVALIDATE_MARGIN);
    frames.paint(window.hwnd, scene, std::span<const Rect>(&keyArea, 1));
    EXPECT_TRUE(frames.frames.shownWhole);

    // And back to the colour key.
    resetLayeredStyle(window.hwnd);
    showThroughColorKey(window.hwnd, 204);
    EXPECT_TRUE(window.hasColorKey());
}

// Keys reaching an area are composed whole, beyond it too; the window is given only the areas,
// so what it shows outside them stays as it was, and inside them is the whole frame's.
TEST(PerPixelWindow, APaintChangesNothingOutsideItsAreas) {
    Scene scene;
    scene.settings.style = STYLE_LABELS_ONLY;  // smoothed labels over nothing: drawn twice, they would darken
    LayeredWindow window(scene.client);
    ASSERT_NE(window.hwnd, nullptr);
    Frames frames;
    const Rect client = scene.clientRect();
    frames.paint(window.hwnd, scene, std::span<const Rect>(&client, 1));
    const std::vector<Pixel> before = pixelsOf(frames.frames.shown);

    // "W" lights up, and an area from the middle of "Q" to the middle of "W" is painted: both
    // keys are composed whole, their labels drawn over themselves beyond the area.
    scene.keys.held['W'] = true;
    scene.tap('W', 50);
    const Rect q = findKey(scene.layout, 'Q')->rect;
    const Rect w = findKey(scene.layout, 'W')->rect;
    const Rect area{(q.left + q.right) / 2, q.top, (w.left + w.right) / 2, q.bottom};
    frames.paint(window.hwnd, scene, std::span<const Rect>(&area, 1));
    const std::vector<Pixel> after = pixelsOf(frames.frames.shown);
    GdiResources fresh;
    const std::vector<Pixel> whole = wholePerPixelFrame(scene, fresh);
    ASSERT_EQ(after.size(), whole.size());
    int outsideChanged = 0, insideWrong = 0, insideChanged = 0;
    for (std::size_t i = 0; i < after.size(); ++i) {
        const Point at{static_cast<int>(i % static_cast<std::size_t>(scene.client.width)),
                       static_cast<int>(i / static_cast<std::size_t>(scene.client.width))};
        if (!area.contains(at)) {
            outsideChanged += after[i] != before[i];
        } else {
            insideWrong += after[i] != whole[i];
            insideChanged += after[i] != before[i];
        }
    }
    EXPECT_EQ(outsideChanged, 0);
    EXPECT_EQ(insideWrong, 0);
    EXPECT_GT(insideChanged, 50);  // the glow and the heavier label
}
