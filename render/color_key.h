#pragma once
// The colour that stands for "nothing here": the layered window's transparent colour, and in
// the per-pixel frame the colour that is drawn as a see-through pixel.
#include "common/types.h"

constexpr Color COLOR_KEY = rgb(255, 0, 255);
