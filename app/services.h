#pragma once
// The platform services the core talks to, one instance each for the running program.
#include "common/types.h"
#include "input/physical_key_state.h"
#include "input/sound_player.h"
#include "keyboard/keyboard_query.h"

KeyboardQuery& keyboardQuery();
PhysicalKeyState& physicalKeyState();
SoundPlayer& soundPlayer();
// The system's 64-bit millisecond tick clock.
Tick currentTick();

// Back up and blank the system's event sounds, or put them back from the backup.
void muteSystemSoundsNow();
void restoreSystemSoundsNow();
