#include "control/window_placement.h"

#include <cstdint>

namespace {

// In 64 bits: a position near the ends of the int range plus the window's size must not wrap.
bool overlaps(std::int64_t left, std::int64_t top, Size size, const Rect& screen) {
    return left < screen.right && screen.left < left + size.width && top < screen.bottom && screen.top < top + size.height;
}

}  // namespace

WindowPosition openingPosition(WindowPosition saved, Size size, std::span<const Rect> screens) {
    if (saved.left == POSITION_DEFAULT || screens.empty()) return saved;
    for (const Rect& screen : screens)
        if (overlaps(saved.left, saved.top, size, screen)) return saved;
    return WindowPosition{};
}
