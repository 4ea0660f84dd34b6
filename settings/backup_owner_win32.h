#pragma once
// Who runs the program, as the sound backup names its owner.
#include <optional>

#include "settings/sound_backup.h"

// The security identifier of the process's account and the computer's name; none when
// either can't be learnt.
std::optional<BackupOwner> currentBackupOwner();
