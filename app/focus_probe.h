#pragma once
// Asks an application, on a worker thread, whether its focused element takes a password:
// the questions go to the other program and take as long as it takes to answer, or for
// ever when it hangs. The window thread never waits for an answer: it arrives as a message.
#include <windows.h>

#include <cstdint>

#include "app/focus_question.h"
#include "input/focus_tracker.h"

// wParam: the question's serial; lParam: the answer in the low byte, the worker above it.
constexpr UINT WM_FOCUS_VERDICT = WM_APP + 2;

inline LPARAM packFocusAnswer(FocusAnswer answer, std::uint32_t worker) {
    return static_cast<LPARAM>(static_cast<std::uint64_t>(worker) << 8 | static_cast<std::uint8_t>(answer));
}
inline FocusAnswer focusAnswerOf(LPARAM packed) { return static_cast<FocusAnswer>(packed & 0xFF); }
inline std::uint32_t focusWorkerOf(LPARAM packed) {
    return static_cast<std::uint32_t>(static_cast<std::uint64_t>(packed) >> 8);
}

// Hands `question` to worker `worker`, replacing a question still waiting there. A worker not
// seen before is started, and the one before it is left to finish its question on its own.
void askWhetherPassword(HWND reply, std::uint32_t worker, const FocusQuestion& question);
// No more questions: every worker ends once its question, if any, returns.
void stopAskingAboutFocus();
