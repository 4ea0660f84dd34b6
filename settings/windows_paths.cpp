#include "settings/windows_paths.h"

#include <cstdint>

namespace {

constexpr std::wstring_view EXTENDED_PREFIX = L"\\\\?\\";
constexpr std::wstring_view EXTENDED_UNC_PREFIX = L"\\\\?\\UNC\\";
constexpr std::wstring_view DEVICE_PREFIX = L"\\\\.\\";
constexpr std::wstring_view UNC_PREFIX = L"\\\\";

bool isDriveLetter(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }

bool isFullDrivePath(std::wstring_view path) {
    return path.size() >= 3 && isDriveLetter(path[0]) && path[1] == L':' && path[2] == L'\\';
}

std::uint64_t fnv1a(std::wstring_view text) {
    std::uint64_t hash = 14695981039346656037ull;
    for (wchar_t c : text) {
        // Two bytes per character, as UTF-16, whatever the width of wchar_t.
        for (unsigned shift : {0u, 8u}) {
            hash ^= (static_cast<std::uint32_t>(c) >> shift) & 0xFFu;
            hash *= 1099511628211ull;
        }
    }
    return hash;
}

}  // namespace

std::wstring extendedLengthPath(std::wstring_view fullPath) {
    if (fullPath.starts_with(EXTENDED_PREFIX) || fullPath.starts_with(DEVICE_PREFIX)) return std::wstring(fullPath);
    if (isFullDrivePath(fullPath)) return std::wstring(EXTENDED_PREFIX) + std::wstring(fullPath);
    if (fullPath.starts_with(UNC_PREFIX)) return std::wstring(EXTENDED_UNC_PREFIX) + std::wstring(fullPath.substr(2));
    return std::wstring(fullPath);
}

std::wstring withoutExtendedPrefix(std::wstring_view path) {
    if (path.starts_with(EXTENDED_UNC_PREFIX)) return std::wstring(UNC_PREFIX) + std::wstring(path.substr(EXTENDED_UNC_PREFIX.size()));
    if (path.starts_with(EXTENDED_PREFIX)) return std::wstring(path.substr(EXTENDED_PREFIX.size()));
    return std::wstring(path);
}

SettingsLockNames settingsLockNames(std::wstring_view foldedPath) {
    static constexpr wchar_t DIGITS[] = L"0123456789abcdef";
    const std::uint64_t hash = fnv1a(foldedPath);
    std::wstring name = L"Tavrin.settings.";
    for (int shift = 60; shift >= 0; shift -= 4) name += DIGITS[(hash >> shift) & 0xF];
    return {L"Global\\" + name, L"Local\\" + name};
}
