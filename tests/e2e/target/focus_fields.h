#pragma once
// What the target shows of the keyboard focus beyond standard controls: plain fields of a
// class of their own, not built on the edit control (as a browser's fields are), between
// which Tab moves the focus; a context menu of the password field announced to
// accessibility as Windows announces menus (Wine's own menus announce nothing); and a
// window in the background that announces a focus of its own every 100 ms.
#include <windows.h>

constexpr int PLAIN_BOXES = 2;

void registerPlainBox(HINSTANCE instance);
// Two plain fields in `parent`, in Tab order.
void createPlainBoxes(HWND parent, HINSTANCE instance);
// Places them one above the other, the lower one's bottom at `bottom`.
void placePlainBoxes(int left, int bottom, int width, int height, int gap);

// Gives the password field a context menu of its own, owned by the field's parent.
void giveContextMenu(HWND passwordField);
// The menu owner's part: announces the menu once it shows. True when the message was the menu's.
bool onMenuIdle(WPARAM kind, LPARAM menuWindow);

// Runs the window that announces focus changes every 100 ms; returns the exit code.
int runFocusAnnouncer(HINSTANCE instance, int left, int top, int width, int height);
