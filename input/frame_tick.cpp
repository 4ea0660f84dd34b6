#include "input/frame_tick.h"

#include "input/lit_keys.h"

namespace {

// A key-up that went to a window this program gets no input from never arrives. A key
// shown as held that the platform says is up is released here, within a frame of the
// platform knowing. Only held keys are asked about, so an idle tick asks nothing.
void releaseKeysFoundUp(InputState& state, FrameTickContext& context, Tick now, std::vector<Rect>& areas) {
    for (int i = state.heldKeys.count - 1; i >= 0; --i) {
        const HeldKey key = state.heldKeys.keys[i];
        if (now - key.pressedAt < KEY_STATE_GRACE_MS || context.physical.isDown(key.platformVk)) continue;
        if (auto area = releaseHeldKey(state, key.id, context.layout, context.query)) areas.push_back(*area);
    }
}

// Caps Lock, the layout and the system's Shift state change the labels without a report of
// a displayed key. They are looked at for a short while after any key report, and once a
// second for changes made without a key (a layout chosen with the mouse).
void checkLabelState(InputState& state, KeyboardQuery& query, Tick now) {
    const Tick second = now / 1000;
    if (now >= state.labelRecheckUntil && second == state.labelCheckedSecond) return;
    state.labelCheckedSecond = second;
    refreshLabelState(state, query, now);
    updateLabelShift(state, query);
}

bool anyKeyLitOrDrawnLit(const KeyStateTable& keys, Tick now) {
    for (int code = 0; code < KEY_CODE_COUNT; ++code)
        if (keys.litShown[code] || keys.isLit(code, now)) return true;
    return false;
}

// A timer may come a little early by the clock it is read with; landing a frame past the
// second keeps the once-a-second look in the second it belongs to.
constexpr Tick REST_OVERSHOOT_MS = 16;

}  // namespace

Tick frameTickRest(const InputState& state, Tick now, bool windowShown) {
    if (state.heldKeys.count > 0 || state.fullRedrawPending || now < state.labelRecheckUntil) return 0;
    if (state.meter.shownFigure(now) != 0) return 0;
    if (windowShown && (state.meter.refreshPending || state.meter.shownCount != 0)) return 0;
    if (anyKeyLitOrDrawnLit(state.keys, now)) return 0;
    return 1000 - now % 1000 + REST_OVERSHOOT_MS;
}

void onFrameTick(InputState& state, FrameTickContext& context, Tick now, FrameTickEffects& effects) {
    effects.invalidateSpeedPanel = false;
    effects.invalidateAll = false;
    effects.keyAreas.clear();

    effects.invalidateSpeedPanel = state.meter.onFrame(now);
    releaseKeysFoundUp(state, context, now, effects.keyAreas);
    checkLabelState(state, context.query, now);
    // A whole-window repaint covers every key; the lit passes of the next tick catch up with
    // any lit state that changed meanwhile.
    if (state.fullRedrawPending) {
        state.fullRedrawPending = false;
        effects.invalidateAll = true;
        effects.keyAreas.clear();
        return;
    }
    updateLitStates(state.keys, context.layout, now, effects.keyAreas);
    invalidateLitKeys(state.keys, context.layout, now, effects.keyAreas);
}
