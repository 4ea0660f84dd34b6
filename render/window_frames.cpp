#include "render/window_frames.h"

#include <algorithm>

Rect dirtyRect(std::span<const Rect> areas, const Rect& client) {
    Rect around{};
    for (const Rect& area : areas) {
        const Rect inside = intersection(area, client);
        if (inside.empty()) continue;
        if (around.empty()) {
            around = inside;
            continue;
        }
        around = {std::min(around.left, inside.left), std::min(around.top, inside.top),
                  std::max(around.right, inside.right), std::max(around.bottom, inside.bottom)};
    }
    return around;
}
