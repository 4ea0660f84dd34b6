#include "keyboard/caps_lock.h"

void startCapsLock(CapsLockState& state, bool system) {
    state = CapsLockState{};
    state.on = state.systemSeen = system;
}

bool noteSystemCapsLock(CapsLockState& state, bool system, Tick now) {
    if (system == state.systemSeen) return false;
    state.systemSeen = system;
    // Moving to what a reported press already showed, the answer confirms that press.
    if (system == state.on) return false;
    state.on = system;
    state.unexplainedMove = true;
    state.unexplainedMoveAt = now;
    return true;
}

bool noteCapsLockKey(CapsLockState& state, bool keyUp, bool system, Tick now) {
    const bool before = state.on;
    noteSystemCapsLock(state, system, now);
    if (keyUp) {
        state.keyHeld = false;
        return state.on != before;
    }
    if (!state.keyHeld) {
        const bool alreadyShown = state.unexplainedMove && now - state.unexplainedMoveAt <= CAPS_LOCK_SAME_PRESS_MS;
        if (!alreadyShown) state.on = !state.on;
        state.unexplainedMove = false;
    }
    state.keyHeld = true;
    return state.on != before;
}
