#pragma once
// The keyboard focus of every other program, watched so that nothing typed into a password
// field ever shows. Decided when the focus moves, never per key: the platform's events are
// translated here and handed to the focus tracker.
#include <windows.h>

void watchKeyboardFocus(HWND window);
void stopWatchingKeyboardFocus();
// The answer of a worker's question about the focus.
LRESULT onFocusVerdict(HWND window, WPARAM serial, LPARAM packedAnswer);
// UI Automation's focused element.
LRESULT onAutomationFocus(HWND window, WPARAM process, LPARAM packed);
// The timer of the focus tracker: a type-ahead hold ends, a question is asked again.
constexpr UINT_PTR FOCUS_TIMER = 0xF0C5;
LRESULT onFocusTimer(HWND window);
// A mouse button went down somewhere: the focus may move under it.
void noteButtonDown();
// After a key report: the tracker may need its timer.
void rescheduleFocusTimer();
