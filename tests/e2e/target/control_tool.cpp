// Reads, from inside Wine, what the control tests cannot see from the X side: the menu and
// dialog templates compiled into an executable, and the current user's sound scheme.
//
// Usage: tavrin_control_tool.exe resources EXE [LANGID] | chosen EXE | sounds
//   resources  prints the languages, items and controls of menu 102 and dialogs 201 and
//              50986 of EXE in the language LANGID (decimal, Japanese when not given), one
//              key=value line each; exit code 2 when EXE cannot be loaded.
//   chosen     prints the captions of menu 102 and the texts of the string table of EXE in
//              the language the platform chooses for this session, as the program loads them.
//   sounds     prints one line per event of HKCU\AppEvents\Schemes\Apps\.Default: the event
//              name, the .Current value's type and its raw bytes in hex; exit code 2 when the
//              scheme key cannot be opened.
// Text is printed as UTF-8, so the tests can compare the Japanese captions.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

constexpr int FAILED = 2;
constexpr int BAD_USAGE = 3;
LANGID templateLanguage = MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT);

std::string utf8(const wchar_t* text, int length = -1) {
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string out(bytes > 0 ? bytes : 0, '\0');
    if (bytes > 0) WideCharToMultiByte(CP_UTF8, 0, text, length, out.data(), bytes, nullptr, nullptr);
    if (length < 0 && !out.empty()) out.pop_back();  // the terminator
    return out;
}

// Walks a resource template word by word; every read stays inside the resource.
class TemplateReader {
public:
    TemplateReader(const BYTE* bytes, DWORD length) : data(bytes), size(length) {}

    bool ok() const { return good; }
    std::size_t offset() const { return at; }

    WORD word() { return static_cast<WORD>(take(2)); }
    DWORD dword() { return take(4); }
    BYTE byte() { return static_cast<BYTE>(take(1)); }

    std::wstring string() {
        std::wstring text;
        for (WORD c = word(); good && c != 0; c = word()) text.push_back(static_cast<wchar_t>(c));
        return text;
    }

    // A name or an ordinal: 0xFFFF then a number, or a string.
    std::wstring nameOrOrdinal() {
        if (at + 2 <= size && data[at] == 0xFF && data[at + 1] == 0xFF) {
            word();
            return L"#" + std::to_wstring(word());
        }
        return string();
    }

    void alignDword() { at = (at + 3) & ~static_cast<std::size_t>(3); }
    void skip(std::size_t bytes) { at += bytes; good = good && at <= size; }

private:
    DWORD take(std::size_t bytes) {
        if (!good || at + bytes > size) {
            good = false;
            return 0;
        }
        DWORD value = 0;
        for (std::size_t i = 0; i < bytes; ++i) value |= static_cast<DWORD>(data[at + i]) << (8 * i);
        at += bytes;
        return value;
    }

    const BYTE* data;
    DWORD size;
    std::size_t at = 0;
    bool good = true;
};

BOOL CALLBACK collectLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR list) {
    reinterpret_cast<std::vector<WORD>*>(list)->push_back(language);
    return TRUE;
}

void printLanguages(HMODULE module, LPCWSTR type, const char* what, int id) {
    std::vector<WORD> languages;
    EnumResourceLanguagesW(module, type, MAKEINTRESOURCEW(id), collectLanguage,
                           reinterpret_cast<LONG_PTR>(&languages));
    std::printf("%s.%d.languages=", what, id);
    for (std::size_t i = 0; i < languages.size(); ++i) std::printf("%s%u", i ? " " : "", languages[i]);
    std::printf("\n");
}

TemplateReader openTemplate(HMODULE module, LPCWSTR type, int id) {
    HRSRC found = FindResourceExW(module, type, MAKEINTRESOURCEW(id), templateLanguage);
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const void* data = loaded ? LockResource(loaded) : nullptr;
    return TemplateReader(static_cast<const BYTE*>(data), data ? SizeofResource(module, found) : 0);
}

