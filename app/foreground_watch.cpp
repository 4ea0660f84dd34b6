#include "app/foreground_watch.h"

#include <windows.h>

#include "app/app_state.h"
#include "app/frame_timer.h"
#include "app/services.h"
#include "control/topmost.h"

namespace {

HWINEVENTHOOK foregroundHook = nullptr;
HWINEVENTHOOK focusHook = nullptr;
ForegroundSeen foregroundSeen;

// A program that comes to the front often makes itself topmost a moment later (a game going
// full screen, a player restoring its window), and under Wine its window is raised when it is
// mapped, after the event: the window is put back on top once more, this long after.
constexpr UINT_PTR TOPMOST_AGAIN_TIMER = 0x70F;
constexpr UINT TOPMOST_AGAIN_MS = 300;

void putBackOnTop(HWND window) {
    // Back to the top of the topmost band, as it stands: never activated, never shown.
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void CALLBACK onTopmostAgain(HWND window, UINT, UINT_PTR id, DWORD) {
    KillTimer(window, id);
    const AppState& a = app();
    if (reassertsTopmost({a.settings.topmost, IsWindowVisible(window) != FALSE, false})) putBackOnTop(window);
}

bool belongsToThisProcess(HWND window) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    return process == GetCurrentProcessId();
}

void CALLBACK onForegroundEvent(HWINEVENTHOOK, DWORD, HWND, LONG, LONG, DWORD, DWORD) {
    AppState& a = app();
    if (!a.window) return;
    const HWND foreground = GetForegroundWindow();
    if (!foregroundChanged(foregroundSeen, reinterpret_cast<std::uintptr_t>(foreground))) return;
    const ForegroundChange change{a.settings.topmost, IsWindowVisible(a.window) != FALSE, belongsToThisProcess(foreground)};
    if (reassertsTopmost(change)) {
        putBackOnTop(a.window);
        SetTimer(a.window, TOPMOST_AGAIN_TIMER, TOPMOST_AGAIN_MS, onTopmostAgain);
    }
    onForegroundChange(a.input, keyboardQuery(), currentTick());
    wakeFrameTick();
}

}  // namespace

// Out of context: the events come to this thread as messages, and nothing is loaded into
// other programs. This program's own windows coming to the front (its menu, its dialogs) are
// left out. Wine 8 reports no change of the foreground window, only the focus that comes
// with it.
void watchForeground() {
    constexpr DWORD FLAGS = WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS;
    foregroundSeen.window = reinterpret_cast<std::uintptr_t>(GetForegroundWindow());
    foregroundHook = SetWinEventHook(EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_FOREGROUND, nullptr, onForegroundEvent, 0, 0, FLAGS);
    focusHook = SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_FOCUS, nullptr, onForegroundEvent, 0, 0, FLAGS);
}

void stopWatchingForeground() {
    if (foregroundHook) UnhookWinEvent(foregroundHook);
    if (focusHook) UnhookWinEvent(focusHook);
    foregroundHook = focusHook = nullptr;
}
