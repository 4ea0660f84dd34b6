#pragma once
// Plays click sounds with PlaySoundW, preferring the files beside the executable. The sound
// library is loaded only once sounds are wanted: with them off (the default) it would cost
// the program about a megabyte of resident memory for nothing.
#include <string>

#include "input/sound_player.h"

class Win32SoundPlayer : public SoundPlayer {
public:
    Win32SoundPlayer();
    void play(const wchar_t* fileName) override;
    void prepare() override;

private:
    std::wstring exePath_;
    void* playSound_ = nullptr;  // PlaySoundW, once the library is loaded
    bool loadTried_ = false;  // a system without the library is not asked again
};
