#include "render/recording_canvas.h"

#include <algorithm>
#include <iterator>
#include <utility>

Size RecordingCanvas::measure(const TextFont& font, std::wstring_view text) {
    const int charWidth = (std::max(font.height, 0) + 1) / 2;
    return {static_cast<int>(text.size()) * charWidth, font.height};
}

void RecordingCanvas::fillRect(const Rect& r, Color color) {
    DrawCall call;
    call.kind = DrawKind::Fill;
    call.rect = r;
    call.fill = color;
    calls_.push_back(std::move(call));
}

void RecordingCanvas::polyline(const Point* points, std::size_t count, Color pen, int penWidth) {
    DrawCall call;
    call.kind = DrawKind::Polyline;
    call.points.assign(points, points + count);
    call.pen = pen;
    call.penWidth = penWidth;
    calls_.push_back(std::move(call));
}

void RecordingCanvas::roundRect(const Rect& r, int cornerWidth, int cornerHeight, Color fill, Color pen) {
    DrawCall call;
    call.kind = DrawKind::RoundRect;
    call.rect = r;
    call.corner = {cornerWidth, cornerHeight};
    call.fill = fill;
    call.pen = pen;
    call.penWidth = 1;
    calls_.push_back(std::move(call));
}

void RecordingCanvas::frameRect(const Rect& r, Color pen) {
    DrawCall call;
    call.kind = DrawKind::FrameRect;
    call.rect = r;
    call.pen = pen;
    call.penWidth = 1;
    calls_.push_back(std::move(call));
}

void RecordingCanvas::drawText(const TextFont& font, Color color, std::wstring_view text,
                               const TextPlacement& placement) {
    DrawCall call;
    call.kind = DrawKind::Text;
    call.font = font;
    call.fill = color;
    call.text.assign(text);
    call.placement = placement;
    call.extent = measure(font, text);
    call.origin = textOrigin(placement, call.extent);
    calls_.push_back(std::move(call));
}

void RecordingCanvas::blendPremultiplied(const Rect& r, const std::uint32_t* pixels) {
    DrawCall call;
    call.kind = DrawKind::Blend;
    call.rect = r;
    if (!r.empty() && pixels != nullptr) {
        call.pixels.assign(pixels, pixels + static_cast<std::size_t>(r.width()) * static_cast<std::size_t>(r.height()));
    }
    calls_.push_back(std::move(call));
}

std::vector<DrawCall> RecordingCanvas::callsOf(DrawKind kind) const {
    std::vector<DrawCall> result;
    std::copy_if(calls_.begin(), calls_.end(), std::back_inserter(result),
                 [kind](const DrawCall& c) { return c.kind == kind; });
    return result;
}
