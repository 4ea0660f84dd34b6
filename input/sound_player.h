#pragma once
// Plays a click sound file, fire and forget; the Win32 implementation is PlaySoundW.
class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    // `fileName` is a bare name such as "click1.wav", looked up by the sound service.
    virtual void play(const wchar_t* fileName) = 0;
    // Readies what playing needs, so that the first click comes as soon as any later one.
    virtual void prepare() {}
};
