#pragma once
// A canvas that draws nothing and remembers every call, so that tests and benchmarks can
// read back each rectangle, colour, pen, font and text of a frame.
#include <cstdint>
#include <string>
#include <vector>

#include "render/canvas.h"

enum class DrawKind { Fill, Polyline, RoundRect, FrameRect, Text, Blend };

// One recorded call; only the fields of its kind are set.
struct DrawCall {
    DrawKind kind = DrawKind::Fill;
    Rect rect;                  // Fill, RoundRect, FrameRect, Blend
    Color fill = 0;             // Fill, RoundRect; the text colour of Text
    Color pen = 0;              // Polyline, RoundRect, FrameRect
    int penWidth = 0;           // Polyline (1 for RoundRect and FrameRect)
    Size corner;                // RoundRect
    std::vector<Point> points;  // Polyline
    TextFont font;              // Text
    std::wstring text;          // Text
    TextPlacement placement;    // Text
    Point origin;               // Text: where the measured text was put
    Size extent;                // Text: its measured size
    std::vector<std::uint32_t> pixels;  // Blend
    friend bool operator==(const DrawCall&, const DrawCall&) = default;
};

class RecordingCanvas : public Canvas {
public:
    // A deterministic stand-in for font metrics: every character is half the font height
    // wide (rounded up) and the text is as high as the font.
    static Size measure(const TextFont& font, std::wstring_view text);

    void fillRect(const Rect& r, Color color) override;
    void polyline(const Point* points, std::size_t count, Color pen, int penWidth) override;
    void roundRect(const Rect& r, int cornerWidth, int cornerHeight, Color fill, Color pen) override;
    void frameRect(const Rect& r, Color pen) override;
    void drawText(const TextFont& font, Color color, std::wstring_view text, const TextPlacement& placement) override;
    void blendPremultiplied(const Rect& r, const std::uint32_t* pixels) override;

    const std::vector<DrawCall>& calls() const { return calls_; }
    // The recorded calls of one kind, in drawing order.
    std::vector<DrawCall> callsOf(DrawKind kind) const;
    void clear() { calls_.clear(); }

private:
    std::vector<DrawCall> calls_;
};
