#include "settings/profile_win32.h"

#include <windows.h>

#include "settings/ini_text.h"

namespace {

constexpr DWORD FIRST_BUFFER_CHARS = 256;
// No profile value comes near this; it only bounds the growth of the buffer.
constexpr DWORD LARGEST_BUFFER_CHARS = 1u << 26;

// GetPrivateProfileStringW with its buffer grown until the value fits: a value that filled
// the buffer comes back cut, with the length size - 1.
std::wstring readProfileString(const std::wstring& section, const std::wstring& key, const wchar_t* fallback,
                               const std::wstring& path) {
    for (DWORD size = FIRST_BUFFER_CHARS;; size *= 2) {
        std::wstring buffer(size, L'\0');
        const DWORD length =
            GetPrivateProfileStringW(section.c_str(), key.c_str(), fallback, buffer.data(), size, path.c_str());
        if (length + 1 < size || size >= LARGEST_BUFFER_CHARS) {
            buffer.resize(length);
            return buffer;
        }
    }
}

// GetPrivateProfileSectionW with its buffer grown until the whole section fits: a section
// that filled the buffer comes back cut, with the length size - 2.
std::wstring readProfileSection(const std::wstring& section, const std::wstring& path) {
    for (DWORD size = 8192;; size *= 2) {
        std::wstring buffer(size, L'\0');
        const DWORD length = GetPrivateProfileSectionW(section.c_str(), buffer.data(), size, path.c_str());
        if (length + 2 < size || size >= LARGEST_BUFFER_CHARS) {
            buffer.resize(length);
            return buffer;
        }
    }
}

enum class FileEncoding { Unicode, Ansi, Unknown };

// A file that the profile functions create themselves is written in the ANSI code page and
// loses every character outside it; one that begins with the UTF-16LE byte-order mark keeps
// Unicode text, on Windows and under Wine alike. So an absent or empty file gets the mark
// before the first write.
FileEncoding prepareUnicodeFile(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return FileEncoding::Unknown;
    static constexpr BYTE UTF16LE_MARK[2] = {0xFF, 0xFE};
    BYTE head[2] = {};
    DWORD count = 0;
    FileEncoding encoding = FileEncoding::Unknown;
    if (!ReadFile(file, head, sizeof head, &count, nullptr)) {
        encoding = FileEncoding::Unknown;
    } else if (count == 0) {
        DWORD written = 0;
        const bool marked = WriteFile(file, UTF16LE_MARK, sizeof UTF16LE_MARK, &written, nullptr) && written == sizeof UTF16LE_MARK;
        encoding = marked ? FileEncoding::Unicode : FileEncoding::Unknown;
    } else {
        encoding = (count == 2 && head[0] == UTF16LE_MARK[0] && head[1] == UTF16LE_MARK[1]) ? FileEncoding::Unicode
                                                                                          : FileEncoding::Ansi;
    }
    CloseHandle(file);
    return encoding;
}

// Whether the ANSI code page holds every character of the text, without a best-fit stand-in.
bool fitsAnsiCodePage(const std::wstring& text) {
    bool ascii = true;
    for (wchar_t c : text) ascii = ascii && c < 0x80;
    if (ascii || GetACP() == CP_UTF8) return true;
    BOOL usedDefault = FALSE;
    const int bytes = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.c_str(), static_cast<int>(text.size()),
                                          nullptr, 0, nullptr, &usedDefault);
    return bytes > 0 && !usedDefault;
}

}  // namespace

std::optional<std::wstring> Win32Profile::readString(const std::wstring& section, const std::wstring& key) {
    std::wstring value = readProfileString(section, key, L"", path);
    if (!value.empty()) return value;
    // The reader gives the default for a missing key: a second default tells it from an empty value.
    if (readProfileString(section, key, L"-", path) == L"-") return std::nullopt;
    return value;
}

bool Win32Profile::writeString(const std::wstring& section, const std::wstring& key, const std::wstring& value) {
    // Refused rather than stored as '?': a damaged sound path must never be restored.
    if (prepareUnicodeFile(path) == FileEncoding::Ansi && !(fitsAnsiCodePage(key) && fitsAnsiCodePage(value)))
        return false;
    return WritePrivateProfileStringW(section.c_str(), key.c_str(), value.c_str(), path.c_str()) != FALSE;
}

bool Win32Profile::deleteSection(const std::wstring& section) {
    return WritePrivateProfileStringW(section.c_str(), nullptr, nullptr, path.c_str()) != FALSE;
}

std::vector<ProfileEntry> Win32Profile::readSection(const std::wstring& section) {
    const std::wstring text = readProfileSection(section, path);
    std::vector<ProfileEntry> entries;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find(L'\0', start);
        if (end == std::wstring::npos) end = text.size();
        const std::wstring_view line(text.data() + start, end - start);
        const std::size_t equals = line.find(L'=');
        if (equals != std::wstring_view::npos && !line.starts_with(L';'))
            entries.emplace_back(trimIniBlanks(line.substr(0, equals)), trimIniBlanks(line.substr(equals + 1)));
        start = end + 1;
    }
    return entries;
}
