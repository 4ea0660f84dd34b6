#pragma once
// The one place that owns the process-wide records of the running program.
#include <windows.h>
#include <shellapi.h>

#include <array>

#include "control/hot_key_latch.h"
#include "control/modifier_keys.h"
#include "control/save_pacing.h"
#include "input/key_report.h"
#include "keyboard/keyboard_layout.h"
#include "keyboard/layout_metrics.h"
#include "render/gdi_resources_win32.h"
#include "render/window_frames.h"
#include "settings/app_settings.h"

struct DragState {
    bool moving = false;
    POINT moveCursorAtPress{};
    POINT windowAtPress{};
    bool scaling = false;
    POINT scaleCursorAtPress{};
    double scaleAtPress = 1.0;
};

// Whether the window carries WS_EX_TRANSPARENT, and where the pointer was last seen.
struct ClickThroughState {
    bool passing = false;
    bool pointerInGrip = false;
};

struct AppState {
    HINSTANCE instance = nullptr;
    HWND window = nullptr;
    AppSettings settings;
    int dpi = BASE_DPI;  // of the screen the window is drawn for
    LayoutMetrics metrics;
    KeyboardLayout layout;
    const KeyArrangement* arrangement = &COMPACT_KEYBOARD;  // the one `layout` was built from
    std::uintptr_t arrangementChosenFor = 0;                 // the keyboard layout it was chosen for
    InputState input;
    WindowFrames frames;
    bool framesPerPixel = false;  // the way the window is set up to show its frames
    bool framesSetUp = false;     // and whether it has been set up at all
    GdiResources drawing;  // fonts, the glow's and the masks' bitmaps, kept from frame to frame
    DragState drag;
    ClickThroughState clickThrough;
    HotKeyLatch hotKey;
    SavePacing savePacing;  // how often gestures write settings.ini
    ModifierKeys modifiers;  // Alt and Ctrl, from the raw keyboard reports
    NOTIFYICONDATAW tray{};  // cbSize is non-zero while the icon is present
    std::array<COLORREF, 16> customColors{};  // the colour chooser's, for this run only
};

AppState& app();

constexpr UINT_PTR FRAME_TIMER = 1;
constexpr UINT_PTR SAVE_TIMER = 2;  // writes what a gesture changed a moment ago
constexpr UINT FRAME_PERIOD_MS = 16;
constexpr int HOTKEY_TOGGLE = 0xA111;
constexpr UINT HOTKEY_KEY_K = 0x4B;
constexpr UINT WM_TRAYICON = WM_APP + 1;
constexpr wchar_t WINDOW_CLASS_NAME[] = L"TavrinWndShiftAware";
constexpr wchar_t WINDOW_TITLE[] = L"Tavrin (CPM/CPS 0.1/0.3/0.5/1.0s)";
