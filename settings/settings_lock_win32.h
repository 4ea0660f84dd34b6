#pragma once
// The lock that the running copies of the program share for one settings file: a named mutex
// in the namespace of every session, so that accounts running one copy from a shared folder
// take turns too, and one in this session's namespace, the one that earlier versions take.
#include <string>
#include <utility>

#include "settings/windows_paths.h"

class SettingsFileLock {
public:
    explicit SettingsFileLock(SettingsLockNames lockNames) : names(std::move(lockNames)) {}
    ~SettingsFileLock();
    SettingsFileLock(const SettingsFileLock&) = delete;
    SettingsFileLock& operator=(const SettingsFileLock&) = delete;

    // Waits at most `waitMs` in all; false when another copy kept either mutex that long. A
    // mutex of every session that can't be had here (a platform without that namespace, or a
    // name another program took) is done without.
    bool acquire(unsigned long waitMs);
    void release();

    // Whether this copy shares the mutex of every session.
    bool sharedAcrossSessions();

private:
    SettingsLockNames names;
    void* global = nullptr;
    void* local = nullptr;
    bool globalTried = false;
    bool globalHeld = false;
    bool localHeld = false;
};
