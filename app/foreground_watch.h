#pragma once
// Changes of the foreground window: the window is put back above the program that came to the
// front, and the labels follow that program's keyboard layout. Nothing runs while the
// foreground window stays the same.

void watchForeground();
void stopWatchingForeground();
