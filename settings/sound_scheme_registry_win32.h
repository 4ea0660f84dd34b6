#pragma once
// The current user's sound scheme in the platform's registry.
#include "settings/sound_scheme_registry.h"

struct HKEY__;

// Whether other programs hear of a change: not while the session ends, when every window
// is closing and none would play a sound again.
enum class SoundChangeNotice { Broadcast, None };

class Win32SoundSchemeRegistry : public SoundSchemeRegistry {
public:
    explicit Win32SoundSchemeRegistry(SoundChangeNotice changeNotice = SoundChangeNotice::Broadcast) : notice(changeNotice) {}
    ~Win32SoundSchemeRegistry() override { closeScheme(); }
    Win32SoundSchemeRegistry(const Win32SoundSchemeRegistry&) = delete;
    Win32SoundSchemeRegistry& operator=(const Win32SoundSchemeRegistry&) = delete;

    bool openScheme() override;
    void closeScheme() override;
    std::optional<std::wstring> eventNameAt(std::uint32_t index) override;
    EventSound readEventSound(const std::wstring& event) override;
    SoundWriteResult writeEventSound(const std::wstring& event, const std::wstring& path) override;
    bool flushToDisk() override;
    std::optional<BackupOwner> owner() override;
    void broadcastSoundChange() override;

private:
    SoundChangeNotice notice;
    HKEY__* scheme = nullptr;
};
