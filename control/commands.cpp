#include "control/commands.h"

#include "control/command_ids.h"

namespace {

bool toggled(bool value) { return !value; }

CommandOutcome outcome(ShellAction action, bool save, bool redraw) {
    CommandOutcome o;
    o.known = true;
    o.action = action;
    o.save = save;
    o.redraw = redraw;
    return o;
}

CommandOutcome settingChanged(bool redraw) { return outcome(ShellAction::None, true, redraw); }

Color* colorFieldOf(KeyColors& c, int id) {
    switch (id) {
    case IDM_COLOR_TEXT: return &c.textN;
    case IDM_COLOR_TEXT_PRESSED: return &c.textA;
    case IDM_COLOR_FILL: return &c.fillN;
    case IDM_COLOR_FILL_PRESSED: return &c.fillA;
    case IDM_COLOR_LINE: return &c.lineN;
    case IDM_COLOR_LINE_PRESSED: return &c.lineA;
    case IDM_COLOR_SHADOW: return &c.shadowColor;
    default: return nullptr;
    }
}

CommandOutcome setAlpha(AppSettings& s, unsigned char alpha) {
    s.alpha = alpha;
    return outcome(ShellAction::ApplyOpacity, true, true);
}

CommandOutcome setScale(AppSettings& s, double scale) {
    s.scale = scale;
    return outcome(ShellAction::ApplyScale, true, false);
}

// Like a new scale, a new keyboard resizes the window with its top-left corner kept.
CommandOutcome setLayout(AppSettings& s, int layout) {
    s.layout = layout;
    return outcome(ShellAction::ApplyLayout, true, false);
}

CommandOutcome toggleAutoMute(AppSettings& s) {
    s.autoMuteSys = toggled(s.autoMuteSys);
    ShellAction action = ShellAction::None;
    if (s.autoMuteSys && !s.sysSoundsMuted) action = ShellAction::MuteSystemSounds;
    if (!s.autoMuteSys && s.sysSoundsMuted) action = ShellAction::RestoreSystemSounds;
    return outcome(action, true, false);
}

CommandOutcome chooseColor(AppSettings& s, int id) {
    CommandOutcome o = outcome(ShellAction::ChooseColor, false, false);
    o.colorField = colorFieldOf(s.colors, id);
    return o;
}

}  // namespace

CommandOutcome runCommand(AppSettings& s, int id) {
    switch (id) {
    case IDM_TOGGLE_VISIBLE: return outcome(ShellAction::ToggleVisible, true, false);
    case IDM_TOPMOST: s.topmost = toggled(s.topmost); return outcome(ShellAction::ApplyZOrder, true, false);
    case IDM_CLICKTHRU: s.clickthru = toggled(s.clickthru); return outcome(ShellAction::ShowNoActivate, true, false);
    case IDM_ALPHA_40: return setAlpha(s, 102);
    case IDM_ALPHA_60: return setAlpha(s, 153);
    case IDM_ALPHA_80: return setAlpha(s, 204);
    case IDM_ALPHA_100: return setAlpha(s, 255);
    case IDM_STYLE_TEXT: s.style = STYLE_LABELS_ONLY; return settingChanged(true);
    case IDM_STYLE_KEY: s.style = STYLE_FILLED; return settingChanged(true);
    case IDM_STYLE_OUTLINE: s.style = STYLE_OUTLINED; return settingChanged(true);
    case IDM_SHADOW: s.shadow = toggled(s.shadow); return settingChanged(true);
    case IDM_AA: s.aa = toggled(s.aa); return settingChanged(true);
    case IDM_RENDER_COLORKEY: s.rendermode = RENDER_COLOR_KEY; return outcome(ShellAction::ApplyFrameMode, true, true);
    case IDM_RENDER_PERPIXEL: s.rendermode = RENDER_PER_PIXEL; return outcome(ShellAction::ApplyFrameMode, true, true);
    case IDM_SOUND_ON: s.soundOn = true; return settingChanged(false);
    case IDM_SOUND_OFF: s.soundOn = false; return settingChanged(false);
    case IDM_SOUND_1: s.soundSel = 1; return settingChanged(false);
    case IDM_SOUND_2: s.soundSel = 2; return settingChanged(false);
    case IDM_SOUND_3: s.soundSel = 3; return settingChanged(false);
    case IDM_AUTOMUTE: return toggleAutoMute(s);
    case IDM_COLOR_TEXT:
    case IDM_COLOR_TEXT_PRESSED:
    case IDM_COLOR_FILL:
    case IDM_COLOR_FILL_PRESSED:
    case IDM_COLOR_LINE:
    case IDM_COLOR_LINE_PRESSED:
    case IDM_COLOR_SHADOW: return chooseColor(s, id);
    case IDM_COLOR_RESET: s.colors = KeyColors{}; return settingChanged(true);
    case IDM_EXIT: return outcome(ShellAction::Exit, true, false);
    case IDM_SCALE_080: return setScale(s, 0.8);
    case IDM_SCALE_100: return setScale(s, 1.0);
    case IDM_SCALE_125: return setScale(s, 1.25);
    case IDM_SCALE_150: return setScale(s, 1.5);
    case IDM_SCALE_200: return setScale(s, 2.0);
    case IDM_SCALE_INPUT: return outcome(ShellAction::OpenScaleDialog, false, false);
    case IDM_CONTACT: return outcome(ShellAction::ShowContact, false, false);
    case IDM_LAYOUT_COMPACT: return setLayout(s, LAYOUT_COMPACT);
    case IDM_LAYOUT_FULL: return setLayout(s, LAYOUT_FULL);
    default: return CommandOutcome{};
    }
}
