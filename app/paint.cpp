// Every paint composes the frame in the back buffer and copies it in one BitBlt, which the
// system clips to the invalidated areas; what cannot reach those areas is left out.
#include <cstddef>
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

}  // namespace

LRESULT onPaint(HWND window) {
    AppState& a = app();
    std::vector<Rect> updateAreas = updateRegionRectangles(window);
    PAINTSTRUCT ps{};
    HDC dc = BeginPaint(window, &ps);
    if (updateAreas.empty()) updateAreas.push_back({ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right, ps.rcPaint.bottom});
    RECT rc{};
    GetClientRect(window, &rc);
    ensureBackBuffer(a.backBuffer, rc.right - rc.left, rc.bottom - rc.top, dc);
    if (a.backBuffer.dc) {
        GdiCanvas canvas(a.backBuffer.dc, &a.drawing);
        const Tick now = currentTick();
        const FrameContext context{a.settings, a.metrics, a.layout, a.input.keys, a.input.meter,
                                   keyboardQuery(), a.input.labelShift, now};
        const bool wholePanel = drawFrame(canvas, {rc.left, rc.top, rc.right, rc.bottom}, context, updateAreas);
        a.input.meter.notePainted(wholePanel, now);
        BitBlt(dc, 0, 0, a.backBuffer.width, a.backBuffer.height, static_cast<HDC>(a.backBuffer.dc), 0, 0, SRCCOPY);
    }
    EndPaint(window, &ps);
    return 0;
}
