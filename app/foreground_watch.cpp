#include "app/foreground_watch.h"

#include <windows.h>

#include "app/app_state.h"
#include "app/frame_timer.h"
#include "app/services.h"
#include "control/topmost.h"

namespace {

ForegroundSeen foregroundSeen;

// A program that comes to the front often makes itself topmost a moment later (a game going
// full screen, a player restoring its window), and under Wine its window is raised when it is
// mapped, after the event: the window is put back on top once more, this long after.
constexpr UINT TOPMOST_AGAIN_MS = 300;

void putBackOnTop(HWND window) {
    // Back to the top of the topmost band, as it stands: never activated, never shown.
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

bool belongsToThisProcess(HWND window) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    return process == GetCurrentProcessId();
}

}  // namespace

LRESULT onTopmostAgain(HWND window) {
    KillTimer(window, TOPMOST_AGAIN_TIMER);
    const AppState& a = app();
    if (reassertsTopmost({a.settings.topmost, IsWindowVisible(window) != FALSE, false})) putBackOnTop(window);
    return 0;
}

void watchForeground() { foregroundSeen.window = reinterpret_cast<std::uintptr_t>(GetForegroundWindow()); }

void noteForegroundEvent() {
    AppState& a = app();
    if (!a.window) return;
    const HWND foreground = GetForegroundWindow();
    if (!foregroundChanged(foregroundSeen, reinterpret_cast<std::uintptr_t>(foreground))) return;
    const ForegroundChange change{a.settings.topmost, IsWindowVisible(a.window) != FALSE, belongsToThisProcess(foreground)};
    if (reassertsTopmost(change)) {
        putBackOnTop(a.window);
        SetTimer(a.window, TOPMOST_AGAIN_TIMER, TOPMOST_AGAIN_MS, nullptr);
    }
    onForegroundChange(a.input, keyboardQuery(), currentTick());
    wakeFrameTick();
}
