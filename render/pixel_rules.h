#pragma once
// The arithmetic of the two kinds of frame, on plain pixels: the per-pixel frame holds
// premultiplied 0xAARRGGBB pixels (a 32-bit top-down DIB's layout), in which the colour key
// stands for a see-through pixel; and the rule by which smoothed text meets the colour key.
#include <cstdint>

#include "common/types.h"

using Pixel = std::uint32_t;

constexpr Pixel CLEAR_PIXEL = 0;

constexpr unsigned alphaOf(Pixel p) { return p >> 24; }

// The 0x00RRGGBB value a 32-bit DIB holds for a colour, and back.
constexpr Pixel dibRgb(Color c) { return (redOf(c) << 16) | (greenOf(c) << 8) | blueOf(c); }
constexpr Color colorOfDibRgb(Pixel p) { return rgb((p >> 16) & 0xFFu, (p >> 8) & 0xFFu, p & 0xFFu); }

// A pixel the platform drew at full coverage (whatever it left in the alpha byte): see-through
// where it is the colour key, as the colour-keyed window shows it, opaque elsewhere.
Pixel drawnPixel(Pixel written);
inline Pixel opaquePixel(Color c) { return drawnPixel(dibRgb(c)); }

// `c` at `alpha` (0 to 255), premultiplied.
Pixel premultiplied(Color c, unsigned alpha);

// Source over destination, both premultiplied.
Pixel over(Pixel source, Pixel destination);

// How much of a pixel a glyph drawn white on black covers, 0 to 255. Smoothing that works
// per channel is taken as the mean of the three: no colour can be given to an edge that is
// blended over whatever lies behind the window.
unsigned maskCoverage(Pixel mask);

// A pixel of text in the per-pixel frame: where the frame held `before`, the text of `color`
// covers `coverage`. Over an opaque pixel it is the platform's own blend, `drawn`, so that it
// matches the colour-keyed frame; over what is see-through or partly so, it is the colour at
// its coverage laid over what was there. Text in the colour key makes holes by its coverage.
Pixel textPixel(Pixel before, Pixel drawn, Color color, unsigned coverage);

// A pixel of smoothed text in the colour-keyed frame: blended (`drawn`) over what is drawn,
// and over the colour key cut at half coverage, so that no edge mixes with the key colour.
Color keyedTextPixel(Color before, Color drawn, Color color, unsigned coverage);
