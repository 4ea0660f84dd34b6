#pragma once
// The canvas of the per-pixel frame: a 32-bit premultiplied-alpha bitmap in which nothing
// drawn is the background, see-through. Every pen, brush, font and glow is the colour-keyed
// canvas's own, drawn by the platform at the same pixels; what is added is the alpha of each
// pixel: shapes are opaque where the platform drew them (found by drawing them once more into
// a mask), text has the coverage of its glyphs, the glow keeps its own alpha, and anything
// drawn in the colour key is see-through, as it is in the colour-keyed frame.
#include "render/canvas.h"
#include "render/pixel_buffer.h"

class GdiResources;

class AlphaCanvas : public Canvas {
public:
    // `origin` is where in the frame the bitmap's top-left pixel stands; the bitmap's DC is
    // to have its viewport moved there.
    AlphaCanvas(PixelBuffer& frame, GdiResources& resources, Point origin = {})
        : frame_(frame), resources_(resources), origin_(origin) {}

    void fillRect(const Rect& r, Color color) override;
    void polyline(const Point* points, std::size_t count, Color pen, int penWidth) override;
    void roundRect(const Rect& r, int cornerWidth, int cornerHeight, Color fill, Color pen) override;
    void frameRect(const Rect& r, Color pen) override;
    void drawText(const TextFont& font, Color color, std::wstring_view text, const TextPlacement& placement) override;
    void blendPremultiplied(const Rect& r, const std::uint32_t* pixels) override;
    // The picture is drawn once into premultiplied pixels kept among the resources' pictures,
    // and copied from them after.
    void drawPicture(const PictureKey& key, const Rect& r, Color background, const PictureDrawing& drawing) override;

private:
    // A shape drawn by `draw` (given a canvas, the fill and the pen) within `reach`.
    template <class Draw>
    void shape(const Rect& reach, Color fill, Color pen, Draw draw);
    Rect clipped(const Rect& r) const;
    // The first pixel of row `y` of the frame, `x` along it.
    std::uint32_t* at(int x, int y) const;

    PixelBuffer& frame_;
    GdiResources& resources_;
    Point origin_;
};