// Items of a classic menu template, depth first: "menu.item=depth|id or popup|flags|caption".
void printMenuItems(TemplateReader& r, int depth) {
    for (;;) {
        const WORD flags = r.word();
        const bool popup = flags & MF_POPUP;
        const WORD id = popup ? 0 : r.word();
        const std::wstring caption = r.string();
        if (!r.ok()) return;
        std::printf("menu.item=%d|%s|0x%04X|%s\n", depth, popup ? "popup" : std::to_string(id).c_str(),
                    static_cast<unsigned>(flags & ~MF_END), utf8(caption.c_str()).c_str());
        if (popup) printMenuItems(r, depth + 1);
        if (flags & MF_END) return;
    }
}

void printMenu(HMODULE module, int id) {
    printLanguages(module, RT_MENU, "menu", id);
    TemplateReader r = openTemplate(module, RT_MENU, id);
    const WORD version = r.word();
    const WORD headerSize = r.word();
    std::printf("menu.%d.version=%u\n", id, version);
    r.skip(headerSize);
    printMenuItems(r, 0);
    std::printf("menu.%d.complete=%d\n", id, r.ok() ? 1 : 0);
}

void printControl(TemplateReader& r, int dialogId) {
    r.alignDword();
    r.dword();  // help id
    const DWORD exStyle = r.dword();
    const DWORD style = r.dword();
    const short x = static_cast<short>(r.word()), y = static_cast<short>(r.word());
    const short cx = static_cast<short>(r.word()), cy = static_cast<short>(r.word());
    const auto id = static_cast<LONG>(r.dword());
    const std::wstring windowClass = r.nameOrOrdinal();
    const std::wstring text = r.nameOrOrdinal();
    r.skip(r.word());  // creation data
    std::printf("dialog.%d.control=%ld|%s|%s|%d %d %d %d|0x%08lX|0x%08lX\n", dialogId, id,
                utf8(windowClass.c_str()).c_str(), utf8(text.c_str()).c_str(), x, y, cx, cy,
                static_cast<unsigned long>(style), static_cast<unsigned long>(exStyle));
}

// An extended dialog template (DLGTEMPLATEEX), the form DIALOGEX compiles to.
void printDialog(HMODULE module, int id) {
    printLanguages(module, RT_DIALOG, "dialog", id);
    TemplateReader r = openTemplate(module, RT_DIALOG, id);
    const WORD version = r.word();
    const WORD signature = r.word();
    r.dword();  // help id
    const DWORD exStyle = r.dword();
    const DWORD style = r.dword();
    const WORD controls = r.word();
    const short x = static_cast<short>(r.word()), y = static_cast<short>(r.word());
    const short cx = static_cast<short>(r.word()), cy = static_cast<short>(r.word());
    const std::wstring menu = r.nameOrOrdinal();
    const std::wstring windowClass = r.nameOrOrdinal();
    const std::wstring caption = r.string();
    std::printf("dialog.%d.template=%u %u\n", id, version, signature);
    std::printf("dialog.%d.style=0x%08lX\n", id, static_cast<unsigned long>(style));
    std::printf("dialog.%d.exstyle=0x%08lX\n", id, static_cast<unsigned long>(exStyle));
    std::printf("dialog.%d.rect=%d %d %d %d\n", id, x, y, cx, cy);
    std::printf("dialog.%d.menu=%s\n", id, utf8(menu.c_str()).c_str());
    std::printf("dialog.%d.class=%s\n", id, utf8(windowClass.c_str()).c_str());
    std::printf("dialog.%d.caption=%s\n", id, utf8(caption.c_str()).c_str());
    if (style & (DS_SETFONT | DS_SHELLFONT)) {
        const WORD points = r.word();
        const WORD weight = r.word();
        const BYTE italic = r.byte();
        const BYTE charset = r.byte();
        const std::wstring face = r.string();
        std::printf("dialog.%d.font=%u %u %u %u %s\n", id, points, weight, italic, charset,
                    utf8(face.c_str()).c_str());
    }
    for (WORD i = 0; i < controls && r.ok(); ++i) printControl(r, id);
    std::printf("dialog.%d.complete=%d\n", id, r.ok() ? 1 : 0);
}

