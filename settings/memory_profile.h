#pragma once
// A profile file held in memory: its text is parsed on every read and rewritten on every
// write, as the platform does with a file on disk.
#include <string>

#include "settings/profile.h"

class MemoryProfile : public Profile {
public:
    MemoryProfile() = default;
    explicit MemoryProfile(std::wstring text) : content(std::move(text)) {}
    // The raw bytes of a file, decoded as the profile functions decode them.
    explicit MemoryProfile(const std::string& fileBytes);

    std::wstring text() const { return content; }
    // Makes every later write fail and leave the text alone, like a read-only file.
    void setReadOnly(bool readOnly) { writable = !readOnly; }

    std::optional<std::wstring> readString(const std::wstring& section, const std::wstring& key) override;
    bool writeString(const std::wstring& section, const std::wstring& key, const std::wstring& value) override;
    bool deleteSection(const std::wstring& section) override;
    std::vector<ProfileEntry> readSection(const std::wstring& section) override;

private:
    std::wstring content;
    bool writable = true;
};
