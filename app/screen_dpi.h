#pragma once
// Drawing for the DPI of the screen the window is on, in real pixels, so that Windows never
// stretches the window's bitmap (which blurs every label) on a screen scaled above 100 %.
#include <windows.h>

// Asks to be told each monitor's DPI. The manifest asks already; this covers a process whose
// manifest was not honoured, taking the best that the system offers.
void becomePerMonitorDpiAware();

// The DPI `window` is drawn for; before there is a window (null), the primary screen's.
int dpiOf(HWND window);

// The window's screen has another DPI (moved to another monitor, or its scaling changed):
// the keyboard is drawn for it, at the size that follows, around the suggested rectangle.
LRESULT onDpiChanged(HWND window, WPARAM wParam, LPARAM lParam);
// The system asks the size the window will have at a new DPI, to suggest a rectangle of
// exactly that size.
LRESULT onGetDpiScaledSize(HWND window, WPARAM wParam, LPARAM lParam);
