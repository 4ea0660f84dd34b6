#pragma once
// The orange square in the bottom-right corner that scales the window.
#include "common/types.h"
#include "render/canvas.h"

// Side of the grip: 22 x the drawing scale rounded half up, within 18 to 40.
int gripSize(double scale);

// The grip square of a client rectangle.
Rect gripRect(const Rect& client, double scale);

void drawResizeGrip(Canvas& canvas, const Rect& client, double scale);
