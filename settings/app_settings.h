#pragma once
// Every choice of the user that survives a restart, with its defaults.
#include <string>

#include "common/types.h"

// The value of `style`.
enum DesignStyle : int { STYLE_LABELS_ONLY = 0, STYLE_FILLED = 1, STYLE_OUTLINED = 2 };
// The value of `rendermode`: how the window shows its frames (render/window_frames.h).
enum RenderMode : int { RENDER_COLOR_KEY = 0, RENDER_PER_PIXEL = 1 };
// The value of `layout`: the compact 46 keys, or the full keyboard. Any other value (from an
// edited file, or a later version's further keyboard) shows the compact keys and is kept.
enum KeyboardChoice : int { LAYOUT_COMPACT = 0, LAYOUT_FULL = 1 };

struct KeyColors {
    Color textN = 0x1E1E1E;
    Color textA = 0xFFFFFF;
    Color fillN = 0xE6E6E6;
    Color fillA = 0xFFA03C;
    Color lineN = 0x505050;
    Color lineA = 0xFFA03C;
    Color shadowColor = 0xA0A0A0;
    friend bool operator==(const KeyColors&, const KeyColors&) = default;
};

struct AppSettings {
    bool topmost = true;
    bool clickthru = true;
    unsigned char alpha = 204;
    int style = STYLE_FILLED;
    KeyColors colors;
    int soundSel = 1;
    double scale = 1.0;
    bool shadow = false;
    bool aa = false;
    int rendermode = RENDER_COLOR_KEY;
    bool soundOn = false;
    bool autoMuteSys = false;
    int layout = LAYOUT_COMPACT;

    // Runtime only, never written as a setting: the sound scheme is blanked by this run.
    bool sysSoundsMuted = false;
    // Full path of settings.ini; empty until the path is resolved, and when it can't be:
    // no file is read or written then.
    std::wstring settingsPath;
};

constexpr double MIN_SCALE = 0.5;
constexpr double MAX_SCALE = 3.0;

inline double clampScale(double s) { return s < MIN_SCALE ? MIN_SCALE : (s > MAX_SCALE ? MAX_SCALE : s); }

// The reset-colours command: the seven colours go back to their defaults, nothing else changes.
inline void resetColors(AppSettings& s) { s.colors = KeyColors{}; }
