#include "settings/backup_owner_win32.h"

#include <windows.h>
#include <sddl.h>

#include <vector>

namespace {

std::optional<std::wstring> accountSid() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return std::nullopt;
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    std::vector<unsigned char> buffer(size);
    std::optional<std::wstring> sid;
    wchar_t* text = nullptr;
    if (size != 0 && GetTokenInformation(token, TokenUser, buffer.data(), size, &size) &&
        ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid, &text)) {
        sid = text;
        LocalFree(text);
    }
    CloseHandle(token);
    return sid;
}

std::optional<std::wstring> computerName() {
    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD length = MAX_COMPUTERNAME_LENGTH + 1;
    if (!GetComputerNameW(name, &length) || length == 0) return std::nullopt;
    return std::wstring(name, length);
}

}  // namespace

std::optional<BackupOwner> currentBackupOwner() {
    const std::optional<std::wstring> account = accountSid();
    const std::optional<std::wstring> computer = computerName();
    if (!account || !computer) return std::nullopt;
    return BackupOwner{*account, *computer};
}
