#pragma once
// Where the pointer may act on the window.
#include "control/scale_rules.h"

enum class HitZone { Client, Transparent, Caption };

// The grip always takes the pointer; elsewhere a click-through window lets it pass unless
// Alt or Ctrl is held, and otherwise the whole window drags like a caption.
inline HitZone hitZone(bool inGrip, bool clickthru, Modifiers mods) {
    if (inGrip) return HitZone::Client;
    if (clickthru && !mods.alt && !mods.ctrl) return HitZone::Transparent;
    return HitZone::Caption;
}
