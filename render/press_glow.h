#pragma once
// The pulsing orange disc over a lit key: a premultiplied-alpha bitmap blended over the key.
#include <cstdint>
#include <vector>

#include "common/types.h"
#include "input/key_state.h"
#include "render/canvas.h"

constexpr Color GLOW_COLOR = rgb(255, 140, 0);
constexpr Tick GLOW_PERIOD_MS = 420;

// Where in its 420 ms pulse the glow of a key pressed at `lastPress` is; a key without a
// recorded press pulses with the clock alone.
Tick glowPhase(Tick lastPress, Tick now);

// The glow square, centred in the key's drawing rectangle `d`.
Rect glowRect(const Rect& d, Tick phase);

// The alpha at the glow's centre, 120 to 200 over a pulse.
int glowPeakAlpha(Tick phase);

// A w x h disc of GLOW_COLOR fading from `peakAlpha` at the centre to nothing at the rim,
// as premultiplied 0xAARRGGBB pixels, rows top to bottom; empty when w or h is not positive.
std::vector<std::uint32_t> radialGlowPixels(int w, int h, int peakAlpha);

// Blends the radial glow of `r` over the canvas; nothing for an empty rectangle.
void blendRadialGlow(Canvas& canvas, const Rect& r, int peakAlpha);

// The glow of key `vk` drawn in its drawing rectangle `d`.
void drawPressGlow(Canvas& canvas, const Rect& d, int vk, const KeyStateTable& keys, Tick now);
