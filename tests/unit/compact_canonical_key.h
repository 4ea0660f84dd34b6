#pragma once
// The key of the compact keyboard that a report names, for tests of the mapping itself.
#include "keyboard/key_labels.h"
#include "keyboard/keyboard_layout.h"

// The compact keyboard matches punctuation by the character it types.
inline int compactCanonicalKey(int makeCode, int vk, bool labelShift, KeyboardQuery& query) {
    static const KeyboardLayout compact = [] {
        KeyboardLayout layout;
        buildLayout(layout, LayoutMetrics{}, 1.0);
        return layout;
    }();
    return canonicalKey(makeCode, vk, labelShift, query, compact);
}
