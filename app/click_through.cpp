#include "app/click_through.h"

#include <cstddef>

#include "app/app_state.h"
#include "app/focus_watch.h"
#include "app/services.h"
#include "control/hit_test.h"
#include "render/resize_grip.h"

namespace {

constexpr wchar_t POINTER_WATCH_CLASS[] = L"TavrinPointerWatch";

bool asyncDown(int vk) { return (GetAsyncKeyState(vk) & 0x8000) != 0; }

void setPassingClicks(HWND window, bool pass) {
    const LONG_PTR style = GetWindowLongPtrW(window, GWL_EXSTYLE);
    const LONG_PTR wanted = pass ? (style | WS_EX_TRANSPARENT) : (style & ~static_cast<LONG_PTR>(WS_EX_TRANSPARENT));
    if (wanted != style) SetWindowLongPtrW(window, GWL_EXSTYLE, wanted);
    app().clickThrough.passing = pass;
}

void applyClickThrough(HWND window, bool inGrip) {
    const DragState& drag = app().drag;
    const bool pass = passesClicks(inGrip, app().settings.clickthru, currentModifiers(), drag.moving || drag.scaling);
    if (pass != app().clickThrough.passing) setPassingClicks(window, pass);
}

// A button pressed anywhere may move the keyboard focus under it.
bool buttonWentDown(HRAWINPUT input) {
    constexpr USHORT BUTTONS_DOWN = RI_MOUSE_LEFT_BUTTON_DOWN | RI_MOUSE_RIGHT_BUTTON_DOWN | RI_MOUSE_MIDDLE_BUTTON_DOWN;
    RAWINPUT raw{};
    UINT size = sizeof raw;
    const UINT copied = GetRawInputData(input, RID_INPUT, &raw, &size, sizeof(RAWINPUTHEADER));
    return copied != static_cast<UINT>(-1) && copied >= offsetof(RAWINPUT, data) + sizeof(RAWMOUSE) &&
           raw.header.dwType == RIM_TYPEMOUSE && (raw.data.mouse.usButtonFlags & BUTTONS_DOWN) != 0;
}

// Raw mouse reports come to a window of their own, so that telling them from the keyboard's
// costs nothing: each one only says that the pointer moved. Only a move into or out of the
// grip is worth more than a look at the pointer, and it is acted on at once, before the
// press that may follow it. A press also tells the focus tracker.
LRESULT CALLBACK pointerWatchProc(HWND watcher, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INPUT && app().window) {
        if (buttonWentDown(reinterpret_cast<HRAWINPUT>(lParam))) noteButtonDown();
        ClickThroughState& state = app().clickThrough;
        const bool inGrip = cursorInGrip(app().window);
        if (inGrip != state.pointerInGrip) {
            state.pointerInGrip = inGrip;
            applyClickThrough(app().window, inGrip);
        }
    }
    return DefWindowProcW(watcher, message, wParam, lParam);
}

}  // namespace

Modifiers currentModifiers() {
    const ModifierKeys& keys = app().modifiers;
    return {keys.alt(), keys.ctrl(), asyncDown(VK_SHIFT)};
}

POINT cursorOnScreen() {
    POINT p{};
    GetCursorPos(&p);
    return p;
}

bool cursorInGrip(HWND window) {
    POINT p = cursorOnScreen();
    ScreenToClient(window, &p);
    RECT client{};
    GetClientRect(window, &client);
    const Rect grip = gripRect({client.left, client.top, client.right, client.bottom}, app().metrics.pixelScale);
    return grip.contains({p.x, p.y});
}

bool noteModifierReport(int vk, bool extended, bool keyUp) { return app().modifiers.note(vk, extended, keyUp); }

void updateClickThrough(HWND window) {
    const bool inGrip = cursorInGrip(window);
    app().clickThrough.pointerInGrip = inGrip;
    applyClickThrough(window, inGrip);
}

// While the window holds the pointer, the key-up of a modifier may have gone where no
// report of it came: once a second, what the key state says is up is let go, and clicks
// pass again.
void recheckHeldPointer(HWND window) {
    if (!app().settings.clickthru || app().clickThrough.passing) return;
    ModifierKeys& keys = app().modifiers;
    keys.leftAlt = keys.leftAlt && asyncDown(VK_LMENU);
    keys.rightAlt = keys.rightAlt && asyncDown(VK_RMENU);
    keys.leftCtrl = keys.leftCtrl && asyncDown(VK_LCONTROL);
    keys.rightCtrl = keys.rightCtrl && asyncDown(VK_RCONTROL);
    updateClickThrough(window);
}

void watchPointer(HINSTANCE instance) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = pointerWatchProc;
    wc.hInstance = instance;
    wc.lpszClassName = POINTER_WATCH_CLASS;
    RegisterClassExW(&wc);
    HWND watcher = CreateWindowExW(0, POINTER_WATCH_CLASS, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr);
    if (!watcher) return;
    receiveRawInput(watcher, RAW_INPUT_MOUSE);
}
