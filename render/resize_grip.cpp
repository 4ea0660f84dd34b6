#include "render/resize_grip.h"

#include <algorithm>
#include <iterator>

namespace {
constexpr int GRIP_MIN = 18;
constexpr int GRIP_MAX = 40;
constexpr Color GRIP_FILL = rgb(255, 128, 0);
constexpr Color GRIP_EDGE = rgb(180, 80, 0);
constexpr Color GRIP_STROKE = rgb(255, 255, 255);
constexpr int GRIP_STROKE_WIDTH = 2;
}  // namespace

int gripSize(double scale) {
    return std::clamp(static_cast<int>(scale * 22 + 0.5), GRIP_MIN, GRIP_MAX);
}

Rect gripRect(const Rect& client, double scale) {
    const int g = gripSize(scale);
    return {client.right - g, client.bottom - g, client.right, client.bottom};
}

void drawResizeGrip(Canvas& canvas, const Rect& client, double scale) {
    const Rect s = gripRect(client, scale);
    canvas.fillRect(s, GRIP_FILL);
    // The right and bottom sides of this path lie just outside the client area, so only the
    // top and left edges show.
    const Point edge[] = {{s.left, s.top}, {s.right, s.top}, {s.right, s.bottom}, {s.left, s.bottom}, {s.left, s.top}};
    canvas.polyline(edge, std::size(edge), GRIP_EDGE, 1);
    // The strokes hang from the client's corner, not from the square, so they keep their
    // size at every scale.
    for (int d = 4; d < 24; d += 5) {
        const Point stroke[] = {{client.right - d, client.bottom}, {client.right, client.bottom - d}};
        canvas.polyline(stroke, std::size(stroke), GRIP_STROKE, GRIP_STROKE_WIDTH);
    }
}
