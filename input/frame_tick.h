#pragma once
// What one 16 ms frame tick invalidates.
#include <vector>

#include "common/types.h"
#include "input/key_report.h"
#include "input/physical_key_state.h"
#include "keyboard/keyboard_layout.h"
#include "keyboard/keyboard_query.h"

struct FrameTickEffects {
    bool invalidateSpeedPanel = false;
    bool invalidateAll = false;
    std::vector<Rect> keyAreas;  // in order; a key may appear twice (changed, then still lit)
};

struct FrameTickContext {
    const KeyboardLayout& layout;
    KeyboardQuery& query;
    PhysicalKeyState& physical;
};

// Fills `effects` (cleared first) for the tick at `now`.
void onFrameTick(InputState& state, FrameTickContext& context, Tick now, FrameTickEffects& effects);
