#pragma once
// settings.ini: where it is, and how AppSettings is read from it and written to it.
#include <string>
#include <string_view>

#include "settings/app_settings.h"
#include "settings/profile.h"

// The platform's "use the default position" value, read when a position key is missing.
constexpr int POSITION_DEFAULT = static_cast<int>(0x80000000u);

struct WindowPosition {
    int left = POSITION_DEFAULT;
    int top = POSITION_DEFAULT;
    friend bool operator==(const WindowPosition&, const WindowPosition&) = default;
};

// settings.ini in the folder of the executable at `exePath`.
std::wstring resolveSettingsPath(std::wstring_view exePath);

// Reads every field present in the file over the current values of `s`.
void loadSettings(AppSettings& s, Profile& profile);

// Writes the 20 keys in their fixed order. The position is the window's.
void saveSettings(const AppSettings& s, Profile& profile, WindowPosition position);

// The position saved by the last run; POSITION_DEFAULT for a missing key.
WindowPosition readSavedPosition(Profile& profile);
