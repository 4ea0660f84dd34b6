#pragma once
// What one 16 ms frame tick invalidates.
#include <vector>

#include "common/types.h"
#include "input/key_report.h"
#include "keyboard/keyboard_layout.h"

struct FrameTickEffects {
    bool invalidateSpeedPanel = false;
    bool invalidateAll = false;
    std::vector<Rect> keyAreas;  // in order; a key may appear twice (changed, then still lit)
};

// Fills `effects` (cleared first) for the tick at `now`.
void onFrameTick(InputState& state, const KeyboardLayout& layout, Tick now, FrameTickEffects& effects);
