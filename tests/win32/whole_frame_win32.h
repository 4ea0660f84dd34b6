#pragma once
// The whole per-pixel frame of a scene, for the tests that hold another frame up against it.
#include <windows.h>

#include <cstddef>
#include <vector>

#include "render/alpha_canvas_win32.h"
#include "render/gdi_resources_win32.h"
#include "render/pixel_buffer.h"
#include "tests/unit/render_test_support.h"

// Composed afresh with its alpha, premultiplied, rows top to bottom; empty when no buffer can
// be made.
inline std::vector<Pixel> wholePerPixelFrame(render_test::Scene& scene, GdiResources& kept) {
    const Rect client = scene.clientRect();
    PixelBuffer frame;
    if (!ensurePixelBuffer(frame, client.width(), client.height())) return {};
    AlphaCanvas canvas(frame, kept);
    drawFrame(canvas, client, scene.context());
    GdiFlush();
    std::vector<Pixel> pixels(frame.pixels,
                              frame.pixels + static_cast<std::size_t>(frame.width) * static_cast<std::size_t>(frame.height));
    releasePixelBuffer(frame);
    return pixels;
}
