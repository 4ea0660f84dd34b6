// The floors of Tavrin's own costs while typing, as windows that show Tavrin's picture and do
// the least a window showing it must (bench/measure_e2e.py runs them under Wine):
//   tavrin_floor_window.exe typing    the same size, colour key, opacity and styles as
//                                     Tavrin, hearing the keys through raw input and
//                                     repainting the same areas on the same ticks by the same
//                                     rules (the program's own key state and frame tick);
//                                     but each paint copies prepared pictures of Tavrin's own
//                                     frame, unlit and with every key lit, and of its speed
//                                     panel showing the figures Tavrin shows, composing
//                                     nothing (a panel picture is made the first time its
//                                     figures are shown).
//   tavrin_floor_window.exe latency   the same window, which copies the lit A key to the
//                                     screen straight from the WM_INPUT of its key-down.
// With "right" the window stands at the right edge of the screen; with "full" it shows the
// full keyboard, as Tavrin does with layout=1 (the arrangement it would choose here).
#include <windows.h>

#include <cwchar>
#include <map>
#include <optional>
#include <vector>

#include "bench_scene.h"
#include "bench_window_win32.h"
#include "input/frame_tick.h"
#include "input/key_report.h"
#include "input/physical_key_state_win32.h"
#include "keyboard/arrangement_choice.h"
#include "keyboard/keyboard_query_win32.h"
#include "render/back_buffer.h"
#include "render/frame.h"
#include "render/gdi_canvas_win32.h"
#include "render/speed_panel.h"

