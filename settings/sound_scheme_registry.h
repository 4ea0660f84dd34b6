#pragma once
// The current user's sound scheme for the default application, as the muting needs it: the
// scheme key "AppEvents\Schemes\Apps\.Default", one subkey per event, and the sound path in
// the unnamed value of each event's ".Current" subkey.
#include <cstdint>
#include <optional>
#include <string>

#include "settings/sound_backup.h"

enum class SoundReadResult { Read, EventMissing, Failed };

struct EventSound {
    SoundReadResult result = SoundReadResult::Failed;
    // The text of a plain string (REG_SZ) value read whole: the only kind of value the muting
    // backs up and blanks. None for any other value: another type, no value, or one longer
    // than the read allows.
    std::optional<std::wstring> plainPath;
};

enum class SoundWriteResult { Written, EventMissing, Failed };

class SoundSchemeRegistry {
public:
    virtual ~SoundSchemeRegistry() = default;
    // Opens the scheme key for reading and writing; false when it can't be opened.
    virtual bool openScheme() = 0;
    virtual void closeScheme() = 0;
    // The name of the event subkey at `index`; none past the last one.
    virtual std::optional<std::wstring> eventNameAt(std::uint32_t index) = 0;
    // The event's sound. EventMissing when the event or its ".Current" key is gone; Failed
    // when it could not be looked at now.
    virtual EventSound readEventSound(const std::wstring& event) = 0;
    // Stores `path` as the event's sound, always as a plain string.
    virtual SoundWriteResult writeEventSound(const std::wstring& event, const std::wstring& path) = 0;
    // Puts the sounds written so far on the disk itself; false when that can't be made sure of.
    virtual bool flushToDisk() = 0;
    // The account and computer whose scheme this is; none when they can't be learnt.
    virtual std::optional<BackupOwner> owner() = 0;
    // Tells every top-level window that the sound settings changed.
    virtual void broadcastSoundChange() = 0;
};
