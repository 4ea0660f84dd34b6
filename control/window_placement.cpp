#include "control/window_placement.h"

#include <algorithm>
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

Rect placeForDpiChange(const Rect& suggested, Size size) {
    // In 64 bits: the suggestion comes from the system, and its corners may lie anywhere.
    const std::int64_t width = static_cast<std::int64_t>(suggested.right) - suggested.left;
    const std::int64_t height = static_cast<std::int64_t>(suggested.bottom) - suggested.top;
    const std::int64_t left = suggested.left + (width - size.width) / 2;
    const std::int64_t top = suggested.top + (height - size.height) / 2;
    const int l = static_cast<int>(std::clamp<std::int64_t>(left, INT32_MIN, INT32_MAX - size.width));
    const int t = static_cast<int>(std::clamp<std::int64_t>(top, INT32_MIN, INT32_MAX - size.height));
    return {l, t, l + size.width, t + size.height};
}
