#pragma once
// Caps Lock as a window that never has the keyboard focus can know it.
//
// The system keeps a key state per thread, brought up to date only as the thread takes key
// messages from its queue; this program gets its keys as raw input and takes none, so its
// thread's Caps Lock toggle is left behind on Windows (under Wine it follows every press).
// The asynchronous key state tells whether a key is down, not whether it is toggled. So a
// Caps Lock key-down from the raw reports toggles the state at once (its repeats while held
// do not), and the thread's answer is taken whenever it moves, which is when it is known to
// be up to date: always under Wine; on Windows when this thread's key state is refreshed, as
// when the menu takes the foreground, which also brings in a change made without the key
// (Shift set to turn Caps Lock off, a program that sets it).
#include "common/types.h"

struct CapsLockState {
    bool on = false;
    bool systemSeen = false;  // the thread's answer when last looked at
    bool keyHeld = false;     // the Caps Lock key is down: its repeats toggle nothing
    // When the thread's answer last moved to something the state did not already show; a
    // key-down reported just after it is the press that moved it, not another one.
    Tick unexplainedMoveAt = 0;
    bool unexplainedMove = false;
};

// How close before a key-down report the thread's answer may move for that press: the answer
// and the report come from the same key event, in either order.
constexpr Tick CAPS_LOCK_SAME_PRESS_MS = 100;

void startCapsLock(CapsLockState& state, bool system);

// The thread's Caps Lock toggle as it answers now; true when the state changed.
bool noteSystemCapsLock(CapsLockState& state, bool system, Tick now);

// A raw report of the Caps Lock key, with the thread's answer at that moment; true when the
// state changed.
bool noteCapsLockKey(CapsLockState& state, bool keyUp, bool system, Tick now);
