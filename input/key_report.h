#pragma once
// One raw keyboard report, reduced to what the key state needs, and its handling.
#include <optional>

#include "common/types.h"
#include "input/key_state.h"
#include "input/speed_meter.h"
#include "keyboard/keyboard_layout.h"
#include "keyboard/keyboard_query.h"
#include "input/sound_player.h"
#include "settings/app_settings.h"

struct KeyReport {
    int vkey = 0;
    int makeCode = 0;
    bool keyUp = false;
};

// The key state and the values the frame tick and the painting share with it.
struct InputState {
    KeyStateTable keys;
    SpeedMeter meter;
    bool labelShift = false;         // the Shift state the labels are drawn and queried with
    bool fullRedrawPending = false;  // every label changed: the next tick repaints everything
};

struct InputContext {
    const KeyboardLayout& layout;
    const AppSettings& settings;
    KeyboardQuery& query;
    SoundPlayer& sound;
};

// Updates the state for one report at `now`, clicks and counts a press, and returns the
// area to invalidate (the key's rectangle grown by KEY_INVALIDATE_MARGIN), if any.
std::optional<Rect> onKeyReport(InputState& state, const KeyReport& report, Tick now, InputContext& context);
