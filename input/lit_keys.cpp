#include "input/lit_keys.h"

// The area of a key that just stopped being lit is repainted once more, so its normal look
// is drawn on the first tick after LIT_HOLD_MS.
void updateLitStates(KeyStateTable& keys, const KeyboardLayout& layout, Tick now, std::vector<Rect>& areas) {
    for (const KeyCap& key : layout) {
        if (!isKeyCodeInRange(key.vk)) continue;
        const bool lit = keys.isLit(key.vk, now);
        if (lit == keys.litShown[key.vk]) continue;
        areas.push_back(keyRepaintArea(key));
        keys.litShown[key.vk] = lit;
    }
}

// A lit key is repainted on every tick because its glow pulses with time.
void invalidateLitKeys(const KeyStateTable& keys, const KeyboardLayout& layout, Tick now, std::vector<Rect>& areas) {
    for (const KeyCap& key : layout) {
        if (keys.isLit(key.vk, now)) areas.push_back(keyRepaintArea(key));
    }
}
