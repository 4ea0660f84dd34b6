#include "app/settings_store.h"

#include <string>

#include "app/app_state.h"
#include "app/handlers.h"
#include "app/services.h"
#include "common/executable_path_win32.h"
#include "settings/settings_storage_win32.h"

namespace {

WindowPosition windowPosition() {
    RECT r{};
    GetWindowRect(app().window, &r);
    return {r.left, r.top};
}

}  // namespace

void loadAppSettings() {
    AppSettings& s = app().settings;
    s.settingsPath = resolveSettingsPath(executablePath());
    Win32SettingsStorage storage(s.settingsPath);
    loadSettings(s, storage);
}

void saveAppSettings(unsigned long lockWaitMs) {
    Win32SettingsStorage storage(app().settings.settingsPath, lockWaitMs);
    saveSettings(app().settings, storage, windowPosition());
    // Whatever a gesture left waiting is in this save.
    app().savePacing.written(currentTick());
    KillTimer(app().window, SAVE_TIMER);
}

void saveAppSettings() { saveAppSettings(SETTINGS_LOCK_WAIT_MS); }

void saveGestureChange() {
    SavePacing& pacing = app().savePacing;
    const Tick now = currentTick();
    if (pacing.change(now)) {
        saveAppSettings();
        return;
    }
    const Tick due = pacing.dueAt();
    SetTimer(app().window, SAVE_TIMER, static_cast<UINT>(due > now ? due - now : 0), nullptr);
}

void finishGestureSave() {
    if (app().savePacing.takePending()) saveAppSettings();
}

LRESULT onSaveTimer(HWND window) {
    KillTimer(window, SAVE_TIMER);
    finishGestureSave();
    return 0;
}

WindowPosition savedWindowPosition() {
    Win32SettingsStorage storage(app().settings.settingsPath);
    return readSavedPosition(storage);
}
