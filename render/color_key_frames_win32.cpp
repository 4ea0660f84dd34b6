// The colour-keyed window: the back buffer, in the screen's format, copied to the window.
#include <windows.h>

#include "render/gdi_canvas_win32.h"
#include "render/window_frames.h"

std::optional<bool> paintColorKeyFrame(WindowFrames& frames, GdiResources& resources, const FramePaint& paint,
                                       const FrameContext& context) {
    BackBuffer& buffer = frames.backBuffer;
    ensureBackBuffer(buffer, paint.client.width(), paint.client.height(), paint.dc);
    if (!buffer.dc) return std::nullopt;
    GdiCanvas canvas(buffer.dc, &resources);
    const bool wholePanel = drawFrame(canvas, paint.client, context, paint.areas);
    // In a paint the system clips the copy to the update region; outside one, the copy is of
    // the areas' bounds, which is the one area such a paint has.
    const Rect copied = dirtyRect(paint.areas, paint.client);
    BitBlt(static_cast<HDC>(paint.dc), copied.left, copied.top, copied.width(), copied.height(),
           static_cast<HDC>(buffer.dc), copied.left, copied.top, SRCCOPY);
    return wholePanel;
}

// The colour key stays on at every opacity, 100 % included.
void showThroughColorKey(void* window, unsigned char alpha) {
    SetLayeredWindowAttributes(static_cast<HWND>(window), COLOR_KEY, alpha, LWA_COLORKEY | LWA_ALPHA);
}
