#pragma once
// The keys shown, in build order, with their rectangles at the current metrics, built from one
// of the arrangements of key_arrangement.h.
#include <array>
#include <vector>

#include "common/types.h"
#include "keyboard/key_arrangement.h"
#include "keyboard/key_codes.h"
#include "keyboard/layout_metrics.h"

constexpr int KEY_LABEL_CAPACITY = 12;  // 11 characters and the terminator

struct KeyCap {
    int vk = 0;  // the key's code (key_codes.h): a virtual-key code, or where the key sits
    Rect rect;
    std::array<wchar_t, KEY_LABEL_CAPACITY> label{};  // the fixed label, NUL-terminated
    KeyKind kind = KeyKind::Typed;
    const wchar_t* matchedCharacters = L"";  // as in its KeyEntry
    bool fullWidthColons = false;             // as its arrangement says
};

using KeyboardLayout = std::vector<KeyCap>;

// The compact keyboard's keys.
constexpr int DISPLAYED_KEY_COUNT = 46;

// Empties `layout` (keeping its storage), appends the keys of `arrangement` and returns the
// window size that holds them and the speed panel; `scale` is the drawing scale `m` was
// computed from.
Size buildLayout(KeyboardLayout& layout, const LayoutMetrics& m, double scale,
                 const KeyArrangement& arrangement = COMPACT_KEYBOARD);

// The window size at the drawing scale `scale`, without keeping a layout.
Size windowSizeForScale(double scale, const KeyArrangement& arrangement = COMPACT_KEYBOARD);

// The first key of `layout` with this code, or null.
const KeyCap* findKey(const KeyboardLayout& layout, int code);

// Whether the keyboard shows a key of this code.
inline bool isDisplayedKey(const KeyboardLayout& layout, int code) { return findKey(layout, code) != nullptr; }

// Whether the keyboard names its keys by where they sit (the full keyboards) rather than by
// their virtual keys (the compact one); every arrangement names all its keys one way.
inline bool namesKeysByPlace(const KeyboardLayout& layout) { return !layout.empty() && isPhysicalKey(layout.front().vk); }
