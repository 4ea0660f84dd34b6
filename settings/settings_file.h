#pragma once
// settings.ini: where it is, and how AppSettings is read from it and written to it.
#include <string>
#include <string_view>

#include "settings/app_settings.h"
#include "settings/ini_document.h"
#include "settings/settings_storage.h"

// The platform's "use the default position" value, read when a position key is missing.
constexpr int POSITION_DEFAULT = static_cast<int>(0x80000000u);

struct WindowPosition {
    int left = POSITION_DEFAULT;
    int top = POSITION_DEFAULT;
    friend bool operator==(const WindowPosition&, const WindowPosition&) = default;
};

// settings.ini in the folder of the executable at `exePath`; empty when that path names no
// folder (it could not be learnt), so that nothing is ever read or written elsewhere.
std::wstring resolveSettingsPath(std::wstring_view exePath);

// Lays every field present in the document over the current values of `s`.
void readSettings(AppSettings& s, const IniDocument& doc);
// Gives the 21 keys their values in the document, in their fixed order for a new file.
void writeSettings(const AppSettings& s, IniDocument& doc, WindowPosition position);
// The position saved by the last run; POSITION_DEFAULT for a missing key.
WindowPosition readSavedPosition(const IniDocument& doc);

// The same on the file: a file that can't be read leaves `s` as it was.
void loadSettings(AppSettings& s, SettingsStorage& storage);
WindowPosition readSavedPosition(SettingsStorage& storage);
// One replace of the whole file, under the lock, keeping every other line of it. Nothing is
// written when the file can't be read or the lock isn't free in time; false then.
bool saveSettings(const AppSettings& s, SettingsStorage& storage, WindowPosition position);
