#pragma once
// The current user's sound scheme in the platform's registry.
#include "settings/sound_scheme_registry.h"

struct HKEY__;

class Win32SoundSchemeRegistry : public SoundSchemeRegistry {
public:
    Win32SoundSchemeRegistry() = default;
    ~Win32SoundSchemeRegistry() override { closeScheme(); }
    Win32SoundSchemeRegistry(const Win32SoundSchemeRegistry&) = delete;
    Win32SoundSchemeRegistry& operator=(const Win32SoundSchemeRegistry&) = delete;

    bool openScheme() override;
    void closeScheme() override;
    std::optional<std::wstring> eventNameAt(std::uint32_t index) override;
    EventSound readEventSound(const std::wstring& event) override;
    SoundWriteResult writeEventSound(const std::wstring& event, const std::wstring& path) override;
    void broadcastSoundChange() override;

private:
    HKEY__* scheme = nullptr;
};
