#pragma once
// settings.ini held in memory, with switches for the failures of a real file: one that can't
// be read, a replace the file refuses (read-only, a full disk), a lock another copy keeps.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "settings/settings_storage.h"

class MemorySettingsStorage : public SettingsStorage {
public:
    // No file yet.
    MemorySettingsStorage() = default;
    // A file of these bytes.
    explicit MemorySettingsStorage(std::string bytes) : file{StoredFileState::Present, std::move(bytes)} {}
    // A file of this text, as the program writes it.
    explicit MemorySettingsStorage(std::wstring_view text);

    StoredFile file;
    bool refusesReplace = false;
    bool refusesFlush = false;
    bool lockTimesOut = false;
    // Replaces that still succeed before every later one fails; none for no limit.
    std::optional<int> replacesLeft;
    // Runs before every replace; a test's way of ending the program there.
    std::function<void()> beforeReplace;
    int replaces = 0;
    int flushes = 0;
    bool locked = false;
    // When set, every replace and flush is noted in it ("file replace", "file flush"), in order
    // with whatever else a test notes there.
    std::vector<std::string>* journal = nullptr;

    // The file's text, however it is encoded.
    std::wstring text() const;

    StoredFile read() override { return file; }
    bool replace(const std::string& bytes) override;
    bool flushToDisk() override;
    bool lock() override;
    void unlock() override { locked = false; }
    std::wstring decodeAnsi(std::string_view bytes) const override;
};
