#pragma once
// Which on-screen keys are held, when each was last pressed, and the lit state last drawn.
#include <array>

#include "common/types.h"
#include "keyboard/key_codes.h"

// A key stays lit at least this long after its latest key-down, even when released sooner.
constexpr Tick LIT_HOLD_MS = 140;
// A key's area is invalidated with this margin, which covers the grown, shadowed and
// glowing look of a lit key at every scale, and no more: the body grows 6 pixels and its
// shadow lies 2 further, so at the default scale and above, where keys stand 8 pixels
// apart, a lit key's repaint reaches no other key.
constexpr int KEY_INVALIDATE_MARGIN = 8;

// Indexed by key code (key_codes.h); codes outside 0..KEY_CODE_COUNT - 1 are never stored and
// read as absent. Fixed arrays instead of maps: bounded, and a look-up costs nothing on the
// frame tick.
struct KeyStateTable {
    std::array<bool, KEY_CODE_COUNT> held{};
    std::array<bool, KEY_CODE_COUNT> everPressed{};
    std::array<Tick, KEY_CODE_COUNT> lastPress{};
    std::array<bool, KEY_CODE_COUNT> litShown{};

    bool isHeld(int vk) const;
    bool isLit(int vk, Tick now) const;
    // The time of the latest key-down, 0 when the key was never pressed.
    Tick lastPressTick(int vk) const;
};

inline bool isKeyCodeInRange(int vk) { return vk >= 0 && vk < KEY_CODE_COUNT; }
