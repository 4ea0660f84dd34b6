#include "settings/settings_storage_win32.h"

#include <windows.h>

#include "settings/windows_paths.h"

namespace {

constexpr DWORD SHARE_ALL = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
// What the new file takes over from the one it replaces.
constexpr DWORD KEPT_ATTRIBUTES = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
constexpr wchar_t TEMPORARY_SUFFIX[] = L".new";

std::wstring fullPathOf(const std::wstring& path) {
    if (path.empty()) return {};
    std::wstring full(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
        if (length == 0) return {};
        if (length < full.size()) {
            full.resize(length);
            return full;
        }
        full.resize(length + 1);
    }
}

// Paths name one file whatever the case of their letters.
std::wstring upperCase(const std::wstring& text) {
    if (text.empty()) return text;
    std::wstring upper(text.size(), L'\0');
    const int length = LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE, text.c_str(), static_cast<int>(text.size()),
                                     upper.data(), static_cast<int>(upper.size()), nullptr, nullptr, 0);
    return length == static_cast<int>(text.size()) ? upper : text;
}

bool isMissing(DWORD error) { return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND; }

class Handle {
public:
    explicit Handle(HANDLE h) : handle(h) {}
    ~Handle() {
        if (valid()) CloseHandle(handle);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    bool valid() const { return handle != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return handle; }

private:
    HANDLE handle;
};

// Opens what the path names, following links; a folder too.
HANDLE openFollowingLinks(const std::wstring& path, DWORD access) {
    return CreateFileW(path.c_str(), access, SHARE_ALL, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

// The full path of the open file or folder, in the "\\?\" form; empty when it can't be learnt.
std::wstring finalPathOf(HANDLE handle) {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetFinalPathNameByHandleW(handle, path.data(), static_cast<DWORD>(path.size()), 0);
        if (length == 0) return {};
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(length + 1);
    }
}

// Whether the path is known to be a link, or to lead elsewhere as one does: Windows marks a
// link as a reparse point, and Wine shows the links of the file system as the files they lead
// to, which only their final path tells apart. Wine can't tell the final path of a path
// beyond MAX_PATH characters.
bool isLink(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return false;
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) return true;
    const std::size_t separator = path.find_last_of(L'\\');
    const Handle item(openFollowingLinks(path, 0));
    const Handle folder(openFollowingLinks(path.substr(0, separator + 1), 0));
    if (!item.valid() || !folder.valid()) return false;
    const std::wstring itemPath = finalPathOf(item.get());
    std::wstring expected = finalPathOf(folder.get());
    if (itemPath.empty() || expected.empty()) return false;
    if (!expected.ends_with(L'\\')) expected += L'\\';
    return upperCase(itemPath) != upperCase(expected + path.substr(separator + 1));
}

bool readWhole(HANDLE file, std::string& bytes) {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file, &size) || size.QuadPart > static_cast<LONGLONG>(SETTINGS_FILE_LIMIT_BYTES)) return false;
    bytes.resize(static_cast<std::size_t>(size.QuadPart));
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD count = 0;
        if (!ReadFile(file, bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &count, nullptr)) return false;
        if (count == 0) break;
        done += count;
    }
    bytes.resize(done);
    return true;
}

StoredFile readFile(const std::wstring& path) {
    const Handle handle(CreateFileW(path.c_str(), GENERIC_READ, SHARE_ALL, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!handle.valid()) return {isMissing(GetLastError()) ? StoredFileState::Absent : StoredFileState::Unreadable, {}};
    StoredFile stored{StoredFileState::Present, {}};
    if (!readWhole(handle.get(), stored.bytes)) stored = {StoredFileState::Unreadable, {}};
    return stored;
}

bool writeWhole(HANDLE file, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD count = 0;
        if (!WriteFile(file, bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &count, nullptr) || count == 0)
            return false;
        done += count;
    }
    return true;
}

// A file left by a run that was killed here goes. A link of that name stays, and so does what
// it leads to: Wine deletes and renames the file a link leads to, not the link.
bool removeLeftover(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return isMissing(GetLastError());
    if (isLink(path)) return false;
    if (attributes & FILE_ATTRIBUTE_READONLY) SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    return DeleteFileW(path.c_str()) || isMissing(GetLastError());
}

enum class NewFile { NotMade, Made, Written };

// The new content, on the disk itself before the rename makes it the settings file: a power
// cut after the rename then finds these bytes and not a file of zeros.
NewFile writeFlushedFile(const std::wstring& path, const std::string& bytes) {
    if (!removeLeftover(path)) return NewFile::NotMade;
    const Handle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return NewFile::NotMade;
    return writeWhole(file.get(), bytes) && FlushFileBuffers(file.get()) ? NewFile::Written : NewFile::Made;
}

bool setKeptAttributes(const std::wstring& path, DWORD attributes) {
    return (attributes & KEPT_ATTRIBUTES) == 0 || SetFileAttributesW(path.c_str(), attributes & KEPT_ATTRIBUTES);
}

