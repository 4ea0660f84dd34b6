// The session locked, switched or disconnected, and the machine asleep: key-ups made meanwhile
// never reach this program, so every key it shows as held goes out.
#include <windows.h>
#include <wtsapi32.h>

#include "app/app_state.h"
#include "app/frame_timer.h"
#include "app/handlers.h"
#include "app/services.h"

namespace {

bool endsKeyInput(WPARAM sessionEvent) {
    switch (sessionEvent) {
    case WTS_CONSOLE_CONNECT:
    case WTS_CONSOLE_DISCONNECT:
    case WTS_REMOTE_CONNECT:
    case WTS_REMOTE_DISCONNECT:
    case WTS_SESSION_LOCK:
    case WTS_SESSION_UNLOCK:
    case WTS_SESSION_LOGON:
    case WTS_SESSION_LOGOFF:
        return true;
    default:
        return false;
    }
}

}  // namespace

void watchSessionChanges(HWND window) { WTSRegisterSessionNotification(window, NOTIFY_FOR_THIS_SESSION); }

void stopWatchingSessionChanges(HWND window) { WTSUnRegisterSessionNotification(window); }

LRESULT onSessionChange(HWND, WPARAM sessionEvent) {
    if (endsKeyInput(sessionEvent)) releaseAllKeys(app().input, keyboardQuery());
    wakeFrameTick();
    return 0;
}

LRESULT onPowerBroadcast(HWND, WPARAM powerEvent) {
    if (powerEvent == PBT_APMSUSPEND || powerEvent == PBT_APMRESUMESUSPEND || powerEvent == PBT_APMRESUMEAUTOMATIC)
        releaseAllKeys(app().input, keyboardQuery());
    wakeFrameTick();
    return TRUE;
}