namespace {

constexpr wchar_t CLASS_NAME[] = L"TavrinFloorWindow";
constexpr wchar_t TYPING_TITLE[] = L"Tavrin Typing Floor";
constexpr wchar_t LATENCY_TITLE[] = L"Tavrin Latency Floor";
constexpr UINT_PTR TIMER_ID = 1;
constexpr UINT TIMER_PERIOD_MS = 16;
constexpr int VK_A = 'A';

class SilentPlayer : public SoundPlayer {
public:
    void play(const wchar_t*) override {}
};

struct Floor {
    bool latencyOnly = false;
    BenchScene scene;       // Tavrin's settings, metrics and layout at scale 1.0
    InputState input;
    Win32KeyboardQuery query;
    Win32PhysicalKeyState physical;
    SilentPlayer sound;
    BackBuffer unlit, lit, work;
    // Under Wine every copy to the screen rebuilds the window's shape from its pixels, at a
    // cost that grows with the figures' glyphs: the panel shows what Tavrin's shows.
    std::map<int, BackBuffer> panels;  // by the presses of the last second shown
};

Floor& floor() {
    static Floor f;
    return f;
}

Rect client() { return {0, 0, floor().scene.windowSize.width, floor().scene.windowSize.height}; }

// Tavrin's frame through its own drawing, once: every key unlit, or every key held, with the
// panel showing `pressesShown` presses in the last second.
void compose(BackBuffer& into, HDC reference, bool allLit, int pressesShown = 0) {
    Floor& f = floor();
    ensureBackBuffer(into, client().width(), client().height(), reference);
    KeyStateTable keys;
    for (const KeyCap& key : f.scene.layout) {
        keys.held[key.vk] = allLit;
        keys.everPressed[key.vk] = allLit;
        keys.lastPress[key.vk] = allLit ? f.scene.now : 0;
    }
    SpeedMeter meter;
    for (int i = 0; i < pressesShown; ++i) meter.pressTimes.push_back(f.scene.now - 500);
    GdiCanvas canvas(into.dc);
    const FrameContext context{f.scene.settings, f.scene.metrics, f.scene.layout, keys, meter, f.query, false, f.scene.now};
    drawFrame(canvas, client(), context);
}

void prepare(HWND hwnd) {
    HDC dc = GetDC(hwnd);
    compose(floor().unlit, dc, false);
    compose(floor().lit, dc, true);
    ensureBackBuffer(floor().work, client().width(), client().height(), dc);
    ReleaseDC(hwnd, dc);
}

void copy(HDC to, const BackBuffer& from, const Rect& r) {
    BitBlt(to, r.left, r.top, r.width(), r.height(), static_cast<HDC>(from.dc), r.left, r.top, SRCCOPY);
}

const BackBuffer& panelPicture(HDC reference, int pressesShown) {
    BackBuffer& picture = floor().panels[pressesShown];
    if (!picture.dc) compose(picture, reference, false, pressesShown);
    return picture;
}

Rect panelReach() {
    const Floor& f = floor();
    return speedPanelReach(speedPanelRect(client(), f.scene.metrics, f.scene.settings.scale), f.scene.metrics);
}

void invalidate(HWND hwnd, const Rect& r) {
    const RECT rc{r.left, r.top, r.right, r.bottom};
    InvalidateRect(hwnd, &rc, FALSE);
}

std::optional<KeyReport> keyboardReport(LPARAM lParam) {
    RAWINPUT raw{};
    UINT size = sizeof raw;
    if (GetRawInputData(reinterpret_cast<HRAWINPUT>(lParam), RID_INPUT, &raw, &size, sizeof(RAWINPUTHEADER)) == 0 ||
        raw.header.dwType != RIM_TYPEKEYBOARD)
        return std::nullopt;
    const RAWKEYBOARD& kb = raw.data.keyboard;
    return KeyReport{kb.VKey, kb.MakeCode, (kb.Flags & RI_KEY_BREAK) != 0, (kb.Flags & RI_KEY_E0) != 0};
}

const Rect& keyRect(int vk) { return findKey(floor().scene.layout, vk)->rect; }

void onInput(HWND hwnd, LPARAM lParam) {
    Floor& f = floor();
    const std::optional<KeyReport> report = keyboardReport(lParam);
    if (!report) return;
    if (f.latencyOnly) {
        if (report->vkey != VK_A) return;
        HDC dc = GetDC(hwnd);
        copy(dc, report->keyUp ? f.unlit : f.lit, keyRect(VK_A).inflated(KEY_INVALIDATE_MARGIN, KEY_INVALIDATE_MARGIN));
        ReleaseDC(hwnd, dc);
        return;
    }
    InputContext context{f.scene.layout, f.scene.settings, f.query, f.sound};
    if (auto area = onKeyReport(f.input, *report, GetTickCount64(), context)) invalidate(hwnd, *area);
}

void onTick(HWND hwnd) {
    Floor& f = floor();
    static FrameTickEffects effects;
    FrameTickContext context{f.scene.layout, f.query, f.physical};
    onFrameTick(f.input, context, GetTickCount64(), effects);
    if (effects.invalidateSpeedPanel) invalidate(hwnd, panelReach());
    if (effects.invalidateAll) InvalidateRect(hwnd, nullptr, FALSE);
    for (const Rect& area : effects.keyAreas) invalidate(hwnd, area);
}

bool meets(const Rect& a, const RECT& b) { return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom; }

// Each key the paint reaches from the picture of its state, the panel from the picture of its
// figures, the rest unlit; then one copy to the window, as Tavrin's paint ends.
void onPaint(HWND hwnd) {
    Floor& f = floor();
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    HDC work = static_cast<HDC>(f.work.dc);
    if (work) {
        const Tick now = GetTickCount64();
        copy(work, f.unlit, {ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right, ps.rcPaint.bottom});
        for (const KeyCap& key : f.scene.layout) {
            const Rect area = key.rect.inflated(KEY_INVALIDATE_MARGIN, KEY_INVALIDATE_MARGIN);
            if (f.input.keys.isLit(key.vk, now) && meets(area, ps.rcPaint)) copy(work, f.lit, area);
        }
        if (meets(panelReach(), ps.rcPaint)) copy(work, panelPicture(dc, f.input.meter.shownFigure(now)), panelReach());
        BitBlt(dc, 0, 0, f.work.width, f.work.height, work, 0, 0, SRCCOPY);
        f.input.meter.notePainted(true, now);
    }
    EndPaint(hwnd, &ps);
}

void registerKeyboard(HWND hwnd) {
    RAWINPUTDEVICE device{};
    device.usUsagePage = 0x01;
    device.usUsage = 0x06;
    device.dwFlags = RIDEV_INPUTSINK;
    device.hwndTarget = hwnd;
    RegisterRawInputDevices(&device, 1, sizeof device);
}

LRESULT CALLBACK floorProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_CREATE:
        registerKeyboard(hwnd);
        if (!floor().latencyOnly) SetTimer(hwnd, TIMER_ID, TIMER_PERIOD_MS, nullptr);
        return 0;
    case WM_INPUT:
        onInput(hwnd, lParam);
        return 0;
    case WM_TIMER:
        onTick(hwnd);
        return 0;
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        onPaint(hwnd);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
    Floor& f = floor();
    f.latencyOnly = std::wcsstr(commandLine, L"latency") != nullptr;
    const int layout = std::wcsstr(commandLine, L"full") ? LAYOUT_FULL : LAYOUT_COMPACT;
    setUpScene(f.scene, 1.0, 0, GetTickCount64(), arrangementFor(layout, f.query));
    startInput(f.input, f.query, GetTickCount64());

    bench::registerWindowClass(instance, floorProc, CLASS_NAME);

    // Tavrin's window: topmost, no taskbar button, layered, never activated, letting clicks
    // through as it does with click-through on.
    HWND hwnd = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_LAYERED | WS_EX_NOACTIVATE | WS_EX_TRANSPARENT,
                                CLASS_NAME, f.latencyOnly ? LATENCY_TITLE : TYPING_TITLE, WS_POPUP,
                                bench::leftEdge(commandLine, f.scene.windowSize.width), 0,
                                f.scene.windowSize.width, f.scene.windowSize.height, nullptr, nullptr, instance, nullptr);
    if (!hwnd) return 1;
    prepare(hwnd);
    SetLayeredWindowAttributes(hwnd, COLOR_KEY, f.scene.settings.alpha, LWA_COLORKEY | LWA_ALPHA);
    ShowWindow(hwnd, SW_SHOWNOACTIVATE);

    return bench::runMessageLoop();
}
