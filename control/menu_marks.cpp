#include "control/menu_marks.h"

#include "control/command_ids.h"

namespace {

// An alpha between the presets marks the next preset at or above it.
int opacityItem(unsigned char alpha) {
    if (alpha <= 102) return IDM_ALPHA_40;
    if (alpha <= 153) return IDM_ALPHA_60;
    if (alpha <= 204) return IDM_ALPHA_80;
    return IDM_ALPHA_100;
}

// A value outside the menu's (from an edited file) marks the last item of its group.
int designItem(int style) {
    if (style == STYLE_LABELS_ONLY) return IDM_STYLE_TEXT;
    if (style == STYLE_FILLED) return IDM_STYLE_KEY;
    return IDM_STYLE_OUTLINE;
}

int soundItem(int soundSel) {
    if (soundSel == 1) return IDM_SOUND_1;
    if (soundSel == 2) return IDM_SOUND_2;
    return IDM_SOUND_3;
}

}  // namespace

std::vector<int> checkedMenuItems(const AppSettings& s) {
    std::vector<int> ids;
    if (s.topmost) ids.push_back(IDM_TOPMOST);
    if (s.clickthru) ids.push_back(IDM_CLICKTHRU);
    ids.push_back(opacityItem(s.alpha));
    ids.push_back(designItem(s.style));
    if (s.shadow) ids.push_back(IDM_SHADOW);
    if (s.aa) ids.push_back(IDM_AA);
    ids.push_back(s.rendermode == RENDER_COLOR_KEY ? IDM_RENDER_COLORKEY : IDM_RENDER_PERPIXEL);
    ids.push_back(s.soundOn ? IDM_SOUND_ON : IDM_SOUND_OFF);
    ids.push_back(soundItem(s.soundSel));
    // Checked while this run holds the sounds muted, even when the setting is off.
    if (s.autoMuteSys || s.sysSoundsMuted) ids.push_back(IDM_AUTOMUTE);
    // The keyboard shown: the full one for its value, the compact one for any other.
    ids.push_back(s.layout == LAYOUT_FULL ? IDM_LAYOUT_FULL : IDM_LAYOUT_COMPACT);
    return ids;
}
