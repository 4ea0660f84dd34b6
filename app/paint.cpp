// Every paint composes the frame in the back buffer and copies it in one BitBlt, which the
// system clips to the invalidated areas; keys that cannot reach those areas are skipped.
#include "app/app_state.h"
#include "app/handlers.h"
#include "app/services.h"
#include "render/frame.h"
#include "render/gdi_canvas_win32.h"

LRESULT onPaint(HWND window) {
    AppState& a = app();
    PAINTSTRUCT ps{};
    HDC dc = BeginPaint(window, &ps);
    RECT rc{};
    GetClientRect(window, &rc);
    ensureBackBuffer(a.backBuffer, rc.right - rc.left, rc.bottom - rc.top, dc);
    if (a.backBuffer.dc) {
        GdiCanvas canvas(a.backBuffer.dc);
        const FrameContext context{a.settings, a.metrics, a.layout, a.input.keys, a.input.meter,
                                   keyboardQuery(), a.input.labelShift, currentTick()};
        const Rect updateArea{ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right, ps.rcPaint.bottom};
        drawFrame(canvas, {rc.left, rc.top, rc.right, rc.bottom}, context, updateArea);
        BitBlt(dc, 0, 0, a.backBuffer.width, a.backBuffer.height, static_cast<HDC>(a.backBuffer.dc), 0, 0, SRCCOPY);
    }
    EndPaint(window, &ps);
    return 0;
}
