#include "input/sound_player_win32.h"

#include <windows.h>
#include <mmsystem.h>

#include "common/executable_path_win32.h"
#include "input/click_sound.h"

namespace {

using PlaySoundFunction = BOOL(WINAPI*)(LPCWSTR, HMODULE, DWORD);

bool isExistingFile(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

}  // namespace

Win32SoundPlayer::Win32SoundPlayer() : exePath_(executablePath()) {}

// PlaySoundW looks a bare name up in the current directory first, so a program started from
// another folder would not hear the sounds that ship beside it. The file beside the
// executable wins when it exists; otherwise the bare name keeps the usual search.
void Win32SoundPlayer::play(const wchar_t* fileName) {
    prepare();
    if (!playSound_) return;
    const std::wstring besideProgram = fileBesideExecutable(exePath_, fileName);
    const wchar_t* name = isExistingFile(besideProgram) ? besideProgram.c_str() : fileName;
    reinterpret_cast<PlaySoundFunction>(playSound_)(name, nullptr, SND_FILENAME | SND_ASYNC | SND_NODEFAULT);
}

void Win32SoundPlayer::prepare() {
    if (loadTried_) return;
    loadTried_ = true;
    // From the system folder only: a winmm.dll beside the program must not be picked up.
    if (HMODULE winmm = LoadLibraryExW(L"winmm.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32))
        playSound_ = reinterpret_cast<void*>(GetProcAddress(winmm, "PlaySoundW"));
}
