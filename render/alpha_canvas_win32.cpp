#include "render/alpha_canvas_win32.h"

#include <windows.h>

#include <algorithm>
#include <cstring>

#include "render/gdi_canvas_win32.h"
#include "render/gdi_resources_win32.h"
#include "render/kept_pictures_win32.h"
#include "render/pixel_rules.h"
#include "render/text_coverage_win32.h"

namespace {
constexpr Color MASK_INK = rgb(255, 255, 255);

Pixel* rowOf(const PixelBuffer& buffer, int y) {
    return buffer.pixels + static_cast<std::size_t>(y) * static_cast<std::size_t>(buffer.width);
}
}  // namespace

Rect AlphaCanvas::clipped(const Rect& r) const {
    return intersection(r, {origin_.x, origin_.y, origin_.x + frame_.width, origin_.y + frame_.height});
}

Pixel* AlphaCanvas::at(int x, int y) const { return rowOf(frame_, y - origin_.y) + (x - origin_.x); }

// Solid fills need no platform: every pixel of the rectangle takes the colour.
void AlphaCanvas::fillRect(const Rect& r, Color color) {
    const Rect area = clipped(r);
    if (!frame_.pixels || area.empty()) return;
    GdiFlush();
    const Pixel pixel = opaquePixel(color);
    for (int y = area.top; y < area.bottom; ++y) std::fill_n(at(area.left, y), area.width(), pixel);
}

// The platform draws the shape into the frame in its colours and into the mask in white; each
// pixel the mask shows drawn becomes opaque (or see-through, if drawn in the colour key).
template <class Draw>
void AlphaCanvas::shape(const Rect& reach, Color fill, Color pen, Draw draw) {
    const Rect area = clipped(reach);
    if (!frame_.dc || area.empty()) return;
    PixelBuffer* mask = resources_.scratch(Scratch::Mask, area.width(), area.height());
    if (!mask) return;
    GdiFlush();
    for (int y = 0; y < area.height(); ++y) std::fill_n(rowOf(*mask, y), area.width(), CLEAR_PIXEL);
    HDC maskDc = static_cast<HDC>(mask->dc);
    POINT origin{};
    SetViewportOrgEx(maskDc, -area.left, -area.top, &origin);
    GdiCanvas maskCanvas(mask->dc);
    draw(maskCanvas, MASK_INK, MASK_INK);
    SetViewportOrgEx(maskDc, origin.x, origin.y, nullptr);
    GdiCanvas frameCanvas(frame_.dc, &resources_);
    draw(frameCanvas, fill, pen);
    GdiFlush();
    for (int y = 0; y < area.height(); ++y) {
        Pixel* row = at(area.left, area.top + y);
        const Pixel* drawn = rowOf(*mask, y);
        for (int x = 0; x < area.width(); ++x)
            if (drawn[x] & 0x00FFFFFFu) row[x] = drawnPixel(row[x]);
    }
}

void AlphaCanvas::polyline(const Point* points, std::size_t count, Color pen, int penWidth) {
    if (count == 0) return;
    Rect reach{points[0].x, points[0].y, points[0].x + 1, points[0].y + 1};
    for (std::size_t i = 1; i < count; ++i) {
        reach.left = std::min(reach.left, points[i].x);
        reach.top = std::min(reach.top, points[i].y);
        reach.right = std::max(reach.right, points[i].x + 1);
        reach.bottom = std::max(reach.bottom, points[i].y + 1);
    }
    shape(reach.inflated(penWidth + 1, penWidth + 1), pen, pen, [&](Canvas& canvas, Color, Color ink) {
        canvas.polyline(points, count, ink, penWidth);
    });
}

void AlphaCanvas::roundRect(const Rect& r, int cornerWidth, int cornerHeight, Color fill, Color pen) {
    shape(r.inflated(1, 1), fill, pen, [&](Canvas& canvas, Color brush, Color ink) {
        canvas.roundRect(r, cornerWidth, cornerHeight, brush, ink);
    });
}

void AlphaCanvas::frameRect(const Rect& r, Color pen) {
    shape(r.inflated(1, 1), pen, pen, [&](Canvas& canvas, Color, Color ink) { canvas.frameRect(r, ink); });
}

void AlphaCanvas::drawText(const TextFont& font, Color color, std::wstring_view text, const TextPlacement& placement) {
    drawTextPerPixel(frame_, origin_, resources_, font, color, text, placement);
}

// The platform's blend of premultiplied pixels works out the destination's alpha too.
void AlphaCanvas::blendPremultiplied(const Rect& r, const std::uint32_t* pixels) {
    GdiCanvas(frame_.dc, &resources_).blendPremultiplied(r, pixels);
}

void AlphaCanvas::drawPicture(const PictureKey& key, const Rect& r, Color background, const PictureDrawing& drawing) {
    KeptPictures& pictures = resources_.pictures();
    const PixelBuffer* picture = pictures.findPixels(key);
    if (!picture) {
        PixelBuffer* made = pictures.makePixels(key);
        if (!made) {
            drawing.draw(*this);
            return;
        }
        GdiFlush();
        std::fill_n(made->pixels, static_cast<std::size_t>(made->width) * static_cast<std::size_t>(made->height),
                    opaquePixel(background));
        HDC dc = static_cast<HDC>(made->dc);
        POINT origin{};
        SetViewportOrgEx(dc, -r.left, -r.top, &origin);
        AlphaCanvas canvas(*made, resources_, {r.left, r.top});
        drawing.draw(canvas);
        SetViewportOrgEx(dc, origin.x, origin.y, nullptr);
        GdiFlush();
        picture = made;
    }
    const Rect area = clipped(r);
    for (int y = area.top; y < area.bottom; ++y)
        std::memcpy(at(area.left, y), rowOf(*picture, y - r.top) + (area.left - r.left),
                    static_cast<std::size_t>(area.width()) * sizeof(Pixel));
}
