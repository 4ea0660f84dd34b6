// Frames drawn with GDI into a real back buffer, read back pixel by pixel.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>

#include "render/back_buffer.h"
#include "render/frame.h"
#include "render/gdi_canvas_win32.h"
#include "render/press_glow.h"
#include "render/resize_grip.h"
#include "tests/unit/render_test_support.h"

using render_test::Scene;

namespace {
constexpr int VK_A = 0x41;

// A back buffer made the way the window makes it, from a screen DC.
class Buffer {
public:
    Buffer(int width, int height) {
        HDC screen = GetDC(nullptr);
        ensureBackBuffer(buffer, width, height, screen);
        ReleaseDC(nullptr, screen);
    }
    ~Buffer() { releaseBackBuffer(buffer); }
    Buffer(const Buffer&) = delete;
    Buffer& operator=(const Buffer&) = delete;

    HDC dc() const { return static_cast<HDC>(buffer.dc); }
    COLORREF pixel(int x, int y) const { return GetPixel(dc(), x, y); }

    BackBuffer buffer;
};

void drawWholeFrame(Buffer& target, Scene& scene, std::optional<Rect> updateArea = std::nullopt) {
    GdiCanvas canvas(target.buffer.dc);
    drawFrame(canvas, scene.clientRect(), scene.context(), updateArea);
}

bool closeTo(COLORREF actual, unsigned r, unsigned g, unsigned b, unsigned tolerance = 2) {
    auto close = [&](unsigned a, unsigned e) { return (a > e ? a - e : e - a) <= tolerance; };
    return close(GetRValue(actual), r) && close(GetGValue(actual), g) && close(GetBValue(actual), b);
}

// A lone key "A" at its scale-1 place with no label, so that nothing but body and glow
// covers its centre.
void keepOnlyUnlabelledKeyA(Scene& scene) {
    KeyCap a = *findKey(scene.layout, VK_A);
    a.label = {};
    scene.layout = {a};
    scene.query.characters.clear();
}
}  // namespace

TEST(GdiFrame, BackgroundIsExactlyTheColourKeyAndTheGripIsDrawn) {
    Scene scene;
    Buffer target(scene.client.width, scene.client.height);
    ASSERT_NE(target.dc(), nullptr);
    drawWholeFrame(target, scene);

    EXPECT_EQ(target.pixel(2, 2), COLOR_KEY);
    EXPECT_EQ(target.pixel(931, 0), COLOR_KEY);
    EXPECT_EQ(target.pixel(600, 68), COLOR_KEY);   // between key rows

    const Rect grip = gripRect(scene.clientRect(), 1.0);  // (910, 294, 932, 316)
    EXPECT_EQ(target.pixel(921, 300), RGB(255, 128, 0));
    EXPECT_EQ(target.pixel(915, grip.top), RGB(180, 80, 0));
    EXPECT_EQ(target.pixel(grip.left, 300), RGB(180, 80, 0));
    EXPECT_EQ(target.pixel(928, 311), RGB(255, 255, 255));  // on the stroke from (923, 316) to (932, 307)
    EXPECT_EQ(target.pixel(920, 309), RGB(255, 255, 255));  // on the stroke from (913, 316) to (932, 297)
}

TEST(GdiFrame, BarIsFilledAndOutlinedOnItsEdgePixels) {
    Scene scene;
    for (int i = 0; i < 10; ++i) scene.meter.pressTimes.push_back(scene.now - 10 * i);
    Buffer target(scene.client.width, scene.client.height);
    drawWholeFrame(target, scene);

    const COLORREF line = scene.settings.colors.lineN;
    EXPECT_EQ(target.pixel(800, 250), RGB(245, 245, 245));  // panel, outside the inner frame
    EXPECT_EQ(target.pixel(804, 250), line);                // inner frame
    // The bar (814, 217, 902, 288) at 600 CPM.
    EXPECT_EQ(target.pixel(850, 250), RGB(0, 120, 255));
    EXPECT_EQ(target.pixel(814, 250), line);
    EXPECT_EQ(target.pixel(901, 250), line);
    EXPECT_EQ(target.pixel(850, 287), line);
    EXPECT_EQ(target.pixel(813, 250), RGB(245, 245, 245));
    EXPECT_EQ(target.pixel(902, 250), RGB(245, 245, 245));
    EXPECT_EQ(target.pixel(850, 288), RGB(245, 245, 245));
}

TEST(GdiFrame, LitKeyGlowsOrangeOverItsBody) {
    Scene scene;
    keepOnlyUnlabelledKeyA(scene);
    scene.tap(VK_A, 105);  // the strongest moment of the pulse: peak 200, side 50
    Buffer target(scene.client.width, scene.client.height);
    drawWholeFrame(target, scene);

    // Glow square (61, 133, 111, 183) in the grown body (56, 128, 116, 188).
    const COLORREF fill = scene.settings.colors.fillA;
    const unsigned keep = 255 - 200;
    EXPECT_TRUE(closeTo(target.pixel(85, 157), 200 + GetRValue(fill) * keep / 255, 109 + GetGValue(fill) * keep / 255,
                     GetBValue(fill) * keep / 255))
        << std::hex << target.pixel(85, 157);
    EXPECT_EQ(target.pixel(61, 158), fill);  // on the rim: untouched
    EXPECT_EQ(target.pixel(58, 158), fill);  // outside the disc
}

