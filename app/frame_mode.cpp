// Which of the two ways the window shows its frames, and the switch between them.
#include "app/app_state.h"
#include "app/window_ops.h"

namespace {

// The buffers and the kept pictures of the way no longer used are freed; the window forgets
// the picture or the colour key it was given, and takes the other from the next paint on.
void switchFrames(HWND window, bool perPixel) {
    WindowFrames& frames = app().frames;
    resetLayeredStyle(window);
    app().drawing.pictures().release();
    if (perPixel) {
        releaseBackBuffer(frames.backBuffer);
    } else {
        releasePixelBuffer(frames.composed);
        releasePixelBuffer(frames.shown);
    }
    frames.shownWhole = false;
}

}  // namespace

void applyLayeredAttributes(HWND window) {
    AppState& a = app();
    const bool perPixel = usesPerPixelAlpha(a.settings.rendermode);
    if (a.framesSetUp && a.framesPerPixel != perPixel) switchFrames(window, perPixel);
    a.framesSetUp = true;
    a.framesPerPixel = perPixel;
    // A per-pixel window gets its opacity with each picture, from the next paint on.
    if (!perPixel) showThroughColorKey(window, a.settings.alpha);
}

void prepareFrameBuffers(int width, int height) {
    AppState& a = app();
    // The per-pixel buffers are made by the paint, which then hands the window a whole frame.
    if (usesPerPixelAlpha(a.settings.rendermode)) return;
    HDC dc = GetDC(a.window);
    ensureBackBuffer(a.frames.backBuffer, width, height, dc);
    ReleaseDC(a.window, dc);
}

void releaseFrameBuffers() {
    WindowFrames& frames = app().frames;
    releaseBackBuffer(frames.backBuffer);
    releasePixelBuffer(frames.composed);
    releasePixelBuffer(frames.shown);
}
