#pragma once
// One handler per window message; each returns the message's result.
#include <windows.h>

#include "common/types.h"

LRESULT onCreate(HWND window);
LRESULT onDestroy(HWND window);
LRESULT onQueryEndSession(HWND window);
LRESULT onEndSession(HWND window, WPARAM ending);
LRESULT onSaveTimer(HWND window);
LRESULT onPaint(HWND window);
// Draws one area as it looks at `now` to the screen at once, outside a paint message.
void paintAreaNow(HWND window, const Rect& area, Tick now);
LRESULT onTimer(HWND window, WPARAM timerId);
LRESULT onSize(HWND window);
LRESULT onShowWindow(HWND window, WPARAM shown);
LRESULT onRawInput(HWND window, LPARAM input);

LRESULT onHitTest(HWND window);
LRESULT onSetCursor(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT onLeftButtonDown(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT onMouseMove(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT onLeftButtonUp(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT onMouseWheel(HWND window, WPARAM wParam);
LRESULT onCaptureChanged(HWND window);

LRESULT onSessionChange(HWND window, WPARAM sessionEvent);
LRESULT onPowerBroadcast(HWND window, WPARAM powerEvent);
void watchSessionChanges(HWND window);
void stopWatchingSessionChanges(HWND window);

LRESULT onCommand(HWND window, WPARAM wParam);
LRESULT onHotKey(HWND window, WPARAM hotKeyId);
LRESULT onTrayIcon(HWND window, LPARAM lParam);
