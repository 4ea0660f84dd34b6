#include "app/foreground_watch.h"

#include <windows.h>

#include "app/app_state.h"
#include "app/frame_timer.h"
#include "app/services.h"
#include "control/topmost.h"

namespace {

HWINEVENTHOOK foregroundHook = nullptr;

bool belongsToThisProcess(HWND window) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    return process == GetCurrentProcessId();
}

void CALLBACK onForegroundEvent(HWINEVENTHOOK, DWORD, HWND foreground, LONG, LONG, DWORD, DWORD) {
    AppState& a = app();
    if (!a.window) return;
    const ForegroundChange change{a.settings.topmost, IsWindowVisible(a.window) != FALSE, belongsToThisProcess(foreground)};
    // Back to the top of the topmost band, as it stands: never activated, never shown.
    if (reassertsTopmost(change))
        SetWindowPos(a.window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    onForegroundChange(a.input, keyboardQuery(), currentTick());
    wakeFrameTick();
}

}  // namespace

// Out of context: the event comes to this thread as a message, and nothing is loaded into
// other programs. This program's own windows coming to the front (its menu, its dialogs) are
// left out.
void watchForeground() {
    foregroundHook = SetWinEventHook(EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_FOREGROUND, nullptr, onForegroundEvent, 0, 0,
                                     WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS);
}

void stopWatchingForeground() {
    if (foregroundHook) UnhookWinEvent(foregroundHook);
    foregroundHook = nullptr;
}
