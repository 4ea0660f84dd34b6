#pragma once
// Where settings.ini lives, as the settings and the sound backup need it: the whole file read
// at once, the whole file replaced in one step, and a lock that every running copy of the
// program takes before it reads a file it means to write back. The Win32 implementation
// works on the file beside the executable; the in-memory one stands in for it in tests.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "settings/ini_document.h"

// No settings file comes near this size: a larger one is left alone rather than read, and
// nothing larger is written, so that whatever is written can be read back.
constexpr std::size_t SETTINGS_FILE_LIMIT_BYTES = std::size_t{16} << 20;

enum class StoredFileState { Present, Absent, Unreadable };

struct StoredFile {
    StoredFileState state = StoredFileState::Absent;
    std::string bytes;
};

class SettingsStorage {
public:
    virtual ~SettingsStorage() = default;
    // Unreadable for a file that exists but can't be read whole, or isn't a file at all.
    virtual StoredFile read() = 0;
    // Afterwards the file holds either its old bytes or these, never anything in between, also
    // after a power cut; false when it still holds the old ones.
    virtual bool replace(const std::string& bytes) = 0;
    // Puts the file as the last replace left it on the disk itself, its new name included, so
    // that a power cut from now on leaves these bytes; false when that can't be made sure of.
    // A replace alone may leave the old file after a power cut that follows it closely.
    virtual bool flushToDisk() = 0;
    // Waits a bounded time for the lock; false when another copy kept it that long.
    virtual bool lock() = 0;
    virtual void unlock() = 0;
    // Text of a file without a byte-order mark that is not UTF-8, in the system's ANSI code page.
    virtual std::wstring decodeAnsi(std::string_view bytes) const = 0;
};

// Holds the storage's lock for one whole operation.
class SettingsLock {
public:
    explicit SettingsLock(SettingsStorage& s) : storage(s), locked(s.lock()) {}
    ~SettingsLock() { release(); }
    SettingsLock(const SettingsLock&) = delete;
    SettingsLock& operator=(const SettingsLock&) = delete;

    bool held() const { return locked; }
    void release() {
        if (locked) storage.unlock();
        locked = false;
    }

private:
    SettingsStorage& storage;
    bool locked;
};

// The file as a document; empty when there is no file, none when it can't be read.
std::optional<IniDocument> readSettingsDocument(SettingsStorage& storage);

// Writes the document, as UTF-16LE after its byte-order mark, over the file it was read from,
// unless no line of it changed. False when a change could not be written, also when it would
// make the file larger than can be read back (a large ANSI file doubles as UTF-16).
bool writeSettingsDocument(SettingsStorage& storage, const IniDocument& asRead, const IniDocument& edited);

// Whether these bytes are a whole file as the program writes it: UTF-16LE after its mark, in
// whole units, every line ended by CR LF. What a crash leaves of a file being written seldom
// is: the new file left alone where a rename was cut short (on FAT a replace is a delete, then
// a rename) is taken for the settings file only when it is.
bool isWholeSettingsFile(std::string_view bytes);
