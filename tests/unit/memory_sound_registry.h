#pragma once
// A sound scheme held in memory, with switches for the failures the muting must survive.
#include <algorithm>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "settings/ini_document.h"
#include "settings/memory_settings_storage.h"
#include "settings/sound_backup.h"
#include "settings/sound_scheme_registry.h"

constexpr std::uint32_t TYPE_SZ = 1;
constexpr std::uint32_t TYPE_EXPAND_SZ = 2;
constexpr std::uint32_t TYPE_DWORD = 4;

struct MemoryEventSound {
    std::wstring path;
    std::uint32_t type = TYPE_SZ;
    bool hasCurrentKey = true;
    bool tooLargeToRead = false;
    bool refusesReads = false;
    bool refusesWrites = false;
    friend bool operator==(const MemoryEventSound&, const MemoryEventSound&) = default;
};

// Registry names compare without regard to case.
struct CaseInsensitiveLess {
    static wchar_t fold(wchar_t c) { return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c + 32) : c; }
    bool operator()(const std::wstring& a, const std::wstring& b) const {
        return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                            [](wchar_t x, wchar_t y) { return fold(x) < fold(y); });
    }
};

class MemorySoundRegistry : public SoundSchemeRegistry {
public:
    bool schemeOpens = true;
    std::vector<std::wstring> order;  // enumeration order of the event names
    std::map<std::wstring, MemoryEventSound, CaseInsensitiveLess> events;
    int broadcasts = 0;
    int writes = 0;
    int flushes = 0;
    bool refusesFlush = false;
    bool schemeOpen = false;
    std::optional<BackupOwner> whose = BackupOwner{L"S-1-5-21-1-2-3-1001", L"DESK"};
    // When set, every write ("registry blank <event>", "registry restore <event>") and flush
    // ("registry flush") is noted in it, in order with whatever else a test notes there.
    std::vector<std::string>* journal = nullptr;
    // Run before every write and during every broadcast: a test's way of ending the program
    // there, or of watching it.
    std::function<void()> beforeWrite;
    std::function<void()> duringBroadcast;

    void add(const std::wstring& name, const std::wstring& path, std::uint32_t type = TYPE_SZ) {
        order.push_back(name);
        events[name] = MemoryEventSound{path, type};
    }
    const std::wstring& path(const std::wstring& name) { return events.at(name).path; }

    bool openScheme() override { return schemeOpen = schemeOpens; }
    void closeScheme() override { schemeOpen = false; }
    std::optional<std::wstring> eventNameAt(std::uint32_t index) override {
        if (!schemeOpen || index >= order.size()) return std::nullopt;
        return order[index];
    }
    EventSound readEventSound(const std::wstring& event) override {
        const auto it = events.find(event);
        if (!schemeOpen) return {};
        if (it == events.end() || !it->second.hasCurrentKey) return {SoundReadResult::EventMissing, std::nullopt};
        if (it->second.refusesReads) return {};
        if (it->second.tooLargeToRead || it->second.type != TYPE_SZ) return {SoundReadResult::Read, std::nullopt};
        return {SoundReadResult::Read, it->second.path};
    }
    SoundWriteResult writeEventSound(const std::wstring& event, const std::wstring& path) override {
        if (beforeWrite) beforeWrite();
        const auto it = events.find(event);
        if (!schemeOpen) return SoundWriteResult::Failed;
        if (it == events.end() || !it->second.hasCurrentKey) return SoundWriteResult::EventMissing;
        if (it->second.refusesWrites) return SoundWriteResult::Failed;
        ++writes;
        it->second.path = path;
        it->second.type = TYPE_SZ;
        if (journal) journal->push_back(std::string(path.empty() ? "registry blank " : "registry restore ") + std::string(event.begin(), event.end()));
        return SoundWriteResult::Written;
    }
    bool flushToDisk() override {
        if (!schemeOpen || refusesFlush) return false;
        ++flushes;
        if (journal) journal->push_back("registry flush");
        return true;
    }
    std::optional<BackupOwner> owner() override { return whose; }
    void broadcastSoundChange() override {
        ++broadcasts;
        if (duringBroadcast) duringBroadcast();
    }
};

// The events that are blank now although they had a sound, and whose sound the file does not
// hold for the scheme's owner: sounds the user has lost.
inline std::vector<std::wstring> lostSounds(const MemorySoundRegistry& original, const MemorySoundRegistry& now,
                                            const MemorySettingsStorage& storage) {
    const std::vector<BackupEntry> backup = backupEntriesFor(parseIni(storage.text()), now.whose);
    std::vector<std::wstring> lost;
    for (const auto& [name, was] : original.events) {
        if (was.path.empty() || !now.events.at(name).path.empty()) continue;
        // The fuzz build's clang lets no lambda capture a structured binding: it captures this.
        const std::wstring& event = name;
        const auto entry = std::find_if(backup.begin(), backup.end(),
                                        [&](const BackupEntry& e) { return sameIniName(e.event, event); });
        if (entry == backup.end() || entry->path != was.path) lost.push_back(event);
    }
    return lost;
}

// The section headers of the file, in order: where the backups are.
inline std::vector<std::wstring> sectionNames(const MemorySettingsStorage& storage) {
    std::vector<std::wstring> names;
    for (const IniLine& line : parseIni(storage.text()).lines)
        if (line.kind == IniLineKind::Section) names.push_back(line.name);
    return names;
}
