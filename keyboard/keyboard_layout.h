#pragma once
// The 46 keys shown, in build order, with their rectangles at the current metrics.
#include <array>
#include <optional>
#include <vector>

#include "common/types.h"
#include "keyboard/layout_metrics.h"

constexpr int KEY_LABEL_CAPACITY = 12;  // 11 characters and the terminator

struct KeyCap {
    int vk = 0;
    Rect rect;
    std::array<wchar_t, KEY_LABEL_CAPACITY> label{};  // the fixed label, NUL-terminated
};

using KeyboardLayout = std::vector<KeyCap>;

constexpr int DISPLAYED_KEY_COUNT = 46;

// Empties `layout` (keeping its storage), appends the 46 keys and returns the window size
// that holds them and the speed panel; `scale` is the drawing scale `m` was computed from.
Size buildLayout(KeyboardLayout& layout, const LayoutMetrics& m, double scale);

// The window size at the drawing scale `scale`, without keeping a layout.
Size windowSizeForScale(double scale);

bool isDisplayedKey(int vk);

// The first key of `layout` with this code, or null.
const KeyCap* findKey(const KeyboardLayout& layout, int vk);
