#pragma once
// Click-through for every pixel: the window carries WS_EX_TRANSPARENT while clicks should
// pass, and drops it while the grip, a held Alt or Ctrl, or a drag needs the pointer.
#include <windows.h>

#include "control/scale_rules.h"

// Alt and Ctrl as the raw reports of the keyboard tell them, Shift from the asynchronous key
// state: this window never has the keyboard focus, and its own thread's key state stays
// behind.
Modifiers currentModifiers();
POINT cursorOnScreen();
bool cursorInGrip(HWND window);

// Takes a raw keyboard report; true when it was Alt or Ctrl, which can change the decision.
bool noteModifierReport(int vk, bool extended, bool keyUp);
// Sets or clears WS_EX_TRANSPARENT as the pointer, the keys and the drags need it now.
void updateClickThrough(HWND window);
// The same, once a second, only while the window holds the pointer.
void recheckHeldPointer(HWND window);
// Creates the window that hears the mouse move anywhere, to know when the pointer reaches
// the grip of a window that lets every click through.
void watchPointer(HINSTANCE instance);
