#pragma once
// The few operations on a private-profile (INI) file that the settings and the sound backup
// need. The Win32 implementation uses the platform's profile functions on settings.ini; the
// in-memory one parses INI text the same way, for tests and fuzzing.
#include <optional>
#include <string>
#include <utility>
#include <vector>

using ProfileEntry = std::pair<std::wstring, std::wstring>;

class Profile {
public:
    virtual ~Profile() = default;
    // The key's text as the platform reads it (trimmed, one pair of enclosing quotes removed),
    // or none when the section or the key is missing.
    virtual std::optional<std::wstring> readString(const std::wstring& section, const std::wstring& key) = 0;
    // Creates the file, the section or the key as needed; false when nothing could be written.
    virtual bool writeString(const std::wstring& section, const std::wstring& key, const std::wstring& value) = 0;
    // Removes the section with all its keys; false when the file could not be written.
    virtual bool deleteSection(const std::wstring& section) = 0;
    // Every key=value line of the section in file order, however long the section is.
    virtual std::vector<ProfileEntry> readSection(const std::wstring& section) = 0;
};
