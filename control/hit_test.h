#pragma once
// Where the pointer may act on the window, and when the window lets every click through.
#include "control/scale_rules.h"

// Transparent: the click belongs to what lies below. Grip: it scales the window. Move: a drag
// moves the window, carried out by the program itself (a caption drag left to the window
// manager does nothing where there is none, as under Wine on a bare X server).
enum class HitZone { Grip, Transparent, Move };

// The grip always takes the pointer; elsewhere a click-through window lets it pass unless
// Alt or Ctrl is held, and otherwise the whole window drags.
inline HitZone hitZone(bool inGrip, bool clickthru, Modifiers mods) {
    if (inGrip) return HitZone::Grip;
    if (clickthru && !mods.alt && !mods.ctrl) return HitZone::Transparent;
    return HitZone::Move;
}

// Whether the window should let clicks through to other programs, which only the platform's
// window style can do for every pixel: a transparent hit test reaches the windows of this
// thread alone. Off while the pointer is over the grip, Alt or Ctrl is held, or a drag is
// under way, so that those still reach the program.
inline bool passesClicks(bool inGrip, bool clickthru, Modifiers mods, bool dragging) {
    return !dragging && hitZone(inGrip, clickthru, mods) == HitZone::Transparent;
}
