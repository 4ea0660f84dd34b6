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

// After the tick at `now`: how long the tick may rest, or 0 while it is needed every frame.
// Nothing on the screen can change without a new key report once no key is held, lit or
// still drawn lit, no press is left in the panel's last second, the panel shows its figures
// (or the window is hidden), no repaint waits and the looks at the labels after the latest
// report are over. Then only the once-a-second look at the labels is due: the rest lasts
// until just after the next whole second. A key report wakes the tick again.
Tick frameTickRest(const InputState& state, Tick now, bool windowShown);
