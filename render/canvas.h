#pragma once
// The drawing operations a frame is composed of. The GDI implementation draws into the back
// buffer, creating and deleting every pen, brush and font within the one call; the
// recording implementation lets tests read back every rectangle, colour, font and text.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "common/types.h"

struct TextFont {
    int height = 0;  // character height in pixels (a negative height for the platform's font)
    int weight = 400;
    // Smoothed in grey levels; otherwise as the platform draws text by default, which follows
    // the system's own font smoothing.
    bool antialiased = false;
    friend bool operator==(const TextFont&, const TextFont&) = default;
};

// Where a text goes once its extent is known: centred in `box` on both axes, or centred
// horizontally with its top at `box.top`.
struct TextPlacement {
    Rect box;
    bool centerVertically = true;
    Rect clip{};  // when not empty, nothing of the text is drawn outside it
    friend bool operator==(const TextPlacement&, const TextPlacement&) = default;
};

// The top-left corner of a text of `extent` placed by `placement`; divisions truncate
// toward zero.
Point textOrigin(const TextPlacement& placement, Size extent);

// What decides every pixel of a picture that may be drawn once and copied from then on: two
// pictures with equal keys hold equal pixels, wherever they stand.
struct PictureKey {
    Size size;
    std::array<std::uint32_t, 12> values{};
    friend bool operator==(const PictureKey&, const PictureKey&) = default;
};

class Canvas;

// The drawing of a picture, at the place it is drawn.
class PictureDrawing {
public:
    virtual void draw(Canvas& canvas) const = 0;

protected:
    ~PictureDrawing() = default;
};

class Canvas {
public:
    virtual ~Canvas() = default;
    virtual void fillRect(const Rect& r, Color color) = 0;
    // A path from points[0] through the others with a solid pen.
    virtual void polyline(const Point* points, std::size_t count, Color pen, int penWidth) = 0;
    virtual void roundRect(const Rect& r, int cornerWidth, int cornerHeight, Color fill, Color pen) = 0;
    // A 1-pixel outline on the edge pixels of `r`, inside left untouched.
    virtual void frameRect(const Rect& r, Color pen) = 0;
    // Measures `text` in the "Segoe UI" font of `font` and draws it with a transparent background.
    virtual void drawText(const TextFont& font, Color color, std::wstring_view text, const TextPlacement& placement) = 0;
    // Blends r.width() x r.height() premultiplied 0xAARRGGBB pixels (rows top to bottom) over r.
    virtual void blendPremultiplied(const Rect& r, const std::uint32_t* pixels) = 0;
    // Draws `drawing`, which draws nothing outside `r`, where the frame holds nothing but
    // `background` within `r` so far. A canvas that keeps pictures draws it once into a
    // picture of `r` filled with `background`, kept under `key`, and from then on copies the
    // whole picture, to this place or any other; pixels of `r` outside the frame's update
    // area may then change too, which no paint shows. The plain canvas draws it directly.
    virtual void drawPicture(const PictureKey& key, const Rect& r, Color background, const PictureDrawing& drawing) {
        (void)key;
        (void)r;
        (void)background;
        drawing.draw(*this);
    }
};