TEST(GdiFrame, GlowOverTheColourKeyLeavesTheOutsideTransparent) {
    Scene scene;
    scene.settings.style = STYLE_LABELS_ONLY;
    keepOnlyUnlabelledKeyA(scene);
    scene.tap(VK_A, 105);  // side 40 in the key's own 48 x 48: (66, 138, 106, 178)
    Buffer target(scene.client.width, scene.client.height);
    drawWholeFrame(target, scene);

    const COLORREF centre = target.pixel(85, 157);
    EXPECT_NE(centre, COLOR_KEY);
    EXPECT_TRUE(closeTo(centre, 200 + 255 * 55 / 255, 109, 255 * 55 / 255)) << std::hex << centre;
    EXPECT_EQ(target.pixel(66, 138), COLOR_KEY);
    EXPECT_EQ(target.pixel(64, 158), COLOR_KEY);
}

TEST(GdiFrame, DrawingLeavesTheBufferAsItFoundIt) {
    Scene scene;
    scene.keys.held[VK_A] = true;
    scene.settings.shadow = true;
    Buffer target(scene.client.width, scene.client.height);
    HDC dc = target.dc();
    const HGDIOBJ pen = GetCurrentObject(dc, OBJ_PEN);
    const HGDIOBJ brush = GetCurrentObject(dc, OBJ_BRUSH);
    const HGDIOBJ font = GetCurrentObject(dc, OBJ_FONT);
    const COLORREF textColor = GetTextColor(dc);
    const int mode = GetBkMode(dc);

    for (int style = 0; style < 3; ++style) {
        scene.settings.style = style;
        drawWholeFrame(target, scene);
    }
    EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), pen);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), brush);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), font);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BITMAP), target.buffer.bitmap);
    EXPECT_EQ(GetTextColor(dc), textColor);
    EXPECT_EQ(GetBkMode(dc), mode);
}

// Only the update area reaches the screen; inside it, a frame that leaves out the keys that
// cannot reach the area must equal the whole frame to the pixel.
TEST(GdiFrame, FrameForAnUpdateAreaMatchesTheWholeFrameInsideIt) {
    Scene scene;
    scene.settings.shadow = true;
    scene.keys.held[VK_A] = true;
    scene.tap('S', 30);
    scene.meter.pressTimes = {scene.now - 5, scene.now};
    const Rect area = findKey(scene.layout, VK_A)->rect.inflated(KEY_INVALIDATE_MARGIN, KEY_INVALIDATE_MARGIN);

    for (int style = 0; style < 3; ++style) {
        SCOPED_TRACE(style);
        scene.settings.style = style;
        Buffer whole(scene.client.width, scene.client.height);
        Buffer part(scene.client.width, scene.client.height);
        drawWholeFrame(whole, scene);
        drawWholeFrame(part, scene, area);
        int differences = 0;
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x) differences += whole.pixel(x, y) != part.pixel(x, y);
        EXPECT_EQ(differences, 0);
    }
}

TEST(BackBuffer, ReusedAtTheSameSizeAndRecreatedAtAnother) {
    Buffer target(100, 50);
    ASSERT_NE(target.buffer.dc, nullptr);
    ASSERT_NE(target.buffer.bitmap, nullptr);
    EXPECT_EQ(target.buffer.width, 100);
    EXPECT_EQ(target.buffer.height, 50);
    SetPixel(target.dc(), 3, 3, RGB(1, 2, 3));

    HDC screen = GetDC(nullptr);
    void* const dc = target.buffer.dc;
    void* const bitmap = target.buffer.bitmap;
    ensureBackBuffer(target.buffer, 100, 50, screen);
    EXPECT_EQ(target.buffer.dc, dc);
    EXPECT_EQ(target.buffer.bitmap, bitmap);
    EXPECT_EQ(target.pixel(3, 3), RGB(1, 2, 3));  // the same pixels, not a fresh bitmap

    ensureBackBuffer(target.buffer, 120, 40, screen);
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(target.buffer.width, 120);
    EXPECT_EQ(target.buffer.height, 40);
    BITMAP info{};
    ASSERT_NE(GetObjectW(static_cast<HBITMAP>(target.buffer.bitmap), sizeof info, &info), 0);
    EXPECT_EQ(info.bmWidth, 120);
    EXPECT_EQ(info.bmHeight, 40);
    EXPECT_EQ(GetCurrentObject(target.dc(), OBJ_BITMAP), target.buffer.bitmap);

    releaseBackBuffer(target.buffer);
    EXPECT_EQ(target.buffer.dc, nullptr);
    EXPECT_EQ(target.buffer.bitmap, nullptr);
    EXPECT_EQ(target.buffer.width, 0);
    releaseBackBuffer(target.buffer);  // twice is harmless
}

TEST(BackBuffer, FailedCreationLeavesNoBufferAndDrawingDoesNothing) {
    BackBuffer buffer;
    HDC screen = GetDC(nullptr);
    ensureBackBuffer(buffer, 1000000, 1000000, screen);  // far beyond any bitmap
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(buffer.dc, nullptr);
    EXPECT_EQ(buffer.bitmap, nullptr);
    EXPECT_EQ(buffer.width, 0);

    Scene scene;
    scene.keys.held[VK_A] = true;
    GdiCanvas canvas(buffer.dc);
    drawFrame(canvas, scene.clientRect(), scene.context());  // must simply return
    releaseBackBuffer(buffer);
}
