#pragma once
// What each menu command does to the settings, and what it leaves for the shell to do.
#include "common/types.h"
#include "settings/app_settings.h"

enum class ShellAction {
    None,
    ToggleVisible,      // show/hide toggle
    ApplyZOrder,        // apply the z-order, which also shows the window
    ShowNoActivate,     // show a hidden window without activating it
    ApplyOpacity,       // set the layered attributes from `alpha`
    ApplyFrameMode,     // show the frames the way `rendermode` says, from the next paint on
    MuteSystemSounds,
    RestoreSystemSounds,
    ChooseColor,        // open the colour chooser on `colorField`
    Exit,               // save, restore the system sounds, remove the tray icon, quit
    ApplyScale,         // rescale the window to `scale`
    ApplyLayout,        // rebuild the window for the keyboard `layout` names
    OpenScaleDialog,
    ShowContact,
};

struct CommandOutcome {
    bool known = false;    // an id not in the table is ignored
    ShellAction action = ShellAction::None;
    bool save = false;     // saveSettings without a position, after the action
    bool redraw = false;   // invalidate the whole client area
    Color* colorField = nullptr;
};

// Applies the settings part of command `id` to `s` and says what the shell must do next.
CommandOutcome runCommand(AppSettings& s, int id);
