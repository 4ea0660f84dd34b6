// Every paint composes the frame in the back buffer and copies it in one BitBlt, which the
// system clips to the invalidated areas; what cannot reach those areas is left out.
#include <cstddef>
#include <optional>
#include <span>
#include <vector>

#include "app/app_state.h"
#include "app/handlers.h"
#include "app/services.h"
#include "render/frame.h"
#include "render/gdi_canvas_win32.h"

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

// Composes what reaches `areas` into the back buffer, sized to the client area; returns
// whether the speed panel was drawn whole, or none when there is no buffer.
std::optional<bool> compose(HWND window, HDC reference, std::span<const Rect> areas, Tick now) {
    AppState& a = app();
    RECT rc{};
    GetClientRect(window, &rc);
    ensureBackBuffer(a.backBuffer, rc.right - rc.left, rc.bottom - rc.top, reference);
    if (!a.backBuffer.dc) return std::nullopt;
    GdiCanvas canvas(a.backBuffer.dc, &a.drawing);
    const FrameContext context{a.settings, a.metrics, a.layout, a.input.keys, a.input.meter,
                               keyboardQuery(), a.input.labelShift, now, a.input.labelState.capsLock};
    return drawFrame(canvas, {rc.left, rc.top, rc.right, rc.bottom}, context, areas);
}

}  // namespace

LRESULT onPaint(HWND window) {
    AppState& a = app();
    std::vector<Rect> updateAreas = updateRegionRectangles(window);
    PAINTSTRUCT ps{};
    HDC dc = BeginPaint(window, &ps);
    if (updateAreas.empty()) updateAreas.push_back({ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right, ps.rcPaint.bottom});
    const Tick now = currentTick();
    if (const std::optional<bool> wholePanel = compose(window, dc, updateAreas, now)) {
        a.input.meter.notePainted(*wholePanel, now);
        BitBlt(dc, 0, 0, a.backBuffer.width, a.backBuffer.height, static_cast<HDC>(a.backBuffer.dc), 0, 0, SRCCOPY);
    }
    EndPaint(window, &ps);
    return 0;
}

// A key's change goes to the screen from the report itself, without waiting for the paint
// message and the update region's round trips. The area is not validated: it is seldom
// invalid at that moment (the tick's areas are painted as soon as the tick is done), and a
// paint that covers it again only draws it as it then looks, for one more round trip to the
// window server before every key.
void paintAreaNow(HWND window, const Rect& area, Tick now) {
    AppState& a = app();
    HDC dc = GetDC(window);
    if (!dc) return;
    if (compose(window, dc, std::span<const Rect>(&area, 1), now))
        BitBlt(dc, area.left, area.top, area.width(), area.height(), static_cast<HDC>(a.backBuffer.dc), area.left,
               area.top, SRCCOPY);
    ReleaseDC(window, dc);
}
