#pragma once
// The copy of the sound scheme in settings.ini. Each owner, an account on a computer, keeps
// its sounds in a section of its own,
//
//     [sysSndBackup for S-1-5-21-1004336348-1177238915-682003330-1001 on DESKTOP-7F3K2]
//     SystemAsterisk=C:\Windows\Media\Windows Background.wav
//
// so that accounts that run one copy from a shared folder, or computers that sync the folder,
// never give back or drop each other's sounds. Sections named [sysSndBackup] alone were
// written before owners were named: their lines are untagged.
#include <optional>
#include <string>
#include <vector>

#include "settings/ini_document.h"

inline constexpr wchar_t SOUND_BACKUP_SECTION[] = L"sysSndBackup";

struct BackupOwner {
    std::wstring account;   // the account's security identifier, "S-1-5-21-..."
    std::wstring computer;  // the computer's name
    friend bool operator==(const BackupOwner&, const BackupOwner&) = default;
};

// "sysSndBackup for <account> on <computer>". A character the header could not carry, or
// that would blur where the names end (a control character, a space, ']' or '%'), is
// written as '%' and two hex digits.
std::wstring backupSectionName(const BackupOwner& owner);

enum class BackupLineKind { Own, Untagged };

struct BackupEntry {
    std::wstring event;
    std::wstring path;
    BackupLineKind kind = BackupLineKind::Own;
    friend bool operator==(const BackupEntry&, const BackupEntry&) = default;
};

// The owner's entries, the first line of an event counting across all of the owner's
// sections; then the untagged entries of events the owner's sections do not name. Without an
// owner, the untagged entries alone. Another owner's sections are never read.
std::vector<BackupEntry> backupEntriesFor(const IniDocument& doc, const std::optional<BackupOwner>& owner);

// The owner's line for this event, replacing the one that section holds, or added to it.
void setBackupLine(IniDocument& doc, const BackupOwner& owner, const std::wstring& event, const std::wstring& path);

// Removes the lines of these entries' events from the sections of their kind, a stale repeat
// of an event along with its first line, and then every such section left with nothing but
// blank lines under its header. Comments, notes and lines that are no backup line stay, and
// the header with them.
void removeBackupLines(IniDocument& doc, const std::optional<BackupOwner>& owner, const std::vector<BackupEntry>& settled);
