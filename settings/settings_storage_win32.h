#pragma once
// settings.ini on disk: read whole, replaced in one rename, and shared between the running
// copies of the program through named mutexes derived from the file's full path.
#include <optional>
#include <string>

#include "settings/settings_lock_win32.h"
#include "settings/settings_storage.h"

// How long one settings operation waits for another copy to finish its own. The longest one
// (a mute or restore of hundreds of sounds) takes a fraction of this; a copy that hangs
// while holding the lock costs each operation of this one no more than this wait.
constexpr unsigned long SETTINGS_LOCK_WAIT_MS = 5000;

class Win32SettingsStorage : public SettingsStorage {
public:
    // An empty path names no file: nothing is read or written, and the lock is never held.
    explicit Win32SettingsStorage(const std::wstring& path, unsigned long lockWaitMs = SETTINGS_LOCK_WAIT_MS);
    Win32SettingsStorage(const Win32SettingsStorage&) = delete;
    Win32SettingsStorage& operator=(const Win32SettingsStorage&) = delete;

    // A settings.ini that is missing while a whole settings.ini.new is there (a rename cut
    // short) reads as that file, which becomes settings.ini under the lock.
    StoredFile read() override;
    // Writes through a link to the file it leads to; refuses a read-only file, a folder, a
    // link that leads nowhere and a file with other names (a hard link), which a rename
    // would part from their copy, and refuses while settings.ini.new is a link, which is
    // neither followed nor removed.
    bool replace(const std::string& bytes) override;
    bool flushToDisk() override;
    bool lock() override;
    void unlock() override;
    std::wstring decodeAnsi(std::string_view bytes) const override;

    // The file that a replace writes first, beside the settings file.
    const std::wstring& temporaryPath() const { return temporary; }
    // Whether the lock reaches copies in other sessions.
    bool lockSharedAcrossSessions() { return fileLock && fileLock->sharedAcrossSessions(); }

private:
    std::optional<std::string> leftoverFile() const;
    bool adoptLeftoverFile() const;

    std::wstring file;       // the "\\?\" form, good beyond MAX_PATH characters
    std::wstring temporary;
    unsigned long lockWaitMs;
    std::optional<SettingsFileLock> fileLock;
    bool locked = false;
};
