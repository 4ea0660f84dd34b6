#include "app/settings_store.h"

#include <string>

#include "app/app_state.h"
#include "settings/settings_storage_win32.h"

namespace {

// The executable's full path, however long it is; empty when it can't be learnt whole, and
// then no settings file is read or written.
std::wstring executablePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return L"";
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        if (path.size() >= 32768) return L"";
        path.resize(path.size() * 2);
    }
}

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

void saveAppSettings() { saveAppSettingsAt(windowPosition()); }

void saveAppSettingsAt(WindowPosition position) {
    Win32SettingsStorage storage(app().settings.settingsPath);
    saveSettings(app().settings, storage, position);
}

WindowPosition savedWindowPosition() {
    Win32SettingsStorage storage(app().settings.settingsPath);
    return readSavedPosition(storage);
}
