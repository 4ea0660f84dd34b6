#include "settings/system_sounds.h"

#include <string>
#include <vector>

#include "settings/ini_text.h"

namespace {

const std::wstring BACKUP = SOUND_BACKUP_SECTION;

bool isLineBlank(wchar_t c) { return c == L' ' || (c >= L'\t' && c <= L'\r') || c == 0x1A; }

bool hasEdgeBlank(const std::wstring& text) {
    return !text.empty() && (isLineBlank(text.front()) || isLineBlank(text.back()));
}

// A NUL ends the text for the platform's string functions as a line break ends the line.
bool hasLineEnd(const std::wstring& text) { return text.find_first_of(std::wstring(L"\r\n\0", 3)) != std::wstring::npos; }

// Whether the line "event=path" gives back this very event and path when the file is read
// again: the profile reader splits at the first '=', takes a leading '[' for a section and a
// leading ';' for a comment, ends the line at a line break and trims white space.
bool survivesBackupLine(const std::wstring& event, const std::wstring& path) {
    if (event.empty() || event.find(L'=') != std::wstring::npos) return false;
    if (event.front() == L'[' || event.front() == L';') return false;
    if (hasLineEnd(event) || hasLineEnd(path)) return false;
    return !hasEdgeBlank(event) && !hasEdgeBlank(path);
}

// A sound is only blanked once its backup is safely in the file: a read-only or damaged
// settings file must not cost the user the sound scheme.
bool backUpSound(Profile& profile, const std::wstring& event, const std::wstring& path) {
    return survivesBackupLine(event, path) && profile.writeString(BACKUP, event, path);
}

void muteEvent(SoundSchemeRegistry& registry, Profile& profile, const std::wstring& event) {
    const std::optional<EventSound> sound = registry.readEventSound(event);
    if (!sound || !sound->isPlainString) return;
    if (!sound->path.empty() && !backUpSound(profile, event, sound->path)) return;
    registry.writeEventSound(event, L"");
}

// Registry key names hold no backslash: such an entry was not written by a mute and would
// reach another key.
bool namesAnEvent(const std::wstring& event) { return !event.empty() && event.find(L'\\') == std::wstring::npos; }

// A hand-edited file may name an event twice. The mute replaced the first of those entries,
// and a key read sees the first too, so a later one must not overwrite the sound it restored.
bool isNamedEarlier(const std::vector<ProfileEntry>& entries, std::size_t index) {
    for (std::size_t i = 0; i < index; ++i)
        if (sameIniName(entries[i].first, entries[index].first)) return true;
    return false;
}

}  // namespace

void muteSystemSounds(AppSettings& s, SoundSchemeRegistry& registry, Profile& profile) {
    if (!registry.openScheme()) return;
    for (std::uint32_t index = 0;; ++index) {
        const std::optional<std::wstring> event = registry.eventNameAt(index);
        if (!event) break;
        muteEvent(registry, profile, *event);
    }
    registry.closeScheme();
    registry.broadcastSoundChange();
    s.sysSoundsMuted = true;
}

void restoreSystemSounds(AppSettings& s, SoundSchemeRegistry& registry, Profile& profile) {
    if (!registry.openScheme()) return;
    // An entry whose event still exists but refused the write is kept for a later restore;
    // an entry whose event is gone is dropped with the section.
    std::vector<ProfileEntry> unrestored;
    const std::vector<ProfileEntry> backup = profile.readSection(BACKUP);
    for (std::size_t i = 0; i < backup.size(); ++i) {
        const ProfileEntry& entry = backup[i];
        if (!namesAnEvent(entry.first) || isNamedEarlier(backup, i)) continue;
        if (registry.writeEventSound(entry.first, entry.second) == SoundWriteResult::Failed) unrestored.push_back(entry);
    }
    registry.closeScheme();
    profile.deleteSection(BACKUP);
    for (const ProfileEntry& entry : unrestored) profile.writeString(BACKUP, entry.first, entry.second);
    registry.broadcastSoundChange();
    s.sysSoundsMuted = false;
}
