#include "settings/system_sounds.h"

#include <map>
#include <string>
#include <vector>

#include "settings/ini_document.h"

namespace {

bool hasEdgeBlank(const std::wstring& text) { return !text.empty() && (isIniBlank(text.front()) || isIniBlank(text.back())); }

// A NUL ends the text for the platform's string functions as a line break ends the line.
bool hasLineEnd(const std::wstring& text) { return text.find_first_of(std::wstring(L"\r\n\0", 3)) != std::wstring::npos; }

bool hasNul(const std::wstring& text) { return text.find(L'\0') != std::wstring::npos; }

// Whether the name reaches the registry as the key it names: a NUL would cut it short and a
// backslash lead into another key, so that a write would land on another event.
bool reachesItsEvent(const std::wstring& event) {
    return !event.empty() && event.find(L'\\') == std::wstring::npos && !hasNul(event);
}

// Whether the line "event=path" can be written without becoming another line: a name with
// '=' would split elsewhere, a leading '[' would make a section of it and a leading ';' a
// comment, a line break would start a line of its own, and white space at the edges is
// trimmed away on reading. Such a sound is never backed up, so it is never blanked.
bool survivesBackupLine(const std::wstring& event, const std::wstring& path) {
    if (!reachesItsEvent(event) || event.find(L'=') != std::wstring::npos) return false;
    if (event.front() == L'[' || event.front() == L';') return false;
    if (hasLineEnd(event) || hasLineEnd(path)) return false;
    return !hasEdgeBlank(event) && !hasEdgeBlank(path);
}

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
        if (!reachesItsEvent(*event)) continue;
        const EventSound sound = registry.readEventSound(*event);
        if (sound.result == SoundReadResult::Read && sound.plainPath) sounds.push_back({*event, *sound.plainPath});
    }
    return sounds;
}

void backUpSounds(SettingsStorage& storage, const BackupOwner& owner, const std::vector<SchemeSound>& sounds) {
    const std::optional<IniDocument> asRead = readSettingsDocument(storage);
    if (!asRead) return;
    IniDocument edited = *asRead;
    for (const SchemeSound& sound : sounds)
        if (!sound.path.empty() && survivesBackupLine(sound.event, sound.path))
            setBackupLine(edited, owner, sound.event, sound.path);
    writeSettingsDocument(storage, *asRead, edited);
}

using BackupByEvent = std::map<std::wstring, std::wstring>;

// The owner's backup as the file holds it now, whatever the write reported; nothing when the
// file could not be put on the disk itself, since a power cut could still take it back.
BackupByEvent ownBackupOnDisk(SettingsStorage& storage, const BackupOwner& owner) {
    BackupByEvent backup;
    if (!storage.flushToDisk()) return backup;
    if (const std::optional<IniDocument> doc = readSettingsDocument(storage))
        for (const BackupEntry& entry : backupEntriesFor(*doc, owner))
            if (entry.kind == BackupLineKind::Own) backup.emplace(foldIniName(entry.event), entry.path);
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

// Whether a line could have been written by a mute: one that could not is the user's, or
// another program's, and is left as it is.
bool isBackupLine(const BackupEntry& entry) { return reachesItsEvent(entry.event) && !hasNul(entry.path); }

// An owner's own line is settled once its sound is back, or once there is nothing to give
// back: the user chose another sound meanwhile, or the event is gone. An untagged line may
// belong to another account, whose sounds this one can't see: it is given back only into a
// blank sound, and otherwise left for its owner.
EntryOutcome restoreEntry(SoundSchemeRegistry& registry, const BackupEntry& entry) {
    if (!isBackupLine(entry)) return EntryOutcome::Kept;
    const bool own = entry.kind == BackupLineKind::Own;
    const EventSound now = registry.readEventSound(entry.event);
    if (now.result == SoundReadResult::Failed) return EntryOutcome::Kept;
    if (now.result == SoundReadResult::EventMissing || !isBlank(now)) return own ? EntryOutcome::Settled : EntryOutcome::Kept;
    switch (registry.writeEventSound(entry.event, entry.path)) {
    case SoundWriteResult::Written: return EntryOutcome::Settled;
    case SoundWriteResult::EventMissing: return own ? EntryOutcome::Settled : EntryOutcome::Kept;
    case SoundWriteResult::Failed: return EntryOutcome::Kept;
    }
    return EntryOutcome::Kept;
}

}  // namespace

void muteSystemSounds(AppSettings& s, SoundSchemeRegistry& registry, SettingsStorage& storage) {
    SettingsLock lock(storage);
    if (!lock.held() || !registry.openScheme()) return;
    const std::optional<BackupOwner> owner = registry.owner();
    if (!owner) {
        registry.closeScheme();
        return;
    }
    const std::vector<SchemeSound> sounds = plainSounds(registry);
    backUpSounds(storage, *owner, sounds);
    const BackupByEvent backup = ownBackupOnDisk(storage, *owner);
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
    const std::optional<BackupOwner> owner = registry.owner();
    // Every line stays in the file until the one write below, which comes after every sound
    // it drops is back on the disk: a kill or a power cut at any moment leaves no blank sound
    // without its line.
    std::vector<BackupEntry> settled;
    for (const BackupEntry& entry : backupEntriesFor(*asRead, owner))
        if (restoreEntry(registry, entry) == EntryOutcome::Settled) settled.push_back(entry);
    if (!settled.empty() && !registry.flushToDisk()) settled.clear();
    registry.closeScheme();
    IniDocument edited = *asRead;
    removeBackupLines(edited, owner, settled);
    writeSettingsDocument(storage, *asRead, edited);
    lock.release();
    s.sysSoundsMuted = false;
    registry.broadcastSoundChange();
}
