#include "input/key_state.h"

bool KeyStateTable::isHeld(int vk) const { return isKeyCodeInRange(vk) && held[vk]; }

// A tap shorter than LIT_HOLD_MS still shows for the whole LIT_HOLD_MS.
bool KeyStateTable::isLit(int vk, Tick now) const {
    if (!isKeyCodeInRange(vk)) return false;
    return held[vk] || (everPressed[vk] && now - lastPress[vk] < LIT_HOLD_MS);
}

Tick KeyStateTable::lastPressTick(int vk) const {
    return isKeyCodeInRange(vk) && everPressed[vk] ? lastPress[vk] : 0;
}
