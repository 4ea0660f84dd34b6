#pragma once
// Operations on the main window that several handlers share.
#include <windows.h>

#include "common/types.h"

// Sets the window up to show its frames the way `rendermode` says, at the opacity `alpha`
// says; a change of the way takes effect at once (the whole window is then to be repainted).
void applyLayeredAttributes(HWND window);
// Makes the buffers the window's frames are composed in match the client size.
void prepareFrameBuffers(int width, int height);
void releaseFrameBuffers();
// Topmost or not as the setting says; this also shows the window, without activating it.
void applyZOrder();
// The metrics for the user's scale at the window's DPI.
void updateAppMetrics();
// The window size for the keyboard the settings choose, at the drawing scale `pixelScale`.
Size windowSizeAt(double pixelScale);
// Rebuilds the layout for the keyboard the settings choose, makes the frame buffers match the
// client size and repaints everything.
void relayoutKeyboard();
// After the scale or the keyboard shown changed: new metrics, the window resized with its
// top-left corner kept, then the relayout.
void applyScale();
// The one way a new scale travels: store it, apply it, save.
void changeScale(double scale);
// The same for a step of the grip or a wheel notch, whose saves are paced.
void changeScaleByGesture(double scale);
// The full keyboard shows ISO's extra key only where the keyboard layout has one: after the
// layout followed changed, the keyboard is rebuilt if it must show another arrangement.
void followKeyboardArrangement();
void toggleVisible();
void invalidateAll();
void invalidateArea(const Rect& area);
