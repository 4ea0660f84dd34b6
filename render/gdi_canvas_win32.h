#pragma once
// The canvas drawn with GDI into a device context: the colour-keyed frame's back buffer, or a
// bitmap the per-pixel canvas draws through it (its frame, a mask). Every pen and brush is
// created, selected, used, deselected and deleted within one call; fonts and the scratch
// bitmaps too, unless kept objects are given (render/gdi_resources_win32.h), whose label font
// stays selected in each DC from one text to the next. A null DC draws nothing, so a frame
// over a buffer that could not be created is simply lost; a step whose pen, brush, font or
// bitmap cannot be created is left out rather than drawn with whatever the DC holds.
#include "render/canvas.h"

class GdiResources;

class GdiCanvas : public Canvas {
public:
    // With `resources`, fonts and the glow's bitmap are taken from them and kept; without,
    // every step makes its own and deletes it.
    explicit GdiCanvas(void* dc, GdiResources* resources = nullptr) : dc_(dc), resources_(resources) {}

    void fillRect(const Rect& r, Color color) override;
    void polyline(const Point* points, std::size_t count, Color pen, int penWidth) override;
    void roundRect(const Rect& r, int cornerWidth, int cornerHeight, Color fill, Color pen) override;
    void frameRect(const Rect& r, Color pen) override;
    void drawText(const TextFont& font, Color color, std::wstring_view text, const TextPlacement& placement) override;
    void blendPremultiplied(const Rect& r, const std::uint32_t* pixels) override;
    // With kept objects, the picture is drawn into a bitmap kept among them the first time
    // and copied from it after; without, it is drawn directly.
    void drawPicture(const PictureKey& key, const Rect& r, Color background, const PictureDrawing& drawing) override;

private:
    void* dc_;  // HDC
    GdiResources* resources_;
};
