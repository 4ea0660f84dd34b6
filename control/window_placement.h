#pragma once
// Where the window opens.
#include <span>

#include "common/types.h"
#include "settings/settings_file.h"

// The saved position, unless no part of the window placed there would lie on any screen (a
// monitor unplugged, a resolution lowered): then where a first start opens it, the primary
// screen's top-left corner. A position that touches any screen, negative coordinates
// included, stays as saved; so does every position when the screens are not known.
WindowPosition openingPosition(WindowPosition saved, Size size, std::span<const Rect> screens);

// Where the window goes when the DPI of its screen changes (it was moved to another monitor,
// or the monitor's scaling was changed): the system suggests a rectangle, and the window,
// which sizes itself from its metrics, is centred on it. Where the system was told the size
// beforehand, the two are the same.
Rect placeForDpiChange(const Rect& suggested, Size size);
