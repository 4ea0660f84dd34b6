// Menu commands, the hot key and the tray icon's clicks.
#include "app/app_state.h"
#include "app/click_through.h"
#include "app/context_menu.h"
#include "app/dialogs.h"
#include "app/frame_timer.h"
#include "app/handlers.h"
#include "app/services.h"
#include "app/settings_store.h"
#include "app/tray_icon.h"
#include "app/window_ops.h"
#include "control/commands.h"

namespace {

void exitProgram() {
    saveAppSettings();
    // Unconditional: sounds left muted by a run that was killed come back here too.
    restoreSystemSoundsNow();
    // The window is not destroyed on this path, so the icon would stay until the shell
    // noticed; take it down now.
    removeTrayIcon();
    PostQuitMessage(0);
}

// Carries out what the core left to the shell; false when nothing further should follow
// (a cancelled colour choice).
bool performAction(HWND window, const CommandOutcome& outcome) {
    switch (outcome.action) {
    case ShellAction::None: return true;
    case ShellAction::ToggleVisible: toggleVisible(); return true;
    case ShellAction::ApplyZOrder: applyZOrder(); return true;
    case ShellAction::ShowNoActivate: ShowWindow(window, SW_SHOWNOACTIVATE); return true;
    case ShellAction::ApplyOpacity:
    case ShellAction::ApplyFrameMode: applyLayeredAttributes(window); return true;
    case ShellAction::MuteSystemSounds: muteSystemSoundsNow(); return true;
    case ShellAction::RestoreSystemSounds: restoreSystemSoundsNow(); return true;
    case ShellAction::ChooseColor:
        if (outcome.colorField && chooseColor(window, *outcome.colorField)) {
            invalidateAll();
            saveAppSettings();
        }
        return false;
    case ShellAction::Exit: exitProgram(); return false;
    case ShellAction::ApplyScale:
    case ShellAction::ApplyLayout: applyScale(); return true;
    case ShellAction::OpenScaleDialog: openScaleDialog(window); return true;
    case ShellAction::ShowContact: showContactBox(window); return true;
    }
    return true;
}

}  // namespace

LRESULT onCommand(HWND window, WPARAM wParam) {
    const CommandOutcome outcome = runCommand(app().settings, LOWORD(wParam));
    if (!outcome.known) return 0;
    updateClickThrough(window);  // the click-through setting may have changed
    if (app().settings.soundOn) soundPlayer().prepare();  // the sounds may have been turned on
    if (!performAction(window, outcome)) return 0;
    if (outcome.redraw) invalidateAll();
    if (outcome.save) saveAppSettings();
    return 0;
}

namespace {

// The key reports that came before the hot key message at `hotKeyTime` and still wait in the
// queue, handled now. A hot key message is a posted message, which the queue hands out before
// any input: while the thread was busy (hiding a window can hold it for a moment), the key-up of
// the last press may still wait behind the hot key message of the next one. Reports that came
// later stay where they are: the key-up of a key still held when this repeat came among them.
void handleKeyReportsBefore(HWND window, DWORD hotKeyTime) {
    constexpr int MOST_REPORTS = 256;  // a bound, so that a flood of input can't hold the hot key
    MSG message{};
    for (int n = 0; n < MOST_REPORTS; ++n) {
        if (!PeekMessageW(&message, window, WM_INPUT, WM_INPUT, PM_NOREMOVE)) return;
        if (!HotKeyLatch::cameBefore(message.time, hotKeyTime)) return;
        if (!PeekMessageW(&message, window, WM_INPUT, WM_INPUT, PM_REMOVE)) return;
        DispatchMessageW(&message);
    }
}

}  // namespace

LRESULT onHotKey(HWND window, WPARAM hotKeyId) {
    if (hotKeyId != HOTKEY_TOGGLE) return 0;
    wakeFrameTick();  // the ticks look for the key-up of K
    if (app().hotKey.fired) handleKeyReportsBefore(window, static_cast<DWORD>(GetMessageTime()));
    if (app().hotKey.fire(currentTick())) toggleVisible();
    return 0;
}

LRESULT onTrayIcon(HWND window, LPARAM lParam) {
    switch (LOWORD(lParam)) {
    case WM_RBUTTONUP:
    case WM_CONTEXTMENU: showContextMenu(window); break;
    case WM_LBUTTONUP: toggleVisible(); break;
    default: break;
    }
    return 0;
}
