#pragma once
// settings.ini for the running program: the file beside the executable.
#include "settings/settings_file.h"

// How long the saves and the restore at the end of the session wait for another copy: the
// system gives a program a few seconds to end, and the two together stay within them.
constexpr unsigned long SESSION_END_LOCK_WAIT_MS = 2000;

// Resolves the path beside the executable and reads the file into app().settings.
void loadAppSettings();
// Writes every key, with the window's current position; `lockWaitMs` bounds the wait for
// another copy.
void saveAppSettings(unsigned long lockWaitMs);
void saveAppSettings();
// A change made by a gesture (a drag of the window or of the grip, a wheel notch): written at
// once, or a moment later together with the changes that follow it.
void saveGestureChange();
// The gesture ended, or its time came (SAVE_TIMER): a change that waits is written now.
void finishGestureSave();
// The position saved by the last run.
WindowPosition savedWindowPosition();
