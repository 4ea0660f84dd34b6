#include "render/text_coverage_win32.h"

#include <windows.h>

#include <cstring>
#include <vector>

#include "render/gdi_resources_win32.h"
#include "render/pixel_rules.h"

namespace {

constexpr Color MASK_INK = rgb(255, 255, 255);

// Every pixel the text may touch: its measured cell, grown by what glyphs can reach beyond
// it (overhangs of letters such as "j" and "f"), within its clip and the frame.
Rect inkBox(HDC measuring, std::wstring_view text, const TextPlacement& placement, const Rect& frame) {
    SIZE extent{0, 0};
    GetTextExtentPoint32W(measuring, text.data(), static_cast<int>(text.size()), &extent);
    const Point at = textOrigin(placement, Size{extent.cx, extent.cy});
    const int height = static_cast<int>(extent.cy);
    Rect box = Rect{at.x, at.y, at.x + extent.cx, at.y + extent.cy}.inflated(height / 2 + 2, height / 4 + 2);
    if (!placement.clip.empty()) box = intersection(box, placement.clip);
    return intersection(box, frame);
}

// The mask of `text` within `box` of the frame, white on black, in the Mask scratch bitmap;
// null when it cannot be drawn.
PixelBuffer* drawMask(GdiResources& resources, const TextFont& font, std::wstring_view text,
                      const TextPlacement& placement, const Rect& box) {
    PixelBuffer* mask = resources.scratch(Scratch::Mask, box.width(), box.height());
    if (!mask || !resources.selectFont(mask->dc, font)) return nullptr;
    for (int y = 0; y < box.height(); ++y)
        std::memset(mask->pixels + static_cast<std::size_t>(y) * static_cast<std::size_t>(mask->width), 0,
                    static_cast<std::size_t>(box.width()) * sizeof(Pixel));
    HDC dc = static_cast<HDC>(mask->dc);
    POINT origin{};
    SetViewportOrgEx(dc, -box.left, -box.top, &origin);
    drawTextInSelectedFont(dc, MASK_INK, text, placement);
    SetViewportOrgEx(dc, origin.x, origin.y, nullptr);
    return mask;
}

// What was under the text, before it was drawn: one row after another.
std::vector<Pixel>& pixelsBefore() {
    static std::vector<Pixel> pixels;  // the window's thread is the only one that draws
    return pixels;
}

// The rows of `r` (in frame coordinates) of `from`, whose top-left pixel stands at `at`.
void copyRows(std::vector<Pixel>& into, const PixelBuffer& from, Point at, const Rect& r) {
    into.resize(static_cast<std::size_t>(r.width()) * static_cast<std::size_t>(r.height()));
    for (int y = r.top; y < r.bottom; ++y)
        std::memcpy(into.data() + static_cast<std::size_t>(y - r.top) * static_cast<std::size_t>(r.width()),
                    from.pixels + static_cast<std::size_t>(y - at.y) * static_cast<std::size_t>(from.width) + (r.left - at.x),
                    static_cast<std::size_t>(r.width()) * sizeof(Pixel));
}

// Each pixel of `box` in `target` (whose pixel (0, 0) stands at `at` of the frame) from what
// was there, what the platform drew and the mask's coverage.
template <class Combine>
void combine(PixelBuffer& target, Point at, const Rect& box, const std::vector<Pixel>& before, const PixelBuffer& mask,
             Combine pixelOf) {
    for (int y = 0; y < box.height(); ++y) {
        Pixel* row = target.pixels + static_cast<std::size_t>(box.top - at.y + y) * static_cast<std::size_t>(target.width) +
                     (box.left - at.x);
        const Pixel* was = before.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(box.width());
        const Pixel* ink = mask.pixels + static_cast<std::size_t>(y) * static_cast<std::size_t>(mask.width);
        for (int x = 0; x < box.width(); ++x) row[x] = pixelOf(was[x], row[x], maskCoverage(ink[x]));
    }
}

// The bitmap of `dc` in the DC's own coordinates: a picture drawn as if it stood elsewhere in
// the frame has its viewport moved there.
Rect boundsOf(HDC dc) {
    BITMAP bitmap{};
    if (!GetObjectW(GetCurrentObject(dc, OBJ_BITMAP), sizeof bitmap, &bitmap)) return {};
    POINT origin{};
    GetViewportOrgEx(dc, &origin);
    return Rect{0, 0, bitmap.bmWidth, bitmap.bmHeight}.offset(-origin.x, -origin.y);
}

}  // namespace

void drawTextPerPixel(PixelBuffer& frame, Point origin, GdiResources& resources, const TextFont& font, Color color,
                      std::wstring_view text, const TextPlacement& placement) {
    HDC dc = static_cast<HDC>(frame.dc);
    if (!dc || !resources.selectFont(frame.dc, font)) return;
    const Rect box = inkBox(dc, text, placement, Rect{0, 0, frame.width, frame.height}.offset(origin.x, origin.y));
    if (box.empty()) return;
    std::vector<Pixel>& before = pixelsBefore();
    GdiFlush();
    copyRows(before, frame, origin, box);
    drawTextInSelectedFont(dc, color, text, placement);
    const PixelBuffer* mask = drawMask(resources, font, text, placement, box);
    GdiFlush();
    if (!mask) {
        // Without coverage nothing can be told apart: leave the frame as it was.
        for (int y = 0; y < box.height(); ++y)
            std::memcpy(frame.pixels + static_cast<std::size_t>(box.top - origin.y + y) * static_cast<std::size_t>(frame.width) +
                            (box.left - origin.x),
                        before.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(box.width()),
                        static_cast<std::size_t>(box.width()) * sizeof(Pixel));
        return;
    }
    combine(frame, origin, box, before, *mask,
            [color](Pixel was, Pixel drawn, unsigned coverage) { return textPixel(was, drawn, color, coverage); });
}

void drawTextOverColorKey(void* frameDc, GdiResources& resources, const TextFont& font, Color color,
                          std::wstring_view text, const TextPlacement& placement) {
    HDC dc = static_cast<HDC>(frameDc);
    if (!dc) return;
    // Measured in the work bitmap's DC, which the font is kept selected in.
    PixelBuffer* work = resources.scratch(Scratch::Work, 1, 1);
    if (!work || !resources.selectFont(work->dc, font)) return;
    const Rect box = inkBox(static_cast<HDC>(work->dc), text, placement, boundsOf(dc));
    if (box.empty()) return;
    work = resources.scratch(Scratch::Work, box.width(), box.height());
    if (!work || !resources.selectFont(work->dc, font)) return;
    HDC workDc = static_cast<HDC>(work->dc);
    BitBlt(workDc, 0, 0, box.width(), box.height(), dc, box.left, box.top, SRCCOPY);
    GdiFlush();
    std::vector<Pixel>& before = pixelsBefore();
    copyRows(before, *work, {0, 0}, {0, 0, box.width(), box.height()});
    POINT origin{};
    SetViewportOrgEx(workDc, -box.left, -box.top, &origin);
    drawTextInSelectedFont(workDc, color, text, placement);
    SetViewportOrgEx(workDc, origin.x, origin.y, nullptr);
    const PixelBuffer* mask = drawMask(resources, font, text, placement, box);
    GdiFlush();
    if (!mask) return;
    combine(*work, {box.left, box.top}, box, before, *mask, [color](Pixel was, Pixel drawn, unsigned coverage) {
        return dibRgb(keyedTextPixel(colorOfDibRgb(was), colorOfDibRgb(drawn), color, coverage));
    });
    BitBlt(dc, box.left, box.top, box.width(), box.height(), workDc, 0, 0, SRCCOPY);
}