int printResources(const wchar_t* exe) {
    HMODULE module = LoadLibraryExW(exe, nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (!module) return FAILED;
    printMenu(module, 102);
    printDialog(module, 201);
    printDialog(module, 50986);
    FreeLibrary(module);
    return 0;
}

// "chosen.item=depth|id or popup|caption", depth first, as LoadMenuW gives the menu.
void printLoadedItems(HMENU menu, int depth) {
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        wchar_t caption[256] = {};
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
        info.dwTypeData = caption;
        info.cch = 256;
        if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info)) continue;
        const std::string id = info.hSubMenu ? "popup" : std::to_string(info.wID);
        std::printf("chosen.item=%d|%s|%s\n", depth, id.c_str(), utf8(caption).c_str());
        if (info.hSubMenu) printLoadedItems(info.hSubMenu, depth + 1);
    }
}

// As the program loads them: no language named, so the platform chooses.
int printChosen(const wchar_t* exe) {
    HMODULE module = LoadLibraryExW(exe, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module) return FAILED;
    if (HMENU menu = LoadMenuW(module, MAKEINTRESOURCEW(102))) {
        printLoadedItems(menu, 0);
        DestroyMenu(menu);
    }
    for (UINT id : {300u, 301u}) {
        wchar_t text[1024] = {};
        LoadStringW(module, id, text, 1024);
        std::wstring escaped;
        for (const wchar_t* c = text; *c; ++c) escaped += *c == L'\n' ? std::wstring(L"\\n") : std::wstring(1, *c);
        std::printf("chosen.string=%u|%s\n", id, utf8(escaped.c_str()).c_str());
    }
    FreeLibrary(module);
    return 0;
}

void printSound(HKEY scheme, const wchar_t* event) {
    HKEY current = nullptr;
    const std::wstring path = std::wstring(event) + L"\\.Current";
    std::printf("sound=%s\t", utf8(event).c_str());
    if (RegOpenKeyExW(scheme, path.c_str(), 0, KEY_READ, &current) != ERROR_SUCCESS) {
        std::printf("none\t\n");
        return;
    }
    std::vector<BYTE> data(65536);
    DWORD type = REG_NONE;
    DWORD bytes = static_cast<DWORD>(data.size());
    const LSTATUS status = RegQueryValueExW(current, nullptr, nullptr, &type, data.data(), &bytes);
    RegCloseKey(current);
    if (status != ERROR_SUCCESS) {
        std::printf("unset\t\n");
        return;
    }
    std::printf("%lu\t", static_cast<unsigned long>(type));
    for (DWORD i = 0; i < bytes; ++i) std::printf("%02x", data[i]);
    std::printf("\n");
}

int printSounds() {
    HKEY scheme = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, L"AppEvents\\Schemes\\Apps\\.Default", 0, KEY_READ, &scheme) != ERROR_SUCCESS)
        return FAILED;
    for (DWORD index = 0;; ++index) {
        wchar_t name[256] = {};
        DWORD length = 256;
        if (RegEnumKeyExW(scheme, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        printSound(scheme, name);
    }
    RegCloseKey(scheme);
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if ((argc == 3 || argc == 4) && std::wcscmp(argv[1], L"resources") == 0) {
        if (argc == 4) templateLanguage = static_cast<LANGID>(std::wcstoul(argv[3], nullptr, 10));
        return printResources(argv[2]);
    }
    if (argc == 3 && std::wcscmp(argv[1], L"chosen") == 0) return printChosen(argv[2]);
    if (argc == 2 && std::wcscmp(argv[1], L"sounds") == 0) return printSounds();
    return BAD_USAGE;
}
