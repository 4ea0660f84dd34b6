#pragma once
// Text whose coverage is worked out pixel by pixel: the platform draws no alpha, so the text
// is drawn a second time, white on black, into a mask, and each pixel's coverage is read
// from it. The text itself is still drawn by the platform over what is there, so that over
// opaque pixels it is exactly the platform's own blend.
#include <string_view>

#include "common/types.h"
#include "render/canvas.h"
#include "render/pixel_buffer.h"

class GdiResources;

// Draws `text` in the selected font of `dc` (an HDC), placed by `placement`, with a
// transparent background.
void drawTextInSelectedFont(void* dc, Color color, std::wstring_view text, const TextPlacement& placement);

// Text in the per-pixel frame, whose top-left pixel stands at `origin`: see textPixel.
void drawTextPerPixel(PixelBuffer& frame, Point origin, GdiResources& resources, const TextFont& font, Color color,
                      std::wstring_view text, const TextPlacement& placement);

// Text in the colour-keyed frame held by `dc` (an HDC with a bitmap selected): see
// keyedTextPixel.
void drawTextOverColorKey(void* dc, GdiResources& resources, const TextFont& font, Color color,
                          std::wstring_view text, const TextPlacement& placement);
