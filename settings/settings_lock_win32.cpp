#include "settings/settings_lock_win32.h"

#include <windows.h>
#include <sddl.h>

namespace {

// Every account may wait for the mutex and release it, and do nothing else with it: without
// this, the mutex that one account made would be closed to the others.
constexpr wchar_t WAIT_AND_RELEASE_FOR_EVERYONE[] = L"D:(A;;0x00100001;;;WD)";
constexpr DWORD WAIT_AND_RELEASE = SYNCHRONIZE | MUTEX_MODIFY_STATE;

HANDLE openSharedMutex(const std::wstring& name) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(WAIT_AND_RELEASE_FOR_EVERYONE, SDDL_REVISION_1,
                                                              &descriptor, nullptr))
        return nullptr;
    SECURITY_ATTRIBUTES attributes{sizeof attributes, descriptor, FALSE};
    HANDLE mutex = CreateMutexExW(&attributes, name.c_str(), 0, WAIT_AND_RELEASE);
    LocalFree(descriptor);
    return mutex;
}

// An abandoned mutex belonged to a copy that ended inside an operation; the file it left is
// whole all the same, since it only ever replaced it whole.
bool waitFor(HANDLE mutex, DWORD waitMs) {
    const DWORD waited = WaitForSingleObject(mutex, waitMs);
    return waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
}

}  // namespace

SettingsFileLock::~SettingsFileLock() {
    release();
    if (global) CloseHandle(global);
    if (local) CloseHandle(local);
}

bool SettingsFileLock::sharedAcrossSessions() {
    if (!globalTried) {
        globalTried = true;
        global = openSharedMutex(names.global);
    }
    return global != nullptr;
}

// The mutex of every session first, then this session's, in the same order in every copy;
// an earlier version takes only the second, so no two copies ever wait on each other in a
// circle.
bool SettingsFileLock::acquire(unsigned long waitMs) {
    if (!local) local = CreateMutexExW(nullptr, names.local.c_str(), 0, WAIT_AND_RELEASE);
    if (!local) return false;
    const ULONGLONG deadline = GetTickCount64() + waitMs;
    if (sharedAcrossSessions()) {
        globalHeld = waitFor(global, waitMs);
        if (!globalHeld) return false;
    }
    const ULONGLONG now = GetTickCount64();
    localHeld = waitFor(local, static_cast<DWORD>(now < deadline ? deadline - now : 0));
    if (!localHeld) release();
    return localHeld;
}

void SettingsFileLock::release() {
    if (localHeld) ReleaseMutex(local);
    if (globalHeld) ReleaseMutex(global);
    localHeld = globalHeld = false;
}
