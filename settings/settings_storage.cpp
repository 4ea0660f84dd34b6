#include "settings/settings_storage.h"

#include "settings/ini_encoding.h"

std::optional<IniDocument> readSettingsDocument(SettingsStorage& storage) {
    const StoredFile file = storage.read();
    switch (file.state) {
    case StoredFileState::Absent: return IniDocument{};
    case StoredFileState::Unreadable: return std::nullopt;
    case StoredFileState::Present: break;
    }
    return parseIni(decodeIniBytes(file.bytes, [&](std::string_view bytes) { return storage.decodeAnsi(bytes); }));
}

bool writeSettingsDocument(SettingsStorage& storage, const IniDocument& asRead, const IniDocument& edited) {
    if (edited == asRead) return true;
    const std::string bytes = encodeIniText(formatIni(edited));
    if (bytes.size() > SETTINGS_FILE_LIMIT_BYTES) return false;
    return storage.replace(bytes);
}

bool isWholeSettingsFile(std::string_view bytes) {
    if (bytes.size() < 2 || bytes.size() % 2 != 0 || bytes.substr(0, 2) != "\xFF\xFE") return false;
    return bytes.size() == 2 || bytes.ends_with(std::string_view("\r\0\n\0", 4));
}
