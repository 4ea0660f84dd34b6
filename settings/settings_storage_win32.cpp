#include "settings/settings_storage_win32.h"

#include <windows.h>

#include "settings/windows_paths.h"

namespace {

// No settings file comes near this; a larger file is left alone rather than read into memory.
constexpr LONGLONG LARGEST_FILE_BYTES = 16ll << 20;
constexpr DWORD SHARE_ALL = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
// What the new file takes over from the one it replaces.
constexpr DWORD KEPT_ATTRIBUTES = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

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

bool readWhole(HANDLE file, std::string& bytes) {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file, &size) || size.QuadPart > LARGEST_FILE_BYTES) return false;
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

// The new content, on the disk itself before the rename makes it the settings file.
bool writeFlushedFile(const std::wstring& path, const std::string& bytes, DWORD attributes) {
    // A file left by a run that was killed here is simply overwritten.
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    const bool written = writeWhole(file, bytes) && FlushFileBuffers(file);
    const bool closed = CloseHandle(file);
    if (!written || !closed) return false;
    return (attributes & KEPT_ATTRIBUTES) == 0 || SetFileAttributesW(path.c_str(), attributes & KEPT_ATTRIBUTES);
}

}  // namespace

Win32SettingsStorage::Win32SettingsStorage(const std::wstring& path, unsigned long waitMs) : lockWaitMs(waitMs) {
    const std::wstring full = fullPathOf(path);
    if (full.empty()) return;
    file = extendedLengthPath(full);
    temporary = file + L".new";
    lockName = settingsLockName(upperCase(withoutExtendedPrefix(full)));
}

Win32SettingsStorage::~Win32SettingsStorage() {
    if (mutex) CloseHandle(mutex);
}

StoredFile Win32SettingsStorage::read() {
    if (file.empty()) return {StoredFileState::Unreadable, {}};
    HANDLE handle = CreateFileW(file.c_str(), GENERIC_READ, SHARE_ALL, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        const bool absent = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
        return {absent ? StoredFileState::Absent : StoredFileState::Unreadable, {}};
    }
    StoredFile stored{StoredFileState::Present, {}};
    if (!readWhole(handle, stored.bytes)) stored = {StoredFileState::Unreadable, {}};
    CloseHandle(handle);
    return stored;
}

// A rename over the old file is the one step: a kill before it leaves the old file, a kill
// after it the new one. ReplaceFileW is not used: Wine carries it out in two renames, the old
// file first moved away and deleted, so a kill between them would leave no file at all.
bool Win32SettingsStorage::replace(const std::string& bytes) {
    if (file.empty()) return false;
    const DWORD attributes = GetFileAttributesW(file.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        if (GetLastError() != ERROR_FILE_NOT_FOUND) return false;
    } else if (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) {
        // Checked here rather than left to the rename, which Wine lets root carry out over a
        // read-only file: the user made it read-only to keep it as it is.
        return false;
    }
    const DWORD kept = attributes == INVALID_FILE_ATTRIBUTES ? 0 : attributes;
    if (writeFlushedFile(temporary, bytes, kept) &&
        MoveFileExW(temporary.c_str(), file.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    DeleteFileW(temporary.c_str());
    return false;
}

bool Win32SettingsStorage::lock() {
    if (lockName.empty()) return false;
    if (!mutex) mutex = CreateMutexW(nullptr, FALSE, lockName.c_str());
    if (!mutex) return false;
    // An abandoned lock belonged to a copy that ended inside an operation; the file it left
    // is whole all the same, since it only ever replaced it whole.
    const DWORD waited = WaitForSingleObject(mutex, lockWaitMs);
    return waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
}

void Win32SettingsStorage::unlock() {
    if (mutex) ReleaseMutex(mutex);
}

std::wstring Win32SettingsStorage::decodeAnsi(std::string_view bytes) const {
    if (bytes.empty()) return {};
    const auto size = static_cast<int>(bytes.size());
    const int length = MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, nullptr, 0);
    std::wstring text(static_cast<std::size_t>(length > 0 ? length : 0), L'\0');
    if (length > 0) MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, text.data(), length);
    return text;
}
