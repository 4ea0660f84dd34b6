#include "input/frame_tick.h"

#include "input/lit_keys.h"

void onFrameTick(InputState& state, const KeyboardLayout& layout, Tick now, FrameTickEffects& effects) {
    effects.invalidateSpeedPanel = false;
    effects.invalidateAll = false;
    effects.keyAreas.clear();

    effects.invalidateSpeedPanel = state.meter.onFrame(now);
    // A whole-window repaint covers every key; the lit passes of the next tick catch up with
    // any lit state that changed meanwhile.
    if (state.fullRedrawPending) {
        state.fullRedrawPending = false;
        effects.invalidateAll = true;
        return;
    }
    updateLitStates(state.keys, layout, now, effects.keyAreas);
    invalidateLitKeys(state.keys, layout, now, effects.keyAreas);
}
