#include "settings/settings_storage_win32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <thread>

#include "settings/ini_encoding.h"
#include "settings/settings_file.h"
#include "settings/windows_paths.h"

namespace {

std::wstring extended(const std::wstring& path) { return L"\\\\?\\" + path; }

// Removes a folder with everything in it, however long its path.
void removeTree(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(extended(folder + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring path = folder + L"\\" + name;
            SetFileAttributesW(extended(path).c_str(), FILE_ATTRIBUTE_NORMAL);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                removeTree(path);
            else
                DeleteFileW(extended(path).c_str());
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(extended(folder).c_str());
}

// A fresh folder under the temporary folder, removed with everything in it at the end.
class TempFolder {
public:
    TempFolder() {
        wchar_t base[MAX_PATH + 1] = {};
        GetTempPathW(MAX_PATH + 1, base);
        for (unsigned n = GetTickCount();; ++n) {
            path = std::wstring(base) + L"tavrin-storage-" + std::to_wstring(n);
            if (CreateDirectoryW(path.c_str(), nullptr)) break;
        }
    }
    ~TempFolder() { removeTree(path); }
    std::wstring file(const wchar_t* name) const { return path + L"\\" + name; }
    const std::wstring& folder() const { return path; }

private:
    std::wstring path;
};

std::string fileBytes(const std::wstring& path) {
    std::ifstream in(extended(path).c_str(), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeFileBytes(const std::wstring& path, const std::string& bytes) {
    std::ofstream(extended(path).c_str(), std::ios::binary) << bytes;
}

bool exists(const std::wstring& path) { return GetFileAttributesW(extended(path).c_str()) != INVALID_FILE_ATTRIBUTES; }

// Lets no one else write or delete the file while it lives, as an editor holding it does.
class HeldOpen {
public:
    explicit HeldOpen(const std::wstring& path)
        : handle(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr)) {}
    ~HeldOpen() {
        if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
    }
    bool held() const { return handle != INVALID_HANDLE_VALUE; }

private:
    HANDLE handle;
};

const std::wstring JAPANESE = L"C:\\\u97F3\\\u30C1\u30E3\u30A4\u30E0.wav";
const std::string OLD = std::string("\xFF\xFE[\0s\0]\0", 8);

}  // namespace

TEST(Win32SettingsStorage, ReplacesTheWholeFileKeepingItsAttributesAndNoTemporaryFile) {
    TempFolder folder;
    const std::wstring path = folder.file(L"settings.ini");
    Win32SettingsStorage storage(path);
    EXPECT_EQ(storage.read().state, StoredFileState::Absent);
    ASSERT_TRUE(storage.replace("first"));
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_HIDDEN);
    ASSERT_TRUE(storage.replace(OLD));
    const StoredFile read = storage.read();
    EXPECT_EQ(read.state, StoredFileState::Present);
    EXPECT_EQ(read.bytes, OLD);
    EXPECT_EQ(fileBytes(path), OLD);
    EXPECT_TRUE(GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_HIDDEN);
    EXPECT_FALSE(exists(folder.file(L"settings.ini.new")));
}

TEST(Win32SettingsStorage, TheOldFileStaysWholeWhenTheNewOneCantBeWrittenOrPutInPlace) {
    TempFolder folder;
    const std::wstring path = folder.file(L"settings.ini");
    writeFileBytes(path, OLD);
    Win32SettingsStorage storage(path);

    // The new file can't be created, as on a full disk: nothing is replaced.
    ASSERT_TRUE(CreateDirectoryW(storage.temporaryPath().c_str(), nullptr));
    EXPECT_FALSE(storage.replace(std::string(100000, 'x')));
    EXPECT_EQ(fileBytes(path), OLD);
    RemoveDirectoryW(storage.temporaryPath().c_str());

    // Another program holds the file against deletion: the new one is written, then refused.
    {
        HeldOpen editor(path);
        ASSERT_TRUE(editor.held());
        EXPECT_FALSE(storage.replace("new"));
        EXPECT_FALSE(exists(folder.file(L"settings.ini.new")));
    }
    EXPECT_EQ(fileBytes(path), OLD);

    // A temporary file left by a run killed mid-write is written over.
    writeFileBytes(folder.file(L"settings.ini.new"), "half a file");
    SetFileAttributesW(folder.file(L"settings.ini.new").c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(storage.replace("whole"));
    EXPECT_EQ(fileBytes(path), "whole");
}

TEST(Win32SettingsStorage, AReadOnlyFileOrAFolderIsNeverReplaced) {
    TempFolder folder;
    const std::wstring path = folder.file(L"settings.ini");
    writeFileBytes(path, OLD);
    ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY));
    Win32SettingsStorage readOnly(path);
    EXPECT_EQ(readOnly.read().bytes, OLD);
    EXPECT_FALSE(readOnly.replace("new"));
    EXPECT_EQ(fileBytes(path), OLD);
    EXPECT_FALSE(exists(folder.file(L"settings.ini.new")));

    const std::wstring folderPath = folder.file(L"folder.ini");
    ASSERT_TRUE(CreateDirectoryW(folderPath.c_str(), nullptr));
    writeFileBytes(folderPath + L"\\kept.txt", "mine");
    Win32SettingsStorage notAFile(folderPath);
    EXPECT_EQ(notAFile.read().state, StoredFileState::Unreadable);
    EXPECT_FALSE(notAFile.replace("new"));
    EXPECT_TRUE(GetFileAttributesW(folderPath.c_str()) & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(fileBytes(folderPath + L"\\kept.txt"), "mine");
}

TEST(Win32SettingsStorage, APathBeyondMaxPathWorksAndWritesNowhereElse) {
    TempFolder folder;
    std::wstring deep = folder.folder();
    while (deep.size() <= MAX_PATH + 40) {
        deep += L"\\" + std::wstring(60, L'd');
        ASSERT_TRUE(CreateDirectoryW(extended(deep).c_str(), nullptr));
    }
    const std::wstring path = deep + L"\\settings.ini";
    Win32SettingsStorage storage(path);
    AppSettings s;
    s.style = 2;
    ASSERT_TRUE(saveSettings(s, storage, {5, 6}));
    EXPECT_EQ(fileBytes(path).substr(0, 2), "\xFF\xFE");
    AppSettings back;
    loadSettings(back, storage);
    EXPECT_EQ(back.style, 2);
    EXPECT_EQ(readSavedPosition(storage), (WindowPosition{5, 6}));
    // The path cut at MAX_PATH names a folder that holds nothing of ours.
    const std::wstring cut = path.substr(0, MAX_PATH - 1);
    EXPECT_FALSE(exists(cut.substr(0, cut.rfind(L'\\')) + L"\\settings.ini"));
}

TEST(Win32SettingsStorage, AnEmptyPathNamesNoFile) {
    Win32SettingsStorage storage(L"");
    EXPECT_EQ(storage.read().state, StoredFileState::Unreadable);
    EXPECT_FALSE(storage.replace("x"));
    EXPECT_FALSE(storage.lock());
    AppSettings s;
    EXPECT_FALSE(saveSettings(s, storage, {}));
}

// Whether another copy of the program could take the lock of this path now. A lock belongs
// to a thread, so another thread stands for the other copy.
bool lockFreeForAnotherCopy(const std::wstring& path) {
    bool locked = false;
    std::thread other([&] {
        Win32SettingsStorage waiter(path, 50);
        locked = waiter.lock();
        if (locked) waiter.unlock();
    });
    other.join();
    return locked;
}

TEST(Win32SettingsStorage, EverySpellingOfThePathSharesOneLock) {
    TempFolder folder;
    const std::wstring path = folder.file(L"settings.ini");
    Win32SettingsStorage holder(path);
    ASSERT_TRUE(holder.lock());
    std::wstring upper = path;
    CharUpperBuffW(upper.data(), static_cast<DWORD>(upper.size()));
    std::wstring slashed = path;
    slashed[slashed.rfind(L'\\')] = L'/';
    for (const std::wstring& spelling : {path, upper, slashed, extended(path)})
        EXPECT_FALSE(lockFreeForAnotherCopy(spelling)) << std::string(spelling.begin(), spelling.end());
    EXPECT_TRUE(lockFreeForAnotherCopy(folder.file(L"other.ini")));
    holder.unlock();
    EXPECT_TRUE(lockFreeForAnotherCopy(path));
}

TEST(Win32SettingsStorage, ALockItsHolderNeverReleasedIsTakenOver) {
    TempFolder folder;
    const std::wstring path = folder.file(L"settings.ini");
    Win32SettingsStorage killed(path);
    bool locked = false;
    // The thread ends holding the lock, as a copy killed inside an operation does.
    std::thread(([&] { locked = killed.lock(); })).join();
    ASSERT_TRUE(locked);
    Win32SettingsStorage next(path, 1000);
    EXPECT_TRUE(next.lock());
    next.unlock();
}

TEST(Win32SettingsStorage, AnAnsiOrUtf8FileIsReadAndWrittenBackAsUnicode) {
    TempFolder folder;
    const std::wstring path = folder.file(L"settings.ini");
    for (const std::string& bytes : {std::string("[main]\r\nstyle=2\r\n; caf\xE9\r\n"),
                                     std::string("[main]\r\nstyle=2\r\n; caf\xC3\xA9\r\n")}) {
        writeFileBytes(path, bytes);
        Win32SettingsStorage storage(path);
        AppSettings s;
        loadSettings(s, storage);
        EXPECT_EQ(s.style, 2);
        ASSERT_TRUE(saveSettings(s, storage, {0, 0}));
        const std::string written = fileBytes(path);
        EXPECT_EQ(written.substr(0, 2), "\xFF\xFE");
        // Windows-1252 here: é is 0xE9 in the ANSI code page too.
        EXPECT_NE(decodeIniBytes(written).find(L"top=0\r\nlayout=0\r\n; caf\u00E9\r\n"), std::wstring::npos);
    }
}

TEST(Win32SettingsStorage, AWholeNewFileLeftWithoutTheSettingsFileIsTakenForItUnderTheLock) {
    TempFolder folder;
    const std::wstring path = folder.file(L"settings.ini");
    const std::wstring left = folder.file(L"settings.ini.new");
    const std::string whole = encodeIniText(L"[main]\r\nstyle=2\r\n[sysSndBackup]\r\nDing=C:\\d.wav\r\n");
    writeFileBytes(left, whole);
    {
        // Read without the lock: the file is read as the settings, and left where it is.
        Win32SettingsStorage storage(path);
        EXPECT_EQ(storage.read().bytes, whole);
        EXPECT_FALSE(exists(path));
        // Nothing may write over the only copy before it is the settings file.
        ASSERT_TRUE(storage.lock());
        storage.unlock();
    }
    Win32SettingsStorage storage(path);
    ASSERT_TRUE(storage.lock());
    const StoredFile read = storage.read();
    EXPECT_EQ(read.state, StoredFileState::Present);
    EXPECT_EQ(read.bytes, whole);
    EXPECT_EQ(fileBytes(path), whole);
    EXPECT_FALSE(exists(left));
    storage.unlock();
    AppSettings s;
    loadSettings(s, storage);
    EXPECT_EQ(s.style, 2);
}

TEST(Win32SettingsStorage, ANewFileCutShortOrBesideTheSettingsFileIsNeverTakenForIt) {
    TempFolder folder;
    const std::wstring path = folder.file(L"settings.ini");
    const std::wstring left = folder.file(L"settings.ini.new");
    const std::string whole = encodeIniText(L"[main]\r\nstyle=2\r\n");
    // Cut short: not taken for the settings file, and the first save writes over it.
    writeFileBytes(left, whole.substr(0, whole.size() - 3));
    Win32SettingsStorage storage(path);
    EXPECT_EQ(storage.read().state, StoredFileState::Absent);
    AppSettings s;
    s.style = 0;
    ASSERT_TRUE(saveSettings(s, storage, {0, 0}));
    EXPECT_FALSE(exists(left));
    // Beside a settings file, a whole new file is the leftover of a replace that never
    // reached its rename: the settings file holds the truth, and the leftover goes, so that
    // deleting settings.ini later starts afresh.
    writeFileBytes(left, whole);
    AppSettings back;
    loadSettings(back, storage);
    EXPECT_EQ(back.style, 0);
    EXPECT_FALSE(exists(left));
}

TEST(Win32SettingsStorage, AFileWithAnotherNameIsNeverPartedFromIt) {
    TempFolder folder;
    const std::wstring path = folder.file(L"settings.ini");
    const std::wstring other = folder.file(L"other name.ini");
    writeFileBytes(path, OLD);
    if (!CreateHardLinkW(other.c_str(), path.c_str(), nullptr)) GTEST_SKIP() << "no hard links here";
    Win32SettingsStorage storage(path);
    EXPECT_EQ(storage.read().bytes, OLD);
    EXPECT_FALSE(storage.replace("new"));
    EXPECT_EQ(fileBytes(path), OLD);
    EXPECT_EQ(fileBytes(other), OLD);
    EXPECT_FALSE(exists(storage.temporaryPath()));
}

TEST(Win32SettingsStorage, FlushingPutsTheFileThatIsThereOnTheDisk) {
    TempFolder folder;
    Win32SettingsStorage storage(folder.file(L"settings.ini"));
    EXPECT_FALSE(storage.flushToDisk());
    ASSERT_TRUE(storage.replace(OLD));
    EXPECT_TRUE(storage.flushToDisk());
}

namespace {

// Whether another copy that holds only the named mutex would keep this storage waiting.
bool heldBy(const std::wstring& mutexName, const std::wstring& path) {
    HANDLE mutex = CreateMutexW(nullptr, TRUE, mutexName.c_str());
    bool waited = false;
    std::thread([&] {
        Win32SettingsStorage storage(path, 50);
        waited = !storage.lock();
        if (!waited) storage.unlock();
    }).join();
    ReleaseMutex(mutex);
    CloseHandle(mutex);
    return waited;
}

std::wstring foldedPath(const std::wstring& path) {
    std::wstring upper = path;
    CharUpperBuffW(upper.data(), static_cast<DWORD>(upper.size()));
    return upper;
}

}  // namespace

TEST(Win32SettingsStorage, TheLockIsSharedWithOtherSessionsAndWithEarlierVersions) {
    TempFolder folder;
    const std::wstring path = folder.file(L"settings.ini");
    const SettingsLockNames names = settingsLockNames(foldedPath(path));
    // A copy in another session holds only the mutex of every session; an earlier version
    // in this one only the session's own.
    EXPECT_TRUE(heldBy(names.global, path));
    EXPECT_TRUE(heldBy(names.local, path));
    EXPECT_FALSE(heldBy(L"Local\\Tavrin.unrelated", path));
    Win32SettingsStorage storage(path);
    EXPECT_TRUE(storage.lockSharedAcrossSessions());
}

TEST(Win32SettingsStorage, WithoutTheMutexOfEverySessionTheSessionsOwnStillLocks) {
    TempFolder folder;
    const std::wstring path = folder.file(L"settings.ini");
    const SettingsLockNames names = settingsLockNames(foldedPath(path));
    // Another program took the name for something else.
    HANDLE squatter = CreateEventW(nullptr, FALSE, FALSE, names.global.c_str());
    ASSERT_NE(squatter, nullptr);
    Win32SettingsStorage holder(path);
    EXPECT_FALSE(holder.lockSharedAcrossSessions());
    ASSERT_TRUE(holder.lock());
    EXPECT_FALSE(lockFreeForAnotherCopy(path));
    holder.unlock();
    EXPECT_TRUE(lockFreeForAnotherCopy(path));
    CloseHandle(squatter);
}
