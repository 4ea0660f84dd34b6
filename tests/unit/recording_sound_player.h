#pragma once
// A sound player that only remembers what it was asked to play.
#include <string>
#include <vector>

#include "input/sound_player.h"

class RecordingSoundPlayer : public SoundPlayer {
public:
    std::vector<std::wstring> played;
    void play(const wchar_t* fileName) override { played.emplace_back(fileName); }
};
