#pragma once
// Which key areas a frame tick repaints so that lit keys animate and unlit ones settle.
#include <vector>

#include "common/types.h"
#include "input/key_state.h"
#include "keyboard/keyboard_layout.h"

// The area a key's drawing may cover, its glow and shadow included: its rectangle grown by
// KEY_INVALIDATE_MARGIN on every side. Repainting a key repaints this.
inline Rect keyRepaintArea(const KeyCap& key) { return key.rect.inflated(KEY_INVALIDATE_MARGIN, KEY_INVALIDATE_MARGIN); }

// Appends the grown area of every key whose lit state differs from the one last drawn, and
// records the new state in litShown.
void updateLitStates(KeyStateTable& keys, const KeyboardLayout& layout, Tick now, std::vector<Rect>& areas);

// Appends the grown area of every key that is lit now.
void invalidateLitKeys(const KeyStateTable& keys, const KeyboardLayout& layout, Tick now, std::vector<Rect>& areas);
