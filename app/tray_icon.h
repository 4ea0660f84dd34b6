#pragma once
#include <windows.h>

void addTrayIcon(HWND window);
// Safe to call when the icon is already gone.
void removeTrayIcon();
