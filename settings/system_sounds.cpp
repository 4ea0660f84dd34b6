#include "settings/system_sounds.h"

#include <map>
#include <string>
#include <vector>

#include "settings/ini_document.h"

namespace {

const std::wstring BACKUP = SOUND_BACKUP_SECTION;

bool hasEdgeBlank(const std::wstring& text) { return !text.empty() && (isIniBlank(text.front()) || isIniBlank(text.back())); }

// A NUL ends the text for the platform's string functions as a line break ends the line.
bool hasLineEnd(const std::wstring& text) { return text.find_first_of(std::wstring(L"\r\n\0", 3)) != std::wstring::npos; }

// Whether the line "event=path" can be written without becoming another line: a name with
// '=' would split elsewhere, a leading '[' would make a section of it and a leading ';' a
// comment, a line break would start a line of its own, and white space at the edges is
// trimmed away on reading. Such a sound is never backed up, so it is never blanked.
bool survivesBackupLine(const std::wstring& event, const std::wstring& path) {
    if (event.empty() || event.find(L'=') != std::wstring::npos) return false;
    if (event.front() == L'[' || event.front() == L';') return false;
    if (hasLineEnd(event) || hasLineEnd(path)) return false;
    return !hasEdgeBlank(event) && !hasEdgeBlank(path);
}

// Registry key names hold no backslash: such an entry was not written by a mute and would
// reach another key.
bool namesAnEvent(const std::wstring& event) { return !event.empty() && event.find(L'\\') == std::wstring::npos; }

bool isBlank(const EventSound& sound) {
    return sound.result == SoundReadResult::Read && sound.plainPath && sound.plainPath->empty();
}

struct SchemeSound {
    std::wstring event;
    std::wstring path;
};

// Every event whose sound is a plain string, in the scheme's order.
std::vector<SchemeSound> plainSounds(SoundSchemeRegistry& registry) {
    std::vector<SchemeSound> sounds;
    for (std::uint32_t index = 0;; ++index) {
        const std::optional<std::wstring> event = registry.eventNameAt(index);
        if (!event) break;
        const EventSound sound = registry.readEventSound(*event);
        if (sound.result == SoundReadResult::Read && sound.plainPath) sounds.push_back({*event, *sound.plainPath});
    }
    return sounds;
}

// The backup as a restore reads it: every backup section, the first entry of a name.
std::vector<IniEntry> backupEntries(const IniDocument& doc) { return iniEntriesOfEverySection(doc, BACKUP); }

void backUpSounds(SettingsStorage& storage, const std::vector<SchemeSound>& sounds) {
    const std::optional<IniDocument> asRead = readSettingsDocument(storage);
    if (!asRead) return;
    IniDocument edited = *asRead;
    for (const SchemeSound& sound : sounds)
        if (!sound.path.empty() && survivesBackupLine(sound.event, sound.path))
            setIniValue(edited, BACKUP, sound.event, sound.path);
    writeSettingsDocument(storage, *asRead, edited);
}

using BackupByEvent = std::map<std::wstring, std::wstring>;

// What the file holds now, whatever the write reported.
BackupByEvent backupReadBack(SettingsStorage& storage) {
    BackupByEvent backup;
    if (const std::optional<IniDocument> doc = readSettingsDocument(storage))
        for (const IniEntry& entry : backupEntries(*doc)) backup.emplace(foldIniName(entry.name), entry.value);
    return backup;
}

bool isBackedUp(const BackupByEvent& backup, const SchemeSound& sound) {
    const auto entry = backup.find(foldIniName(sound.event));
    return entry != backup.end() && entry->second == sound.path;
}

// Blanks the sound only while it still is the one that was backed up.
void blankSound(SoundSchemeRegistry& registry, const SchemeSound& sound) {
    const EventSound now = registry.readEventSound(sound.event);
    if (now.result == SoundReadResult::Read && now.plainPath == sound.path) registry.writeEventSound(sound.event, L"");
}

enum class EntryOutcome { Settled, Kept };

EntryOutcome restoreEntry(SoundSchemeRegistry& registry, const IniEntry& entry) {
    if (!namesAnEvent(entry.name)) return EntryOutcome::Settled;
    const EventSound now = registry.readEventSound(entry.name);
    if (now.result == SoundReadResult::Failed) return EntryOutcome::Kept;
    // A sound chosen since the mute is the user's, and a vanished event needs nothing.
    if (!isBlank(now)) return EntryOutcome::Settled;
    const SoundWriteResult written = registry.writeEventSound(entry.name, entry.value);
    return written == SoundWriteResult::Failed ? EntryOutcome::Kept : EntryOutcome::Settled;
}

}  // namespace

void muteSystemSounds(AppSettings& s, SoundSchemeRegistry& registry, SettingsStorage& storage) {
    SettingsLock lock(storage);
    if (!lock.held() || !registry.openScheme()) return;
    const std::vector<SchemeSound> sounds = plainSounds(registry);
    backUpSounds(storage, sounds);
    const BackupByEvent backup = backupReadBack(storage);
    for (const SchemeSound& sound : sounds)
        if (sound.path.empty() || isBackedUp(backup, sound)) blankSound(registry, sound);
    registry.closeScheme();
    // The broadcast waits on other programs' windows, among them another copy's, which may
    // itself be waiting for the lock. While it waits, this window answers messages sent to it,
    // a command that mutes or restores among them: the flag must already tell the truth.
    lock.release();
    s.sysSoundsMuted = true;
    registry.broadcastSoundChange();
}

void restoreSystemSounds(AppSettings& s, SoundSchemeRegistry& registry, SettingsStorage& storage) {
    SettingsLock lock(storage);
    if (!lock.held() || !registry.openScheme()) return;
    const std::optional<IniDocument> asRead = readSettingsDocument(storage);
    if (!asRead) {
        registry.closeScheme();
        return;
    }
    // Every entry stays in the file until the one write below, which comes after every
    // sound it drops is back: a kill at any moment leaves no blank sound without its entry.
    std::vector<std::wstring> settled;
    for (const IniEntry& entry : backupEntries(*asRead))
        if (restoreEntry(registry, entry) == EntryOutcome::Settled) settled.push_back(entry.name);
    registry.closeScheme();
    IniDocument edited = *asRead;
    removeIniKeys(edited, BACKUP, settled);
    removeEmptyIniSections(edited, BACKUP);
    writeSettingsDocument(storage, *asRead, edited);
    lock.release();
    s.sysSoundsMuted = false;
    registry.broadcastSoundChange();
}
