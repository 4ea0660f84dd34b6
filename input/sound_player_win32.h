#pragma once
// Plays click sounds with PlaySoundW, preferring the files beside the executable.
#include <string>

#include "input/sound_player.h"

class Win32SoundPlayer : public SoundPlayer {
public:
    Win32SoundPlayer();
    void play(const wchar_t* fileName) override;

private:
    std::wstring exePath_;
};
