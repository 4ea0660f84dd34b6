#include "input/click_sound.h"

const wchar_t* clickSoundFile(int soundSel) {
    switch (soundSel) {
    case 1:
        return L"click1.wav";
    case 2:
        return L"click2.wav";
    default:
        return L"click3.wav";  // also for a hand-edited choice outside the menu's three
    }
}

void playClick(const AppSettings& settings, SoundPlayer& sound) {
    if (!settings.soundOn) return;
    sound.play(clickSoundFile(settings.soundSel));
}

std::wstring fileBesideExecutable(std::wstring_view exePath, std::wstring_view fileName) {
    const std::size_t slash = exePath.find_last_of(L"\\/");
    if (slash == std::wstring_view::npos) return std::wstring(fileName);
    std::wstring path(exePath.substr(0, slash + 1));
    path += fileName;
    return path;
}
