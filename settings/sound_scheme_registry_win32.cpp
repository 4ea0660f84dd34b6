#include "settings/sound_scheme_registry_win32.h"

#include <windows.h>

#include <vector>

#include "settings/backup_owner_win32.h"

namespace {

constexpr wchar_t SCHEME_KEY[] = L"AppEvents\\Schemes\\Apps\\.Default";
constexpr REGSAM READ_WRITE = KEY_READ | KEY_WRITE;
// Registry key names are at most 255 characters.
constexpr DWORD EVENT_NAME_CHARS = 256;
// A sound value is read into 2048 bytes; a longer one is neither backed up nor changed.
constexpr DWORD SOUND_VALUE_CHARS = 1024;
constexpr UINT BROADCAST_TIMEOUT_MS = 200;

std::wstring currentSoundKey(const std::wstring& event) { return event + L"\\.Current"; }

bool isMissing(LSTATUS status) { return status == ERROR_FILE_NOT_FOUND || status == ERROR_PATH_NOT_FOUND; }

}  // namespace

bool Win32SoundSchemeRegistry::openScheme() {
    closeScheme();
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, SCHEME_KEY, 0, READ_WRITE, &key) != ERROR_SUCCESS) return false;
    scheme = key;
    return true;
}

void Win32SoundSchemeRegistry::closeScheme() {
    if (scheme) RegCloseKey(scheme);
    scheme = nullptr;
}

std::optional<std::wstring> Win32SoundSchemeRegistry::eventNameAt(std::uint32_t index) {
    if (!scheme) return std::nullopt;
    wchar_t name[EVENT_NAME_CHARS] = {};
    DWORD length = EVENT_NAME_CHARS;
    if (RegEnumKeyExW(scheme, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        return std::nullopt;
    return std::wstring(name, length);
}

EventSound Win32SoundSchemeRegistry::readEventSound(const std::wstring& event) {
    if (!scheme) return {};
    HKEY key = nullptr;
    const LSTATUS opened = RegOpenKeyExW(scheme, currentSoundKey(event).c_str(), 0, READ_WRITE, &key);
    if (isMissing(opened)) return {SoundReadResult::EventMissing, std::nullopt};
    if (opened != ERROR_SUCCESS) return {};
    // One character more than the read may fill, left zero: a value that fills the read
    // without a terminator of its own still ends there.
    std::vector<wchar_t> buffer(SOUND_VALUE_CHARS + 1, L'\0');
    DWORD type = REG_NONE;
    DWORD bytes = SOUND_VALUE_CHARS * sizeof(wchar_t);
    const LSTATUS status =
        RegQueryValueExW(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &bytes);
    RegCloseKey(key);
    // No value, or one too long for the read: there is a sound, but not one to back up.
    if (status == ERROR_FILE_NOT_FOUND || status == ERROR_MORE_DATA) return {SoundReadResult::Read, std::nullopt};
    if (status != ERROR_SUCCESS) return {};
    if (type != REG_SZ) return {SoundReadResult::Read, std::nullopt};
    return {SoundReadResult::Read, std::wstring(buffer.data())};
}

SoundWriteResult Win32SoundSchemeRegistry::writeEventSound(const std::wstring& event, const std::wstring& path) {
    if (!scheme) return SoundWriteResult::Failed;
    HKEY key = nullptr;
    const LSTATUS opened = RegOpenKeyExW(scheme, currentSoundKey(event).c_str(), 0, READ_WRITE, &key);
    if (isMissing(opened)) return SoundWriteResult::EventMissing;
    if (opened != ERROR_SUCCESS) return SoundWriteResult::Failed;
    const auto bytes = static_cast<DWORD>((path.size() + 1) * sizeof(wchar_t));
    const LSTATUS set = RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(path.c_str()), bytes);
    RegCloseKey(key);
    return set == ERROR_SUCCESS ? SoundWriteResult::Written : SoundWriteResult::Failed;
}

bool Win32SoundSchemeRegistry::flushToDisk() { return scheme && RegFlushKey(scheme) == ERROR_SUCCESS; }

std::optional<BackupOwner> Win32SoundSchemeRegistry::owner() { return currentBackupOwner(); }

void Win32SoundSchemeRegistry::broadcastSoundChange() {
    if (notice == SoundChangeNotice::None) return;
    SendMessageTimeoutW(HWND_BROADCAST, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"AppEvents"), SMTO_ABORTIFHUNG,
                        BROADCAST_TIMEOUT_MS, nullptr);
}
