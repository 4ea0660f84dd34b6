#pragma once
#include <windows.h>

void addTrayIcon(HWND window);
// Safe to call when the icon is already gone.
void removeTrayIcon();
// The message a restarted shell sends to every top-level window.
UINT taskbarCreatedMessage();
// Adds the icon once more after the shell restarted; it went with the old taskbar.
LRESULT onTaskbarCreated(HWND window);
// The program's icon at the size of the system's small icons.
HICON loadAppIconOfSmallIconSize(HINSTANCE instance);
