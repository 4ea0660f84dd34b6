#pragma once
// settings.ini on disk: read whole, replaced in one rename, and shared between the running
// copies of the program through a named mutex derived from the file's full path.
#include <string>

#include "settings/settings_storage.h"

// How long one settings operation waits for another copy to finish its own. The longest one
// (a mute or restore of hundreds of sounds) takes a fraction of this; a copy that hangs
// while holding the lock costs each operation of this one no more than this wait.
constexpr unsigned long SETTINGS_LOCK_WAIT_MS = 5000;

class Win32SettingsStorage : public SettingsStorage {
public:
    // An empty path names no file: nothing is read or written, and the lock is never held.
    explicit Win32SettingsStorage(const std::wstring& path, unsigned long lockWaitMs = SETTINGS_LOCK_WAIT_MS);
    ~Win32SettingsStorage() override;
    Win32SettingsStorage(const Win32SettingsStorage&) = delete;
    Win32SettingsStorage& operator=(const Win32SettingsStorage&) = delete;

    StoredFile read() override;
    bool replace(const std::string& bytes) override;
    bool lock() override;
    void unlock() override;
    std::wstring decodeAnsi(std::string_view bytes) const override;

    // The file that a replace writes first, beside the settings file.
    const std::wstring& temporaryPath() const { return temporary; }

private:
    std::wstring file;       // the "\\?\" form, good beyond MAX_PATH characters
    std::wstring temporary;
    std::wstring lockName;
    unsigned long lockWaitMs;
    void* mutex = nullptr;
};
