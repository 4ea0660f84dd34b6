#pragma once
// Asks an application, on a thread of its own, whether its focused element takes a password:
// the questions go to the other program and would hold up the window thread for as long as
// that program takes to answer, or for good when it hangs.
#include <windows.h>

// The answer arrives at `reply` as this message: wParam the request's serial, lParam 1 for
// a password field.
constexpr UINT WM_FOCUS_VERDICT = WM_APP + 2;

// Replaces any question not yet asked: only the latest focus matters.
void askWhetherPassword(HWND reply, HWND window, LONG object, LONG child, unsigned serial);
