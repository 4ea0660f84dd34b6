#pragma once
// Path text as the Win32 file functions and named objects need it, kept apart from them so
// that the rules are tested on their own.
#include <string>
#include <string_view>

// The "\\?\" form of a full path, which the file functions accept beyond MAX_PATH
// characters: "C:\a" becomes "\\?\C:\a" and "\\server\share" "\\?\UNC\server\share". A path
// already in a device form, or one that is not full, is left as it is.
std::wstring extendedLengthPath(std::wstring_view fullPath);

// The same path without a "\\?\" prefix, so that both forms name one file.
std::wstring withoutExtendedPrefix(std::wstring_view path);

// The names of the locks that every copy of the program working on one settings file
// shares: "Tavrin.settings." and a 64-bit FNV-1a hash of the path's UTF-16 text in 16 hex
// digits, in the namespace of every session ("Global\") and of this session ("Local\", the
// one name that earlier versions took). `foldedPath` is the full path in one case, without
// the "\\?\" prefix.
struct SettingsLockNames {
    std::wstring global;
    std::wstring local;
};
SettingsLockNames settingsLockNames(std::wstring_view foldedPath);
