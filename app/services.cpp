#include "app/services.h"

#include <windows.h>

#include "app/app_state.h"
#include "input/physical_key_state_win32.h"
#include "input/sound_player_win32.h"
#include "keyboard/keyboard_query_win32.h"
#include "settings/settings_storage_win32.h"
#include "settings/sound_scheme_registry_win32.h"
#include "settings/system_sounds.h"

KeyboardQuery& keyboardQuery() {
    static Win32KeyboardQuery query;
    return query;
}

PhysicalKeyState& physicalKeyState() {
    static Win32PhysicalKeyState state;
    return state;
}

SoundPlayer& soundPlayer() {
    static Win32SoundPlayer player;
    return player;
}

Tick currentTick() { return GetTickCount64(); }

void receiveRawInput(HWND target, unsigned short usage) {
    RAWINPUTDEVICE device{};
    device.usUsagePage = 0x01;  // generic desktop
    device.usUsage = usage;
    device.dwFlags = RIDEV_INPUTSINK;
    device.hwndTarget = target;
    RegisterRawInputDevices(&device, 1, sizeof device);
}

void muteSystemSoundsNow() {
    Win32SoundSchemeRegistry registry;
    Win32SettingsStorage storage(app().settings.settingsPath);
    muteSystemSounds(app().settings, registry, storage);
}

void restoreSystemSoundsNow() {
    Win32SoundSchemeRegistry registry;
    Win32SettingsStorage storage(app().settings.settingsPath);
    restoreSystemSounds(app().settings, registry, storage);
}

void restoreSystemSoundsAtSessionEnd(unsigned long lockWaitMs) {
    Win32SoundSchemeRegistry registry(SoundChangeNotice::None);
    Win32SettingsStorage storage(app().settings.settingsPath, lockWaitMs);
    restoreSystemSounds(app().settings, registry, storage);
}
