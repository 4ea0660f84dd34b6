#pragma once
// The platform services the core talks to, one instance each for the running program.
#include <windows.h>

#include "common/types.h"
#include "input/physical_key_state.h"
#include "input/sound_player.h"
#include "keyboard/keyboard_query.h"

KeyboardQuery& keyboardQuery();
PhysicalKeyState& physicalKeyState();
SoundPlayer& soundPlayer();
// The generic desktop usages of a keyboard and a mouse.
constexpr unsigned short RAW_INPUT_KEYBOARD = 0x06;
constexpr unsigned short RAW_INPUT_MOUSE = 0x02;
// Sends the device's raw reports to `target`, also while other programs have the focus.
void receiveRawInput(HWND target, unsigned short usage);

// The system's 64-bit millisecond tick clock.
Tick currentTick();

// Back up and blank the system's event sounds, or put them back from the backup.
void muteSystemSoundsNow();
void restoreSystemSoundsNow();
// Puts them back while the session ends: within the time the system gives, and without
// telling the other windows, which are closing too.
void restoreSystemSoundsAtSessionEnd(unsigned long lockWaitMs);
