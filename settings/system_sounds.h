#pragma once
// Silencing the system's event sounds while the program runs, and putting them back. The
// sounds are backed up in settings.ini, in a section of their owner's (sound_backup.h), so a
// later run can restore what a killed run muted. Both run whole under the settings file's
// lock, so that two copies never interleave.
#include "settings/app_settings.h"
#include "settings/settings_storage.h"
#include "settings/sound_scheme_registry.h"

// Backs up every non-empty sound of the scheme in one write of the file, puts the file on the
// disk itself, then blanks each sound whose backup reads back from the file exactly. A sound
// whose backup could not be stored faithfully keeps playing; so does every sound when the
// scheme's owner can't be learnt.
void muteSystemSounds(AppSettings& s, SoundSchemeRegistry& registry, SettingsStorage& storage);

// Gives back each backed-up sound whose event is still blank, puts the registry on the disk
// itself, and then drops, in one write of the file, the lines that are settled: restored,
// chosen anew by the user meanwhile, or of an event that is gone. A line whose sound could
// not be written back stays for a later restore, and so do lines of other owners, untagged
// lines of sounds that are not blank here, and every line that no mute writes. A backup
// section goes once nothing but blank lines is left under its header.
void restoreSystemSounds(AppSettings& s, SoundSchemeRegistry& registry, SettingsStorage& storage);
