#include "app/context_menu.h"

#include "app/app_state.h"
#include "app/resource_ids.h"
#include "control/menu_marks.h"

void showContextMenu(HWND window) {
    POINT cursor{};
    GetCursorPos(&cursor);
    HMENU menu = LoadMenuW(app().instance, MAKEINTRESOURCEW(IDR_TRAYMENU));
    if (!menu) return;
    HMENU popup = GetSubMenu(menu, 0);
    if (popup) {
        // Checking by command finds an item in whichever submenu holds it; a missing
        // submenu simply leaves its marks unset.
        for (int id : checkedMenuItems(app().settings)) CheckMenuItem(popup, static_cast<UINT>(id), MF_BYCOMMAND | MF_CHECKED);
        // The menu closes properly when the user clicks elsewhere only if its owner is in
        // the foreground: the one moment this program takes the foreground.
        SetForegroundWindow(window);
        TrackPopupMenu(popup, TPM_RIGHTBUTTON, cursor.x, cursor.y, 0, window, nullptr);
        // Lets the menu's dismissal complete before the next click, as the shell expects.
        PostMessageW(window, WM_NULL, 0, 0);
    }
    DestroyMenu(menu);
}
