#include "render/gdi_canvas_win32.h"

#include <windows.h>

#include <cstring>

#include "render/gdi_resources_win32.h"
#include "render/text_coverage_win32.h"

namespace {
// A pen, brush, font or bitmap made for one drawing step and deleted when the step ends.
class OwnedObject {
public:
    explicit OwnedObject(HGDIOBJ object) : object_(object) {}
    ~OwnedObject() {
        if (object_) DeleteObject(object_);
    }
    OwnedObject(const OwnedObject&) = delete;
    OwnedObject& operator=(const OwnedObject&) = delete;
    HGDIOBJ get() const { return object_; }
    explicit operator bool() const { return object_ != nullptr; }

private:
    HGDIOBJ object_;
};

// Selects an object into a DC for one step and puts the previous one back. Declared after
// the OwnedObject it selects, so the object is deselected before it is deleted.
class Selection {
public:
    Selection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(object ? SelectObject(dc, object) : nullptr) {}
    ~Selection() {
        if (previous_) SelectObject(dc_, previous_);
    }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

RECT toRect(const Rect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }
}  // namespace

void GdiCanvas::fillRect(const Rect& r, Color color) {
    HDC dc = static_cast<HDC>(dc_);
    if (!dc) return;
    OwnedObject brush(CreateSolidBrush(color));
    if (!brush) return;
    const RECT rc = toRect(r);
    FillRect(dc, &rc, static_cast<HBRUSH>(brush.get()));
}

void GdiCanvas::polyline(const Point* points, std::size_t count, Color pen, int penWidth) {
    HDC dc = static_cast<HDC>(dc_);
    if (!dc || count == 0) return;
    OwnedObject gdiPen(CreatePen(PS_SOLID, penWidth, pen));
    if (!gdiPen) return;
    Selection selected(dc, gdiPen.get());
    MoveToEx(dc, points[0].x, points[0].y, nullptr);
    for (std::size_t i = 1; i < count; ++i) LineTo(dc, points[i].x, points[i].y);
}

void GdiCanvas::roundRect(const Rect& r, int cornerWidth, int cornerHeight, Color fill, Color pen) {
    HDC dc = static_cast<HDC>(dc_);
    if (!dc) return;
    OwnedObject brush(CreateSolidBrush(fill));
    OwnedObject gdiPen(CreatePen(PS_SOLID, 1, pen));
    if (!brush || !gdiPen) return;
    Selection brushSelected(dc, brush.get());
    Selection penSelected(dc, gdiPen.get());
    RoundRect(dc, r.left, r.top, r.right, r.bottom, cornerWidth, cornerHeight);
}

void GdiCanvas::frameRect(const Rect& r, Color pen) {
    HDC dc = static_cast<HDC>(dc_);
    if (!dc) return;
    // Rectangle with a 1-pixel pen and no brush outlines exactly the edge pixels.
    OwnedObject gdiPen(CreatePen(PS_SOLID, 1, pen));
    if (!gdiPen) return;
    Selection brushSelected(dc, GetStockObject(NULL_BRUSH));
    Selection penSelected(dc, gdiPen.get());
    Rectangle(dc, r.left, r.top, r.right, r.bottom);
}

void drawTextInSelectedFont(void* textDc, Color color, std::wstring_view text, const TextPlacement& placement) {
    HDC dc = static_cast<HDC>(textDc);
    const COLORREF previousColor = SetTextColor(dc, color);
    const int previousMode = SetBkMode(dc, TRANSPARENT);
    const int length = static_cast<int>(text.size());
    SIZE extent{0, 0};
    GetTextExtentPoint32W(dc, text.data(), length, &extent);
    const Point at = textOrigin(placement, Size{extent.cx, extent.cy});
    if (placement.clip.empty()) {
        TextOutW(dc, at.x, at.y, text.data(), length);
    } else {
        const RECT clip = toRect(placement.clip);
        ExtTextOutW(dc, at.x, at.y, ETO_CLIPPED, &clip, text.data(), static_cast<UINT>(length), nullptr);
    }
    SetBkMode(dc, previousMode);
    SetTextColor(dc, previousColor);
}

// Without kept objects, a font made for this one step is selected, used, deselected and
// deleted within it. Smoothed text is drawn so that no edge mixes with the colour key.
void GdiCanvas::drawText(const TextFont& font, Color color, std::wstring_view text, const TextPlacement& placement) {
    HDC dc = static_cast<HDC>(dc_);
    if (!dc) return;
    if (font.antialiased) {
        GdiResources forThisStep;
        drawTextOverColorKey(dc_, resources_ ? *resources_ : forThisStep, font, color, text, placement);
        return;
    }
    if (!resources_) {
        GdiResources forThisStep;
        HGDIOBJ gdiFont = static_cast<HGDIOBJ>(forThisStep.font(font));
        if (!gdiFont) return;
        Selection fontSelected(dc, gdiFont);
        drawTextInSelectedFont(dc, color, text, placement);
        return;
    }
    if (resources_->selectFont(dc, font)) drawTextInSelectedFont(dc, color, text, placement);
}

namespace {

// Draws `drawing` into the picture `dc` as if the picture stood at `r` in the frame.
void drawInto(HDC dc, const Rect& r, Color background, const PictureDrawing& drawing) {
    GdiCanvas picture(dc);
    picture.fillRect({0, 0, r.width(), r.height()}, background);
    POINT origin{};
    SetViewportOrgEx(dc, -r.left, -r.top, &origin);
    drawing.draw(picture);
    SetViewportOrgEx(dc, origin.x, origin.y, nullptr);
}

}  // namespace

void GdiCanvas::drawPicture(const PictureKey& key, const Rect& r, Color background, const PictureDrawing& drawing) {
    HDC dc = static_cast<HDC>(dc_);
    if (!dc) return;
    if (!resources_) {
        drawing.draw(*this);
        return;
    }
    HDC picture = static_cast<HDC>(resources_->pictures().find(key));
    if (!picture) {
        picture = static_cast<HDC>(resources_->pictures().make(key, dc));
        if (!picture) {
            drawing.draw(*this);
            return;
        }
        drawInto(picture, r, background, drawing);
    }
    BitBlt(dc, r.left, r.top, r.width(), r.height(), picture, 0, 0, SRCCOPY);
}

void GdiCanvas::blendPremultiplied(const Rect& r, const std::uint32_t* pixels) {
    HDC dc = static_cast<HDC>(dc_);
    const int w = r.width();
    const int h = r.height();
    if (!dc || !pixels || w <= 0 || h <= 0) return;
    GdiResources forThisStep;
    const PixelBuffer* glow = (resources_ ? *resources_ : forThisStep).scratch(Scratch::Glow, w, h);
    if (!glow) return;
    // Only the top-left w x h of the bitmap is filled and blended.
    for (int y = 0; y < h; ++y)
        std::memcpy(glow->pixels + static_cast<std::size_t>(y) * static_cast<std::size_t>(glow->width),
                    pixels + static_cast<std::size_t>(y) * static_cast<std::size_t>(w),
                    static_cast<std::size_t>(w) * sizeof(std::uint32_t));
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    AlphaBlend(dc, r.left, r.top, w, h, static_cast<HDC>(glow->dc), 0, 0, w, h, blend);
}
