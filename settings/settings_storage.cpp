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
    return storage.replace(encodeIniText(formatIni(edited)));
}
