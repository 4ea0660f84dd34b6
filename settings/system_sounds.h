#pragma once
// Silencing the system's event sounds while the program runs, and putting them back. The
// sounds are backed up in settings.ini, so a later run can restore what a killed run muted.
// Both run whole under the settings file's lock, so that two copies never interleave.
#include "settings/app_settings.h"
#include "settings/settings_storage.h"
#include "settings/sound_scheme_registry.h"

inline constexpr wchar_t SOUND_BACKUP_SECTION[] = L"sysSndBackup";

// Backs up every non-empty sound of the scheme in one write of the file, then blanks each
// sound whose backup reads back from the file exactly. A sound whose backup could not be
// stored faithfully keeps playing.
void muteSystemSounds(AppSettings& s, SoundSchemeRegistry& registry, SettingsStorage& storage);

// Gives back each backed-up sound whose event is still blank, and then drops, in one write of
// the file, the entries that are settled: restored, chosen anew by the user meanwhile, or of
// an event that is gone. An entry whose sound could not be written back stays for a later
// restore; the backup section goes once it is empty.
void restoreSystemSounds(AppSettings& s, SoundSchemeRegistry& registry, SettingsStorage& storage);
