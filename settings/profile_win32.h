#pragma once
// settings.ini through the platform's private-profile functions.
#include <string>

#include "settings/profile.h"

class Win32Profile : public Profile {
public:
    explicit Win32Profile(std::wstring filePath) : path(std::move(filePath)) {}

    std::optional<std::wstring> readString(const std::wstring& section, const std::wstring& key) override;
    bool writeString(const std::wstring& section, const std::wstring& key, const std::wstring& value) override;
    bool deleteSection(const std::wstring& section) override;
    std::vector<ProfileEntry> readSection(const std::wstring& section) override;

private:
    std::wstring path;
};
