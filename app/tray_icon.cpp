#include "app/tray_icon.h"

#include <cwchar>

#include "app/app_state.h"
#include "app/resource_ids.h"

namespace {

// The record as far as guidItem, without the balloon icon that follows it: 952 bytes in a
// 32-bit build, 968 in a 64-bit one.
constexpr DWORD TRAY_RECORD_SIZE = NOTIFYICONDATAW_V3_SIZE;
constexpr UINT TRAY_ICON_ID = 1;

}  // namespace

// 16 x 16 at 96 DPI; at a higher DPI the size the shell shows it at, so that it is not
// stretched from 16 pixels.
HICON loadAppIconOfSmallIconSize(HINSTANCE instance) {
    return static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_APP), IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                         GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
}

void addTrayIcon(HWND window) {
    NOTIFYICONDATAW& tray = app().tray;
    tray = NOTIFYICONDATAW{};
    tray.cbSize = TRAY_RECORD_SIZE;
    tray.hWnd = window;
    tray.uID = TRAY_ICON_ID;
    tray.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    tray.uCallbackMessage = WM_TRAYICON;
    tray.hIcon = loadAppIconOfSmallIconSize(app().instance);
    wcsncpy(tray.szTip, WINDOW_TITLE, sizeof tray.szTip / sizeof tray.szTip[0] - 1);
    Shell_NotifyIconW(NIM_ADD, &tray);
}

UINT taskbarCreatedMessage() {
    static const UINT message = RegisterWindowMessageW(L"TaskbarCreated");
    return message;
}

LRESULT onTaskbarCreated(HWND) {
    NOTIFYICONDATAW& tray = app().tray;
    if (tray.cbSize == 0) return 0;  // removed on purpose, or never added
    // A shell that kept the icon after all takes it as a change.
    if (!Shell_NotifyIconW(NIM_ADD, &tray)) Shell_NotifyIconW(NIM_MODIFY, &tray);
    return 0;
}

void removeTrayIcon() {
    NOTIFYICONDATAW& tray = app().tray;
    if (tray.cbSize != 0) Shell_NotifyIconW(NIM_DELETE, &tray);
    if (tray.hIcon) DestroyIcon(tray.hIcon);
    tray.hIcon = nullptr;
    tray.cbSize = 0;
}
