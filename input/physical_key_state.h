#pragma once
// Whether a key is physically down right now, as the platform tells it. Asked only about keys
// that are shown as held, to catch a key-up that never reached the program.
#include "common/types.h"

// A key-down report may be handled a moment before the platform's key state shows the key
// down, and the key state may answer from a copy up to 50 ms old (Wine keeps one per thread):
// a key down for less than this is not asked about.
constexpr Tick KEY_STATE_GRACE_MS = 100;

class PhysicalKeyState {
public:
    virtual ~PhysicalKeyState() = default;
    virtual bool isDown(int vk) = 0;
};
