#include "settings/memory_settings_storage.h"

#include "settings/ini_encoding.h"

MemorySettingsStorage::MemorySettingsStorage(std::wstring_view text)
    : file{StoredFileState::Present, encodeIniText(text)} {}

std::wstring MemorySettingsStorage::text() const { return decodeIniBytes(file.bytes); }

bool MemorySettingsStorage::replace(const std::string& bytes) {
    if (beforeReplace) beforeReplace();
    if (refusesReplace || file.state == StoredFileState::Unreadable) return false;
    if (replacesLeft) {
        if (*replacesLeft == 0) return false;
        --*replacesLeft;
    }
    file = {StoredFileState::Present, bytes};
    ++replaces;
    if (journal) journal->push_back("file replace");
    return true;
}

bool MemorySettingsStorage::flushToDisk() {
    if (refusesFlush || file.state != StoredFileState::Present) return false;
    ++flushes;
    if (journal) journal->push_back("file flush");
    return true;
}

bool MemorySettingsStorage::lock() {
    if (lockTimesOut) return false;
    locked = true;
    return true;
}

std::wstring MemorySettingsStorage::decodeAnsi(std::string_view bytes) const { return decodeLatin1(bytes); }
