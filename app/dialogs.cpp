#include "app/dialogs.h"

#include <commdlg.h>

#include <string>

#include "app/app_state.h"
#include "app/resource_ids.h"
#include "app/window_ops.h"
#include "control/scale_rules.h"

namespace {

constexpr int SCALE_TEXT_BUFFER = 64;

void initScaleDialog(HWND dialog) {
    SetDlgItemTextW(dialog, IDC_SCALE_EDIT, formatScaleText(app().settings.scale).c_str());
}

void confirmScaleDialog(HWND dialog) {
    wchar_t text[SCALE_TEXT_BUFFER] = {};
    GetDlgItemTextW(dialog, IDC_SCALE_EDIT, text, SCALE_TEXT_BUFFER);
    const std::optional<double> scale = parseScaleText(text);
    if (!scale) {
        // The only refusal the user ever sees: the text stays as typed.
        MessageBeep(MB_ICONEXCLAMATION);
        return;
    }
    if (isScaleChange(app().settings.scale, *scale)) changeScale(*scale);
    EndDialog(dialog, 1);
}

INT_PTR CALLBACK scaleDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) {
        initScaleDialog(dialog);
        return TRUE;
    }
    if (message != WM_COMMAND) return FALSE;
    switch (LOWORD(wParam)) {
    case IDOK: confirmScaleDialog(dialog); return TRUE;
    case IDCANCEL: EndDialog(dialog, 2); return TRUE;
    default: return FALSE;
    }
}

}  // namespace

void openScaleDialog(HWND owner) {
    DialogBoxParamW(app().instance, MAKEINTRESOURCEW(IDD_SCALE), owner, scaleDialogProc, 0);
}

// The colour chooser's library is loaded for the dialog alone: linked at start-up it brings
// in the printing libraries it depends on, megabytes of resident memory for the whole run
// (about 3 MB under Wine) that only this dialog needs. A library that cannot be loaded
// leaves the colour as it is, like a cancelled dialog.
bool chooseColor(HWND owner, Color& color) {
    HMODULE library = LoadLibraryW(L"comdlg32.dll");
    if (!library) return false;
    using ChooseColorFunction = BOOL(WINAPI*)(LPCHOOSECOLORW);
    const auto chooseColorW =
        reinterpret_cast<ChooseColorFunction>(reinterpret_cast<void*>(GetProcAddress(library, "ChooseColorW")));
    CHOOSECOLORW cc{};
    cc.lStructSize = sizeof cc;
    cc.hwndOwner = owner;
    cc.rgbResult = color;
    cc.lpCustColors = app().customColors.data();
    cc.Flags = CC_RGBINIT | CC_FULLOPEN;
    const bool chosen = chooseColorW && chooseColorW(&cc);
    FreeLibrary(library);
    if (chosen) color = static_cast<Color>(cc.rgbResult);
    return chosen;
}

namespace {

// A text of the string table in the language Windows chose for the resources.
std::wstring resourceText(UINT id) {
    const wchar_t* text = nullptr;
    // With no room given, the text is pointed to where the resource holds it.
    const int length = LoadStringW(app().instance, id, reinterpret_cast<LPWSTR>(&text), 0);
    return length > 0 && text ? std::wstring(text, static_cast<std::size_t>(length)) : std::wstring();
}

}  // namespace

void showContactBox(HWND owner) {
    MessageBoxW(owner, resourceText(IDS_CONTACT_TEXT).c_str(), resourceText(IDS_CONTACT_CAPTION).c_str(),
                MB_OK | MB_ICONINFORMATION | MB_TOPMOST);
}
