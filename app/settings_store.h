#pragma once
// settings.ini for the running program: the file beside the executable.
#include "settings/settings_file.h"

// Resolves the path beside the executable and reads the file into app().settings.
void loadAppSettings();
// Writes every key, with the window's current position.
void saveAppSettings();
// Writes every key, with a position the window has just been given.
void saveAppSettingsAt(WindowPosition position);
// The position saved by the last run.
WindowPosition savedWindowPosition();
