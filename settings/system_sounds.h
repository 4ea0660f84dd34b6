#pragma once
// Silencing the system's event sounds while the program runs, and putting them back. The
// sounds are backed up in settings.ini, so a later run can restore what a killed run muted.
#include "settings/app_settings.h"
#include "settings/profile.h"
#include "settings/sound_scheme_registry.h"

inline constexpr wchar_t SOUND_BACKUP_SECTION[] = L"sysSndBackup";

// Backs up every non-empty sound of the scheme and blanks it. A sound whose backup could not
// be stored faithfully keeps playing.
void muteSystemSounds(AppSettings& s, SoundSchemeRegistry& registry, Profile& profile);

// Writes the backed-up sounds back and drops the backup. Entries that could not be written
// back to an existing event stay in the backup for a later restore.
void restoreSystemSounds(AppSettings& s, SoundSchemeRegistry& registry, Profile& profile);
