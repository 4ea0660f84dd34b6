#pragma once
// Plays click sounds with PlaySoundW, preferring the files beside the executable. The sound
// library is loaded only once sounds are wanted: with them off (the default) it would cost
// the program about a megabyte of resident memory for nothing.
#include <windows.h>

#include <string>

#include "input/sound_player.h"

class Win32SoundPlayer : public SoundPlayer {
public:
    Win32SoundPlayer();
    void play(const wchar_t* fileName) override;
    void prepare() override;

private:
    using PlaySoundFunction = BOOL(WINAPI*)(LPCWSTR, HMODULE, DWORD);
    std::wstring exePath_;
    PlaySoundFunction playSound_ = nullptr;
    bool loadTried_ = false;  // a system without the library is not asked again
};
