#include "keyboard/keyboard_layout.h"

#include <algorithm>
#include <cmath>

namespace {

// Pixel positions from positions in key units (a key and the gap after it), key widths (gaps
// not counted) and rows. Every edge comes from its position in the table, not from the key
// before it, so keys that the table lines up line up to the pixel, and neighbours stand
// exactly one gap apart whatever the rounding.
class Grid {
public:
    explicit Grid(const LayoutMetrics& m) : m_(m) {}

    int x(double units, double keyWidths) const {
        return m_.marginX + static_cast<int>(std::floor(units * (m_.keyWidth + m_.keyGap) + keyWidths * m_.keyWidth));
    }
    int y(double rows) const { return m_.marginY + static_cast<int>(std::floor(rows * (m_.keyHeight + m_.rowGap))); }

    // A key of `width` units and `height` rows at `units` and `row`.
    Rect key(double units, double keyWidths, double row, double width, double height) const {
        return {x(units, keyWidths), y(row), x(units + width, keyWidths) - m_.keyGap, y(row + height) - m_.rowGap};
    }

private:
    const LayoutMetrics& m_;
};

void copyLabel(const wchar_t* text, std::array<wchar_t, KEY_LABEL_CAPACITY>& label) {
    label.fill(L'\0');
    for (int i = 0; text != nullptr && i < KEY_LABEL_CAPACITY - 1 && text[i] != L'\0'; ++i) label[i] = text[i];
}

KeyCap keyCapOf(const KeyEntry& entry, const Rect& rect, const KeyArrangement& arrangement) {
    KeyCap key;
    key.vk = entry.code;
    key.rect = rect;
    copyLabel(entry.label, key.label);
    key.kind = entry.kind;
    key.matchedCharacters = entry.matchedCharacters;
    key.fullWidthColons = arrangement.fullWidthColons;
    return key;
}

}  // namespace

Size buildLayout(KeyboardLayout& layout, const LayoutMetrics& m, double scale, const KeyArrangement& arrangement) {
    layout.clear();
    const Grid grid(m);
    int maxRight = 0;
    int maxBottom = 0;
    for (const KeyGroup& group : arrangement.groups) {
        double units = group.left;
        for (const KeyEntry& entry : group.keys) {
            units += entry.gap;
            const Rect rect = grid.key(units, group.indent, group.row, entry.width, entry.height);
            layout.push_back(keyCapOf(entry, rect, arrangement));
            maxRight = std::max(maxRight, rect.right);
            maxBottom = std::max(maxBottom, rect.bottom);
            units += entry.width;
        }
    }
    return {maxRight + m.keyGap + m.marginX + speedPanelWidth(scale), maxBottom + m.marginY};
}

Size windowSizeForScale(double scale, const KeyArrangement& arrangement) {
    LayoutMetrics m;
    updateMetrics(m, scale);
    KeyboardLayout layout;
    return buildLayout(layout, m, scale, arrangement);
}

const KeyCap* findKey(const KeyboardLayout& layout, int code) {
    auto it = std::find_if(layout.begin(), layout.end(), [code](const KeyCap& key) { return key.vk == code; });
    return it == layout.end() ? nullptr : &*it;
}
