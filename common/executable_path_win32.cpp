#include "common/executable_path_win32.h"

#include <windows.h>

namespace {

// The longest path the system knows, in characters.
constexpr std::size_t LONGEST_PATH = 32768;

}  // namespace

std::wstring executablePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        // Cut short: once more with room for a longer path, up to the longest there is.
        if (path.size() >= LONGEST_PATH) return {};
        path.resize(path.size() * 2);
    }
}
