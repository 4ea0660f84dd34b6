#pragma once
// What must hold for any settings.ini, whatever bytes it holds: the loaded record is within
// its ranges, saving and loading again gives the same record, saving over the file keeps
// every line of the user's but the keys it writes, and muting then restoring the system
// sounds gives every muted sound back without a sound ever blank while its backup is not in
// the file. Shared by the libFuzzer target and the host test that replays what it found;
// each check returns the first breach it sees, or an empty text.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "settings/app_settings.h"
#include "settings/ini_document.h"
#include "settings/ini_encoding.h"
#include "settings/memory_settings_storage.h"
#include "settings/settings_file.h"
#include "settings/system_sounds.h"
#include "tests/unit/memory_sound_registry.h"

namespace fuzz {

// A bool holds the byte 0 or 1; any other byte is undefined behaviour waiting to happen.
inline bool isCleanBool(const bool& b) {
    unsigned char raw = 0;
    std::memcpy(&raw, &b, 1);
    return raw <= 1;
}

inline std::string recordBreach(const AppSettings& s) {
    static_assert(sizeof(s.alpha) == 1, "alpha is one byte");
    if (!(s.scale >= MIN_SCALE && s.scale <= MAX_SCALE)) return "scale " + std::to_string(s.scale) + " out of range";
    for (const bool* b : {&s.topmost, &s.clickthru, &s.shadow, &s.aa, &s.soundOn, &s.autoMuteSys, &s.sysSoundsMuted})
        if (!isCleanBool(*b)) return "a bool holds a byte other than 0 or 1";
    const KeyColors& c = s.colors;
    for (Color color : {c.textN, c.textA, c.fillN, c.fillA, c.lineN, c.lineA, c.shadowColor})
        if ((color & 0xFF000000u) != 0) return "a colour has bits beyond 24";
    return {};
}

// The first field in which two records differ; the scale may differ by the rounding to
// thousandths that the file applies.
inline std::string differingField(const AppSettings& a, const AppSettings& b, double scaleTolerance) {
    if (a.topmost != b.topmost) return "topmost";
    if (a.clickthru != b.clickthru) return "clickthru";
    if (a.alpha != b.alpha) return "alpha";
    if (a.style != b.style) return "style";
    if (!(a.colors == b.colors)) return "colors";
    if (a.soundSel != b.soundSel) return "soundSel";
    if (!(std::fabs(a.scale - b.scale) <= scaleTolerance)) return "scale";
    if (a.shadow != b.shadow) return "shadow";
    if (a.aa != b.aa) return "aa";
    if (a.rendermode != b.rendermode) return "rendermode";
    if (a.soundOn != b.soundOn) return "soundOn";
    if (a.autoMuteSys != b.autoMuteSys) return "autoMuteSys";
    if (a.layout != b.layout) return "layout";
    return {};
}

// Half a thousandth, and a little for the division by 1000.
constexpr double SCALE_ROUNDING = 0.0005 + 1e-9;

inline std::vector<std::wstring> sectionNames(const IniDocument& doc) {
    std::vector<std::wstring> names;
    for (const IniLine& line : doc.lines)
        if (line.kind == IniLineKind::Section) names.push_back(line.name);
    return names;
}

inline bool isSettingsSection(const std::wstring& name) { return sameIniName(name, L"main") || sameIniName(name, L"color"); }

// Whether every line that holds no key survives the edit, in its order.
inline bool keepsEveryLineButKeys(const IniDocument& before, const IniDocument& after) {
    std::size_t j = 0;
    for (const IniLine& line : before.lines) {
        if (line.kind == IniLineKind::Key) continue;
        while (j < after.lines.size() && after.lines[j].text != line.text) ++j;
        if (j == after.lines.size()) return false;
        ++j;
    }
    return true;
}

inline std::string checkSettingsRoundTrip(const IniDocument& file) {
    AppSettings loaded;
    readSettings(loaded, file);
    if (std::string breach = recordBreach(loaded); !breach.empty()) return "loaded: " + breach;
    const WindowPosition position = readSavedPosition(file);

    // A load only lays what the file holds over the record, so a second one changes nothing.
    AppSettings again = loaded;
    readSettings(again, file);
    if (std::string field = differingField(again, loaded, 0); !field.empty()) return "a second load changed " + field;

    IniDocument fresh;
    writeSettings(loaded, fresh, position);
    AppSettings reloaded;
    readSettings(reloaded, fresh);
    if (std::string field = differingField(reloaded, loaded, SCALE_ROUNDING); !field.empty())
        return "saved and loaded again, " + field + " changed";
    if (!(readSavedPosition(fresh) == position)) return "saved and loaded again, the position changed";
    IniDocument resaved;
    writeSettings(reloaded, resaved, position);
    if (!(resaved == fresh)) return "saving the reloaded record wrote another file";

    // Saving over the user's own file reads back the same and leaves the rest of it be.
    IniDocument edited = file;
    writeSettings(loaded, edited, position);
    AppSettings fromEdited;
    readSettings(fromEdited, edited);
    if (std::string field = differingField(fromEdited, reloaded, 0); !field.empty())
        return "saved over the file and loaded again, " + field + " changed";
    if (!keepsEveryLineButKeys(file, edited)) return "saving dropped a line of the user's";
    if (edited.lines.size() > file.lines.size() + 23) return "saving added more than two sections of 21 keys";
    for (const std::wstring& name : sectionNames(file)) {
        if (isSettingsSection(name)) continue;
        if (iniSectionEntries(edited, name) != iniSectionEntries(file, name)) return "saving changed another section";
    }
    return {};
}

// ----------------------------------------------------------------------- system sounds

// Event names as a registry may hold them: any character but the backslash, which
// separates keys. Among them are names that a profile line could not carry faithfully.
inline const std::wstring EVENT_NAMES[] = {
    L".Default", L"SystemAsterisk", L"systemasterisk", L"MailBeep", L"Notification.Default",
    L"a=b",      L"[Section",       L";Comment",       L" Padded ", L"x]y",
    L"M\u00FCll", L"Ding",
};
inline const std::wstring SOUND_PATHS[] = {
    L"",          L"C:\\Windows\\media\\ding.wav", L"D:\\s\\a=b==c.wav", L" lead.wav",
    L"trail.wav ", L"semi;colon.wav",              L"\"quoted.wav\"",    L"line\nbreak.wav",
};

// The scheme the last bytes of the input describe: two bytes an event (its name, then its
// path and its failures), and the first of them whether the scheme key and the settings
// file can be written at all.
struct SoundWorld {
    MemorySoundRegistry registry;
    bool fileReadOnly = false;
};

constexpr std::size_t SOUND_WORLD_BYTES = 17;

inline SoundWorld soundWorldFrom(std::string_view bytes) {
    SoundWorld world;
    if (bytes.empty()) return world;
    const auto first = static_cast<unsigned char>(bytes[0]);
    world.registry.schemeOpens = (first & 0x0F) != 0;
    world.fileReadOnly = (first & 0xF0) == 0xF0;
    for (std::size_t i = 1; i + 1 < bytes.size(); i += 2) {
        const auto nameByte = static_cast<unsigned char>(bytes[i]);
        const auto soundByte = static_cast<unsigned char>(bytes[i + 1]);
        const std::wstring& name = EVENT_NAMES[nameByte % std::size(EVENT_NAMES)];
        if (world.registry.events.count(name) != 0) continue;  // names are unique whatever their case
        world.registry.add(name, SOUND_PATHS[soundByte & 7], (soundByte & 0x08) ? TYPE_EXPAND_SZ : TYPE_SZ);
        MemoryEventSound& event = world.registry.events[name];
        // Failures come rarely: each needs two bits set.
        event.hasCurrentKey = (soundByte & 0x30) != 0x30;
        event.tooLargeToRead = (soundByte & 0x60) == 0x60;
        event.refusesWrites = (soundByte & 0xC0) == 0xC0;
    }
    return world;
}

inline bool isReadablePlain(const MemoryEventSound& e) { return e.hasCurrentKey && !e.tooLargeToRead && e.type == TYPE_SZ; }

// An event that had a sound, is blank now, and has no entry of that sound in the file.
inline std::string lostSound(const MemorySoundRegistry& before, const MemorySoundRegistry& now,
                             const MemorySettingsStorage& storage) {
    const std::vector<BackupEntry> backup = backupEntriesFor(parseIni(storage.text()), before.whose);
    for (const auto& [name, was] : before.events) {
        if (was.path.empty() || !now.events.at(name).path.empty()) continue;
        bool kept = false;
        for (const BackupEntry& entry : backup) kept = kept || (sameIniName(entry.event, name) && entry.path == was.path);
        if (!kept) return "a sound is blank without its backup";
    }
    return {};
}

inline std::string checkSoundMuting(const IniDocument& file, std::string_view worldBytes) {
    SoundWorld world = soundWorldFrom(worldBytes);
    MemorySoundRegistry& registry = world.registry;
    const MemorySoundRegistry before = registry;
    MemorySettingsStorage storage(formatIni(file));
    storage.refusesReplace = world.fileReadOnly;
    const std::string fileBytes = storage.file.bytes;
    AppSettings s;

    muteSystemSounds(s, registry, storage);
    if (s.sysSoundsMuted != registry.schemeOpens) return "sysSoundsMuted does not tell whether the mute ran";
    if (std::string lost = lostSound(before, registry, storage); !lost.empty()) return "mute: " + lost;
    std::vector<std::wstring> muted;
    for (const auto& [name, was] : before.events) {
        const MemoryEventSound& now = registry.events.at(name);
        if (!isReadablePlain(was) && !(now == was)) return "mute changed a sound it may not touch";
        if (now.path != was.path && !now.path.empty()) return "mute wrote something other than a blank";
        if (now.path.empty() && !was.path.empty()) muted.push_back(name);
    }

    // Muting again finds nothing left to back up and leaves the first backup as it was.
    const MemorySoundRegistry afterFirst = registry;
    const std::string backedUp = storage.file.bytes;
    muteSystemSounds(s, registry, storage);
    for (const auto& [name, sound] : afterFirst.events)
        if (registry.events.at(name).path != sound.path) return "a second mute changed a sound";
    if (storage.file.bytes != backedUp) return "a second mute changed the file";

    restoreSystemSounds(s, registry, storage);
    if (registry.schemeOpens && s.sysSoundsMuted) return "sysSoundsMuted stays set after a restore";
    for (const std::wstring& name : muted)
        if (registry.events.at(name).path != before.events.at(name).path) return "a muted sound did not come back";
    if (std::string lost = lostSound(before, registry, storage); !lost.empty()) return "restore: " + lost;
    if (!registry.schemeOpens && storage.file.bytes != fileBytes)
        return "the file changed although the scheme could not be opened";
    if (registry.schemeOpens && !world.fileReadOnly) {
        // The owner's lines that stay are those whose sound could not be written back, and
        // those no mute writes; untagged lines may be another account's and stay unless given back.
        for (const BackupEntry& left : backupEntriesFor(parseIni(storage.text()), registry.whose)) {
            const auto event = registry.events.find(left.event);
            const bool oddLine = left.event.empty() || left.event.find_first_of(std::wstring(L"\\\0", 2)) != std::wstring::npos ||
                                 left.path.find(L'\0') != std::wstring::npos;
            if (left.kind == BackupLineKind::Own && !oddLine && (event == registry.events.end() || !event->second.refusesWrites))
                return "the backup kept an entry that was restored or has no event";
        }
    }
    return {};
}

// The whole input is the file; its last bytes also describe the sound scheme.
inline std::string checkSettingsFile(std::string_view bytes) {
    const IniDocument file = parseIni(decodeIniBytes(bytes));
    if (std::string breach = checkSettingsRoundTrip(file); !breach.empty()) return breach;
    const std::size_t worldSize = bytes.size() < SOUND_WORLD_BYTES ? bytes.size() : SOUND_WORLD_BYTES;
    return checkSoundMuting(file, bytes.substr(bytes.size() - worldSize));
}

}  // namespace fuzz
