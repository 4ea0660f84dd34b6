#pragma once
#include <windows.h>

// Opens the tray menu at the cursor with the marks of the current settings; a chosen item
// arrives as WM_COMMAND.
void showContextMenu(HWND window);
