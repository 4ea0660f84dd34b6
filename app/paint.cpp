// Every paint composes what can reach the invalidated areas and brings them up to date on the
// window, the way the window shows its frames (render/window_frames.h).
#include <cstddef>
#include <optional>
#include <span>
#include <vector>

#include "app/app_state.h"
#include "app/handlers.h"
#include "app/services.h"
#include "render/frame.h"
#include "render/window_frames.h"

namespace {

// The rectangles of the window's update region, read before BeginPaint empties it; none
// when the region cannot be read. A lit key and the speed panel are often far apart, and
// the rectangle around both would cover most of the keys.
std::vector<Rect> updateRegionRectangles(HWND window) {
    std::vector<Rect> rectangles;
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    if (!region) return rectangles;
    if (GetUpdateRgn(window, region, FALSE) > NULLREGION) {
        const DWORD size = GetRegionData(region, 0, nullptr);
        std::vector<std::byte> data(size);
        if (size >= sizeof(RGNDATAHEADER) && GetRegionData(region, size, reinterpret_cast<RGNDATA*>(data.data())) == size) {
            const auto* header = reinterpret_cast<const RGNDATAHEADER*>(data.data());
            const auto* rects = reinterpret_cast<const RECT*>(data.data() + header->dwSize);
            const std::size_t fit = (size - header->dwSize) / sizeof(RECT);
            for (std::size_t i = 0; i < header->nCount && i < fit; ++i)
                rectangles.push_back({rects[i].left, rects[i].top, rects[i].right, rects[i].bottom});
        }
    }
    DeleteObject(region);
    return rectangles;
}

// Composes what reaches `areas` and brings them up to date on the window, through the colour
// key or with per-pixel alpha; returns whether the speed panel was drawn whole, or none when
// there is no buffer.
std::optional<bool> showFrame(HWND window, HDC dc, std::span<const Rect> areas, Tick now) {
    AppState& a = app();
    RECT rc{};
    GetClientRect(window, &rc);
    const FrameContext context{a.settings, a.metrics, a.layout, a.input.keys, a.input.meter,
                               keyboardQuery(), a.input.labelShift, now, a.input.labelState.capsLock};
    const FramePaint paint{window, dc, {rc.left, rc.top, rc.right, rc.bottom}, areas, a.settings.alpha};
    if (a.framesPerPixel) return paintPerPixelFrame(a.frames, a.drawing, paint, context);
    return paintColorKeyFrame(a.frames, a.drawing, paint, context);
}

}  // namespace

LRESULT onPaint(HWND window) {
    AppState& a = app();
    std::vector<Rect> updateAreas = updateRegionRectangles(window);
    PAINTSTRUCT ps{};
    HDC dc = BeginPaint(window, &ps);
    if (updateAreas.empty()) updateAreas.push_back({ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right, ps.rcPaint.bottom});
    const Tick now = currentTick();
    if (const std::optional<bool> wholePanel = showFrame(window, dc, updateAreas, now))
        a.input.meter.notePainted(*wholePanel, now);
    EndPaint(window, &ps);
    return 0;
}

// A key's change goes to the screen from the report itself, without waiting for the paint
// message and the update region's round trips. The area is not validated: it is seldom
// invalid at that moment (the tick's areas are painted as soon as the tick is done), and a
// paint that covers it again only draws it as it then looks, for one more round trip to the
// window server before every key.
void paintAreaNow(HWND window, const Rect& area, Tick now) {
    // A per-pixel window is handed its picture and needs no DC of its own.
    const bool perPixel = app().framesPerPixel;
    HDC dc = perPixel ? nullptr : GetDC(window);
    if (!perPixel && !dc) return;
    showFrame(window, dc, std::span<const Rect>(&area, 1), now);
    if (dc) ReleaseDC(window, dc);
}
