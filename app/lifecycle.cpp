// Creation and destruction of the main window: the process-wide services start and stop here.
#include "app/app_state.h"
#include "app/click_through.h"
#include "app/focus_watch.h"
#include "app/foreground_watch.h"
#include "app/frame_timer.h"
#include "app/handlers.h"
#include "app/screen_dpi.h"
#include "app/services.h"
#include "app/settings_store.h"
#include "app/tray_icon.h"
#include "app/window_ops.h"
#include "keyboard/key_labels.h"

LRESULT onCreate(HWND window) {
    AppState& a = app();
    a.window = window;
    loadAppSettings();
    if (a.settings.soundOn) soundPlayer().prepare();
    a.dpi = dpiOf(window);
    updateAppMetrics();
    addTrayIcon(window);
    receiveRawInput(window, RAW_INPUT_KEYBOARD);
    watchPointer(a.instance);
    updateClickThrough(window);
    watchSessionChanges(window);
    startFrameTick(window);
    // Held down, the hot key toggles once; the platforms that know no MOD_NOREPEAT take the
    // flag without a word, and their repeats are left out by the latch.
    RegisterHotKey(window, HOTKEY_TOGGLE, MOD_CONTROL | MOD_SHIFT | MOD_NOREPEAT, HOTKEY_KEY_K);
    applyLayeredAttributes(window);
    startInput(a.input, keyboardQuery(), currentTick());
    watchForeground();
    watchKeyboardFocus(window);
    if (a.settings.autoMuteSys) muteSystemSoundsNow();
    // Start-up shows the window once the layout, opacity and z-order are in place.
    return 0;
}

LRESULT onDestroy(HWND window) {
    AppState& a = app();
    if (a.settings.sysSoundsMuted) restoreSystemSoundsNow();
    stopFrameTick(window);
    UnregisterHotKey(window, HOTKEY_TOGGLE);
    stopWatchingSessionChanges(window);
    stopWatchingKeyboardFocus();
    removeTrayIcon();
    releaseFrameBuffers();
    a.drawing.release();
    saveAppSettings();
    PostQuitMessage(0);
    return 0;
}

// Log-off or shut-down asks first; the answer never waits for anything.
LRESULT onQueryEndSession(HWND) { return TRUE; }

// With `ending`, the session ends: the process may be ended at any moment after this returns,
// and neither Exit nor the window's destruction comes. The sounds come back first, the part
// that matters most should the system end the process early, then every setting is kept, as
// on Exit. A cancelled end changes nothing.
LRESULT onEndSession(HWND, WPARAM ending) {
    if (!ending) return 0;
    if (app().settings.sysSoundsMuted) restoreSystemSoundsAtSessionEnd(SESSION_END_LOCK_WAIT_MS);
    saveAppSettings(SESSION_END_LOCK_WAIT_MS);
    return 0;
}
