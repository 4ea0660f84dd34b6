// The per-pixel window: the frame composed with its alpha, the changed areas copied into the
// picture the window was last given, and that picture handed to the window with the changed
// rectangle marked, so that the system takes only that part of it.
#include <windows.h>

#include <cstring>

#include "render/alpha_canvas_win32.h"
#include "render/window_frames.h"

namespace {

void copyArea(PixelBuffer& to, const PixelBuffer& from, const Rect& r) {
    for (int y = r.top; y < r.bottom; ++y) {
        const std::size_t at = static_cast<std::size_t>(y) * static_cast<std::size_t>(to.width) + r.left;
        std::memcpy(to.pixels + at, from.pixels + at, static_cast<std::size_t>(r.width()) * sizeof(std::uint32_t));
    }
}

bool handOver(HWND window, const PixelBuffer& shown, unsigned char alpha, const RECT* dirty) {
    SIZE size{shown.width, shown.height};
    POINT source{0, 0};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, alpha, AC_SRC_ALPHA};
    UPDATELAYEREDWINDOWINFO info{};
    info.cbSize = sizeof info;
    info.psize = &size;
    info.hdcSrc = static_cast<HDC>(shown.dc);
    info.pptSrc = &source;
    info.pblend = &blend;
    info.dwFlags = ULW_ALPHA;
    info.prcDirty = dirty;
    return UpdateLayeredWindowIndirect(window, &info) != FALSE;
}

}  // namespace

std::optional<bool> paintPerPixelFrame(WindowFrames& frames, GdiResources& resources, const FramePaint& paint,
                                       const FrameContext& context) {
    const int width = paint.client.width();
    const int height = paint.client.height();
    const bool sameSize = frames.shown.bitmap && frames.shown.width == width && frames.shown.height == height &&
                          frames.composed.bitmap && frames.composed.width == width && frames.composed.height == height;
    if (!sameSize) frames.shownWhole = false;
    if (!ensurePixelBuffer(frames.composed, width, height) || !ensurePixelBuffer(frames.shown, width, height)) {
        releasePixelBuffer(frames.composed);
        releasePixelBuffer(frames.shown);
        return std::nullopt;
    }
    // Until the window has had the whole picture, nothing of it can be left as it was.
    const Rect client{0, 0, width, height};
    const std::span<const Rect> areas = frames.shownWhole ? paint.areas : std::span<const Rect>(&client, 1);
    AlphaCanvas canvas(frames.composed, resources);
    const bool wholePanel = drawFrame(canvas, paint.client, context, areas);
    GdiFlush();
    // Keys reaching an area are drawn whole, beyond it too; only the areas are brought up to
    // date, and the window is never given pixels of a frame it is not meant to show yet.
    for (const Rect& area : areas) {
        const Rect inside = intersection(area, client);
        if (!inside.empty()) copyArea(frames.shown, frames.composed, inside);
    }
    const Rect changed = dirtyRect(areas, client);
    if (changed.empty()) return wholePanel;
    HWND window = static_cast<HWND>(paint.window);
    const RECT dirty{changed.left, changed.top, changed.right, changed.bottom};
    bool handed = handOver(window, frames.shown, paint.alpha, frames.shownWhole ? &dirty : nullptr);
    if (!handed) {
        // Refused, as after a colour key was set: the window takes the whole picture once its
        // layered style is given anew.
        resetLayeredStyle(paint.window);
        handed = handOver(window, frames.shown, paint.alpha, nullptr);
    }
    frames.shownWhole = handed;
    return wholePanel;
}

void resetLayeredStyle(void* window) {
    HWND hwnd = static_cast<HWND>(window);
    const LONG_PTR style = GetWindowLongPtrW(hwnd, GWL_EXSTYLE);
    SetWindowLongPtrW(hwnd, GWL_EXSTYLE, style & ~static_cast<LONG_PTR>(WS_EX_LAYERED));
    SetWindowLongPtrW(hwnd, GWL_EXSTYLE, style | WS_EX_LAYERED);
}
