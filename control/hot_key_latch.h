#pragma once
// A hot key held down toggles once. Where the platform cannot be told to leave out the
// repeats of a held hot key, they are ignored here: the hot key fires again only once its
// key has been seen up, by its key-up report or, when that went astray, by the platform's
// key state.
#include <cstdint>

#include "common/types.h"
#include "input/physical_key_state.h"

struct HotKeyLatch {
    bool fired = false;
    Tick firedAt = 0;

    // Whether this hot key message should act.
    bool fire(Tick now) {
        if (fired) return false;
        fired = true;
        firedAt = now;
        return true;
    }
    void release() { fired = false; }
    // Whether the key state is worth asking whether the key is up again.
    bool awaitsRelease(Tick now) const { return fired && now - firedAt >= KEY_STATE_GRACE_MS; }

    // Whether a message stamped `time` came no later than one stamped `hotKeyTime`, both read
    // from the platform's 32-bit millisecond clock, which wraps every 49.7 days.
    static bool cameBefore(std::uint32_t time, std::uint32_t hotKeyTime) {
        return static_cast<std::int32_t>(time - hotKeyTime) <= 0;
    }
};
