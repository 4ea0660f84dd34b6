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
