#pragma once
// One key of the on-screen keyboard: shadow, body, label and, while lit, the press glow.
#include <string>
#include <string_view>

#include "common/types.h"
#include "keyboard/keyboard_layout.h"
#include "keyboard/layout_metrics.h"
#include "render/canvas.h"
#include "render/frame.h"
#include "settings/app_settings.h"

// A lit key in the filled and outlined designs grows this much on every side.
constexpr int LIT_GROW = 6;
// The shadow is the key's shape moved this much right and down.
constexpr int SHADOW_OFFSET = 2;
static_assert(LIT_GROW + SHADOW_OFFSET <= KEY_INVALIDATE_MARGIN, "a key's repaint covers all it draws");

// The rectangle a key is drawn in: its own, or grown while lit in every design but the
// labels-only one.
Rect keyDrawingRect(const KeyCap& key, bool lit, int style);

// A one-character label in the form the compact keyboard draws it: ":" and "：" as "；", "^"
// and "＾" as "：".
std::wstring labelDisplayForm(std::wstring label);

// The height of the font in which `label` fits a key `keyWidth` pixels wide: `height`, the
// label font's, or less for a long label (the labels of the keys without a character).
int fittedLabelHeight(std::wstring_view label, int keyWidth, int height);

// With `onBackground`, nothing but the background has been drawn where the key draws, so its
// lit face may be copied from a kept picture.
void drawKey(Canvas& canvas, const KeyCap& key, const FrameContext& context, bool onBackground = false);