// Where a replace puts the new bytes: the settings file itself, or the file a link of that
// name leads to, with the attributes the new file takes over. None when the file must not be
// replaced.
struct ReplaceTarget {
    std::wstring path;
    DWORD attributes = 0;
    bool exists = true;
};

std::optional<ReplaceTarget> replaceTarget(const std::wstring& file) {
    const DWORD attributes = GetFileAttributesW(file.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        if (!isMissing(GetLastError())) return std::nullopt;
        return ReplaceTarget{file, 0, false};
    }
    const Handle handle(openFollowingLinks(file, 0));
    BY_HANDLE_FILE_INFORMATION info{};
    // A link that leads nowhere stays the user's link.
    if (!handle.valid() || !GetFileInformationByHandle(handle.get(), &info)) return std::nullopt;
    // Checked here rather than left to the rename, which Wine lets root carry out over a
    // read-only file: the user made it read-only to keep it as it is.
    if (info.dwFileAttributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) return std::nullopt;
    if (info.nNumberOfLinks > 1) return std::nullopt;
    // The file a link leads to, or the file itself by whichever spelling the system gives.
    const std::wstring real = finalPathOf(handle.get());
    return ReplaceTarget{real.empty() ? file : real, info.dwFileAttributes, true};
}

}  // namespace

Win32SettingsStorage::Win32SettingsStorage(const std::wstring& path, unsigned long waitMs) : lockWaitMs(waitMs) {
    const std::wstring full = fullPathOf(path);
    if (full.empty()) return;
    file = extendedLengthPath(full);
    temporary = file + TEMPORARY_SUFFIX;
    fileLock.emplace(settingsLockNames(upperCase(withoutExtendedPrefix(full))));
}

// The new file of a replace that a crash cut short between the delete of the old file and
// the rename (FAT and exFAT replace so), when it is whole and no link: the settings file then.
std::optional<std::string> Win32SettingsStorage::leftoverFile() const {
    if (isLink(temporary)) return std::nullopt;
    const StoredFile left = readFile(temporary);
    if (left.state != StoredFileState::Present || !isWholeSettingsFile(left.bytes)) return std::nullopt;
    return left.bytes;
}

bool Win32SettingsStorage::adoptLeftoverFile() const {
    return MoveFileExW(temporary.c_str(), file.c_str(), MOVEFILE_WRITE_THROUGH) != FALSE;
}

StoredFile Win32SettingsStorage::read() {
    if (file.empty()) return {StoredFileState::Unreadable, {}};
    const StoredFile stored = readFile(file);
    // Beside the settings file, a new file is what a kill left of a replace that never reached
    // its rename: the settings file holds the truth. It goes, under the lock, so that no copy
    // is between the steps of its replace, and so that it is never taken for the settings
    // after the user deletes settings.ini to start afresh.
    if (stored.state == StoredFileState::Present && locked) removeLeftover(temporary);
    if (stored.state != StoredFileState::Absent) return stored;
    const std::optional<std::string> left = leftoverFile();
    if (!left) return stored;
    // Only under the lock: another copy may be between the two steps of its own replace.
    if (locked) adoptLeftoverFile();
    return {StoredFileState::Present, *left};
}

// A rename over the old file is the one step: a kill before it leaves the old file, a kill
// after it the new one. ReplaceFileW is not used: Wine carries it out in two renames, the old
// file first moved away and deleted, so a kill between them would leave no file at all.
bool Win32SettingsStorage::replace(const std::string& bytes) {
    if (file.empty() || bytes.size() > SETTINGS_FILE_LIMIT_BYTES) return false;
    const std::optional<ReplaceTarget> target = replaceTarget(file);
    if (!target) return false;
    // The new file is the only copy of the settings while a rename cut short is not finished.
    if (!target->exists && leftoverFile()) return false;
    const std::wstring newFile = target->path + TEMPORARY_SUFFIX;
    const NewFile made = writeFlushedFile(newFile, bytes);
    if (made == NewFile::Written && setKeptAttributes(newFile, target->attributes) &&
        MoveFileExW(newFile.c_str(), target->path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    if (made != NewFile::NotMade) DeleteFileW(newFile.c_str());
    return false;
}

// Flushing the file puts its data and its directory entry, new name included, on the disk:
// NTFS writes its log up to the file's last change, FAT the entry with the file.
bool Win32SettingsStorage::flushToDisk() {
    if (file.empty()) return false;
    const Handle handle(openFollowingLinks(file, GENERIC_WRITE));
    return handle.valid() && FlushFileBuffers(handle.get());
}

bool Win32SettingsStorage::lock() {
    locked = fileLock && fileLock->acquire(lockWaitMs);
    return locked;
}

void Win32SettingsStorage::unlock() {
    if (fileLock) fileLock->release();
    locked = false;
}

std::wstring Win32SettingsStorage::decodeAnsi(std::string_view bytes) const {
    if (bytes.empty()) return {};
    const auto size = static_cast<int>(bytes.size());
    const int length = MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, nullptr, 0);
    std::wstring text(static_cast<std::size_t>(length > 0 ? length : 0), L'\0');
    if (length > 0) MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, text.data(), length);
    return text;
}
