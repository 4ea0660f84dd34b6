#pragma once
// One raw keyboard report, reduced to what the key state needs, and its handling.
#include <optional>

#include "common/types.h"
#include "input/focus_tracker.h"
#include "input/held_keys.h"
#include "input/held_reports.h"
#include "input/key_state.h"
#include "input/sound_player.h"
#include "input/speed_meter.h"
#include "keyboard/caps_lock.h"
#include "keyboard/key_labels.h"
#include "keyboard/keyboard_layout.h"
#include "keyboard/keyboard_query.h"
#include "settings/app_settings.h"

struct KeyReport {
    int vkey = 0;
    int makeCode = 0;
    bool keyUp = false;
    bool extended = false;  // the make code came with the E0 prefix
};

// The key state and the values the frame tick and the painting share with it.
struct InputState {
    KeyStateTable keys;
    HeldKeys heldKeys;
    SpeedMeter meter;
    bool labelShift = false;         // the Shift state the labels are drawn and queried with
    bool fullRedrawPending = false;  // every label changed: the next tick repaints everything
    LabelState labelState;           // Caps Lock and layout as the labels last showed them
    CapsLockState capsLock;          // Caps Lock as the raw reports and the system tell it
    Tick labelRecheckUntil = 0;      // after a key report, the ticks until then look again
    Tick labelCheckedSecond = 0;     // and once a second whatever happens
    FocusTracker focus;              // whether what is typed now shows, waits or stays private
    HeldReports heldReports;         // typed while the focus waits to be judged
    PrivacyMode appliedPrivacy = PrivacyMode::Open;  // the mode the key state was last brought in line with
    bool keysPrivate = false;        // the keys were let go for a password field and nothing shown since
};

struct InputContext {
    const KeyboardLayout& layout;
    const AppSettings& settings;
    KeyboardQuery& query;
    SoundPlayer& sound;
};

// The state when the window is created: nothing held, the labels as the keyboard is now.
void startInput(InputState& state, KeyboardQuery& query, Tick now);

// Updates the state for one report at `now`, clicks and counts a press, and returns the
// area to invalidate (the key's rectangle grown by KEY_INVALIDATE_MARGIN), if any.
std::optional<Rect> onKeyReport(InputState& state, const KeyReport& report, Tick now, InputContext& context);

// Stops showing the physical key `id` as held, as if its key-up had come; returns the area to
// invalidate, if any.
std::optional<Rect> releaseHeldKey(InputState& state, int id, const KeyboardLayout& layout, KeyboardQuery& query);

// Every key goes out as if released, and the whole window is repainted at the next tick: for
// when key-ups can no longer arrive (the session locked or switched, the machine asleep).
void releaseAllKeys(InputState& state, KeyboardQuery& query);

// Brings the key state in line with the privacy mode at `now`, after the focus moved, was
// judged, or time passed. Entering a password field, every key held goes out as if released
// and what was held back is dropped; from then on no key lights, clicks or counts, and Shift
// changes no label. A focus judged no password field shows what was held back, each report
// at its own time: a key still down lights, a tap counts at the moment it was typed.
void settlePrivacy(InputState& state, Tick now, InputContext& context);

// Brings labelShift in line with the keys and the system; true when it changed, in which case
// the next tick repaints the whole window.
bool updateLabelShift(InputState& state, KeyboardQuery& query);

// Looks again at the layout of the program typed into and at the system's Caps Lock; when
// what the labels show changed, the next tick repaints the whole window.
void refreshLabelState(InputState& state, KeyboardQuery& query, Tick now);

// Another window came to the front: the labels follow its program's layout at once, and the
// ticks look again for a while, since a program may switch its layout as it comes to the front.
void onForegroundChange(InputState& state, KeyboardQuery& query, Tick now);
