#pragma once
// Changes of the foreground window: the window is put back above the program that came to the
// front, and the labels follow that program's keyboard layout. Nothing runs while the
// foreground window stays the same.
#include <windows.h>

// Remembers the foreground window as it is at start.
void watchForeground();
// Called for every focus or foreground event the focus watch hears: Wine 8 reports no change
// of the foreground window, only the focus that comes with it.
void noteForegroundEvent();
// The window is put back on top once more, a moment after another window came to the front.
constexpr UINT_PTR TOPMOST_AGAIN_TIMER = 0x70F;
LRESULT onTopmostAgain(HWND window);
