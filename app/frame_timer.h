#pragma once
// The frame tick's timer: every 16 ms while anything on the screen may change, once a second
// while nothing can.
#include <windows.h>

void startFrameTick(HWND window);
void stopFrameTick(HWND window);
// Back to every frame at once: something may have changed what the ticks have to show.
void wakeFrameTick();
