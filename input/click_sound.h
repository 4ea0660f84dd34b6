#pragma once
// The click played for every counted key press.
#include <string>
#include <string_view>

#include "input/sound_player.h"
#include "settings/app_settings.h"

// "click1.wav" for 1, "click2.wav" for 2, "click3.wav" for any other choice.
const wchar_t* clickSoundFile(int soundSel);

// Plays the chosen click when sound is on; does nothing otherwise.
void playClick(const AppSettings& settings, SoundPlayer& sound);

// `fileName` in the folder of the executable at `exePath` (the part up to the last '\\' or
// '/'); `fileName` itself when the path names no folder.
std::wstring fileBesideExecutable(std::wstring_view exePath, std::wstring_view fileName);
