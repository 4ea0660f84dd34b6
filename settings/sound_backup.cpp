#include "settings/sound_backup.h"

#include <set>

namespace {

bool needsEscape(wchar_t c) { return c < 0x21 || c == 0x7F || c == L']' || c == L'%'; }

std::wstring escaped(const std::wstring& name) {
    static constexpr wchar_t DIGITS[] = L"0123456789ABCDEF";
    std::wstring text;
    for (wchar_t c : name) {
        if (!needsEscape(c)) {
            text += c;
            continue;
        }
        text += L'%';
        text += DIGITS[(c >> 4) & 0xF];
        text += DIGITS[c & 0xF];
    }
    return text;
}

std::vector<IniEntry> entriesOf(const IniDocument& doc, const std::optional<BackupOwner>& owner, BackupLineKind kind) {
    if (kind == BackupLineKind::Untagged) return iniEntriesOfEverySection(doc, SOUND_BACKUP_SECTION);
    return owner ? iniEntriesOfEverySection(doc, backupSectionName(*owner)) : std::vector<IniEntry>{};
}

}  // namespace

std::wstring backupSectionName(const BackupOwner& owner) {
    return std::wstring(SOUND_BACKUP_SECTION) + L" for " + escaped(owner.account) + L" on " + escaped(owner.computer);
}

std::vector<BackupEntry> backupEntriesFor(const IniDocument& doc, const std::optional<BackupOwner>& owner) {
    std::vector<BackupEntry> entries;
    std::set<std::wstring> named;
    for (const IniEntry& entry : entriesOf(doc, owner, BackupLineKind::Own)) {
        named.insert(foldIniName(entry.name));
        entries.push_back({entry.name, entry.value, BackupLineKind::Own});
    }
    for (const IniEntry& entry : entriesOf(doc, owner, BackupLineKind::Untagged))
        if (named.count(foldIniName(entry.name)) == 0) entries.push_back({entry.name, entry.value, BackupLineKind::Untagged});
    return entries;
}

void setBackupLine(IniDocument& doc, const BackupOwner& owner, const std::wstring& event, const std::wstring& path) {
    setIniValue(doc, backupSectionName(owner), event, path);
}

void removeBackupLines(IniDocument& doc, const std::optional<BackupOwner>& owner, const std::vector<BackupEntry>& settled) {
    std::vector<std::wstring> own;
    std::vector<std::wstring> untagged;
    for (const BackupEntry& entry : settled) (entry.kind == BackupLineKind::Own ? own : untagged).push_back(entry.event);
    if (owner) {
        removeIniKeys(doc, backupSectionName(*owner), own);
        removeEmptyIniSections(doc, backupSectionName(*owner));
    }
    removeIniKeys(doc, SOUND_BACKUP_SECTION, untagged);
    removeEmptyIniSections(doc, SOUND_BACKUP_SECTION);
}
