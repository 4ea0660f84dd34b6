#pragma once
// The keyboard focus of every other program, watched so that nothing typed into a password
// field ever shows. Decided when the focus moves, never per key.
#include <windows.h>

void watchKeyboardFocus(HWND window);
void stopWatchingKeyboardFocus();
// The answer of an accessibility question about the focus.
LRESULT onFocusVerdict(HWND window, WPARAM serial, LPARAM isPassword);
