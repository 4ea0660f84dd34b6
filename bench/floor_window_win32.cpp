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
//   tavrin_floor_window.exe per-pixel the typing floor of a window shown with per-pixel alpha:
//                                     the same repaints from prepared premultiplied pictures
//                                     of Tavrin's own per-pixel frame, each paint copying them
//                                     into the picture the window shows and handing it over with
//                                     UpdateLayeredWindowIndirect, the painted rectangle marked.
//                                     Each key's lit picture is the frame with that key alone
//                                     lit: under Wine such a window costs what the outline of
//                                     each change costs (every run of pixels that turns from
//                                     see-through to drawn comes back as an expose, which Wine
//                                     answers by rebuilding the window's shape), so the floor
//                                     shows exactly what Tavrin shows.
// With "right" the window stands at the right edge of the screen; with "full" it shows the
// full keyboard, as Tavrin does with layout=1 (the arrangement it would choose here).
#include <windows.h>

#include <algorithm>
#include <cstring>
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
#include "render/alpha_canvas_win32.h"
#include "render/back_buffer.h"
#include "render/frame.h"
#include "render/gdi_canvas_win32.h"
#include "render/gdi_resources_win32.h"
#include "render/pixel_buffer.h"
#include "render/speed_panel.h"

namespace {

constexpr wchar_t CLASS_NAME[] = L"TavrinFloorWindow";
constexpr wchar_t TYPING_TITLE[] = L"Tavrin Typing Floor";
constexpr wchar_t LATENCY_TITLE[] = L"Tavrin Latency Floor";
constexpr wchar_t PER_PIXEL_TITLE[] = L"Tavrin Per-Pixel Typing Floor";
constexpr UINT_PTR TIMER_ID = 1;
constexpr UINT TIMER_PERIOD_MS = 16;
constexpr int VK_A = 'A';

class SilentPlayer : public SoundPlayer {
public:
    void play(const wchar_t*) override {}
};

struct Floor {
    bool latencyOnly = false;
    bool perPixel = false;
    BenchScene scene;       // Tavrin's settings, metrics and layout at scale 1.0
    InputState input;
    Win32KeyboardQuery query;
    Win32PhysicalKeyState physical;
    SilentPlayer sound;
    BackBuffer unlit, lit, work;
    // Under Wine every copy to the screen rebuilds the window's shape from its pixels, at a
    // cost that grows with the figures' glyphs: the panel shows what Tavrin's shows.
    std::map<int, BackBuffer> panels;  // by the presses of the last second shown
    // The same pictures with per-pixel alpha, and the picture the window shows.
    PixelBuffer unlitPixels, shownPixels;
    std::map<int, PixelBuffer> litKeyPixels;  // by key: its area with that key alone lit
    std::map<int, PixelBuffer> panelPixels;
    bool shownWhole = false;
    GdiResources kept;
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

Rect clipped(const Rect& r) {
    return {std::max(r.left, 0), std::max(r.top, 0), std::min(r.right, client().right), std::min(r.bottom, client().bottom)};
}

// The same frame with per-pixel alpha; with `litVk`, that key alone is lit.
void composePixels(PixelBuffer& into, int litVk = 0, int pressesShown = 0) {
    Floor& f = floor();
    ensurePixelBuffer(into, client().width(), client().height());
    KeyStateTable keys;
    if (litVk) {
        keys.held[litVk] = true;
        keys.everPressed[litVk] = true;
        keys.lastPress[litVk] = f.scene.now;
    }
    SpeedMeter meter;
    for (int i = 0; i < pressesShown; ++i) meter.pressTimes.push_back(f.scene.now - 500);
    AlphaCanvas canvas(into, f.kept);
    const FrameContext context{f.scene.settings, f.scene.metrics, f.scene.layout, keys, meter, f.query, false, f.scene.now};
    drawFrame(canvas, client(), context);
    GdiFlush();
}

void prepare(HWND hwnd) {
    Floor& f = floor();
    if (f.perPixel) {
        composePixels(f.unlitPixels);
        ensurePixelBuffer(f.shownPixels, client().width(), client().height());
        PixelBuffer frame;
        for (const KeyCap& key : f.scene.layout) {
            composePixels(frame, key.vk);
            const Rect area = clipped(key.rect.inflated(KEY_INVALIDATE_MARGIN, KEY_INVALIDATE_MARGIN));
            PixelBuffer& picture = f.litKeyPixels[key.vk];
            ensurePixelBuffer(picture, area.width(), area.height());
            for (int y = area.top; y < area.bottom; ++y)
                std::memcpy(picture.pixels + static_cast<std::size_t>(y - area.top) * static_cast<std::size_t>(picture.width),
                            frame.pixels + static_cast<std::size_t>(y) * static_cast<std::size_t>(frame.width) + area.left,
                            static_cast<std::size_t>(area.width()) * sizeof(std::uint32_t));
        }
        releasePixelBuffer(frame);
        return;
    }
    HDC dc = GetDC(hwnd);
    compose(floor().unlit, dc, false);
    compose(floor().lit, dc, true);
    ensureBackBuffer(floor().work, client().width(), client().height(), dc);
    ReleaseDC(hwnd, dc);
}

bool meets(const Rect& a, const RECT& b) { return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom; }

void copy(HDC to, const BackBuffer& from, const Rect& r) {
    BitBlt(to, r.left, r.top, r.width(), r.height(), static_cast<HDC>(from.dc), r.left, r.top, SRCCOPY);
}

void copyPixels(PixelBuffer& to, const PixelBuffer& from, const Rect& r) {
    for (int y = r.top; y < r.bottom; ++y) {
        const std::size_t at = static_cast<std::size_t>(y) * static_cast<std::size_t>(to.width) + r.left;
        std::memcpy(to.pixels + at, from.pixels + at, static_cast<std::size_t>(r.width()) * sizeof(std::uint32_t));
    }
}

const PixelBuffer& panelPixels(int pressesShown) {
    PixelBuffer& picture = floor().panelPixels[pressesShown];
    if (!picture.dc) composePixels(picture, 0, pressesShown);
    return picture;
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


Rect clippedToClient(const RECT& r) {
    return {std::max<int>(r.left, 0), std::max<int>(r.top, 0), std::min<int>(r.right, client().right),
            std::min<int>(r.bottom, client().bottom)};
}

// The per-pixel paint: the painted rectangle from the pictures into the shown picture, which
// is handed to the window with that rectangle marked, as Tavrin's per-pixel paint ends.
void paintPixels(HWND hwnd, const RECT& painted) {
    Floor& f = floor();
    if (!f.shownPixels.pixels) return;
    const Tick now = GetTickCount64();
    const Rect area = clippedToClient(f.shownWhole ? painted : RECT{0, 0, client().right, client().bottom});
    if (area.empty()) return;
    const RECT region{area.left, area.top, area.right, area.bottom};
    copyPixels(f.shownPixels, f.unlitPixels, area);
    for (const KeyCap& key : f.scene.layout) {
        const Rect keyArea = clipped(key.rect.inflated(KEY_INVALIDATE_MARGIN, KEY_INVALIDATE_MARGIN));
        if (!f.input.keys.isLit(key.vk, now) || !meets(keyArea, region)) continue;
        const PixelBuffer& picture = f.litKeyPixels[key.vk];
        for (int y = keyArea.top; y < keyArea.bottom; ++y)
            std::memcpy(f.shownPixels.pixels + static_cast<std::size_t>(y) * static_cast<std::size_t>(f.shownPixels.width) + keyArea.left,
                        picture.pixels + static_cast<std::size_t>(y - keyArea.top) * static_cast<std::size_t>(picture.width),
                        static_cast<std::size_t>(keyArea.width()) * sizeof(std::uint32_t));
    }
    const Rect panel = panelReach();
    if (meets(panel, region))
        copyPixels(f.shownPixels, panelPixels(f.input.meter.shownFigure(now)),
                   clippedToClient({panel.left, panel.top, panel.right, panel.bottom}));
    SIZE size{f.shownPixels.width, f.shownPixels.height};
    POINT source{0, 0};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, f.scene.settings.alpha, AC_SRC_ALPHA};
    UPDATELAYEREDWINDOWINFO info{};
    info.cbSize = sizeof info;
    info.psize = &size;
    info.hdcSrc = static_cast<HDC>(f.shownPixels.dc);
    info.pptSrc = &source;
    info.pblend = &blend;
    info.dwFlags = ULW_ALPHA;
    const RECT dirty{area.left, area.top, area.right, area.bottom};
    // The first picture is handed over whole, as Tavrin's is.
    info.prcDirty = f.shownWhole ? &dirty : nullptr;
    f.shownWhole = UpdateLayeredWindowIndirect(hwnd, &info) != FALSE;
    f.input.meter.notePainted(true, now);
}

// Each key the paint reaches from the picture of its state, the panel from the picture of its
// figures, the rest unlit; then one copy to the window, as Tavrin's paint ends.
void onPaint(HWND hwnd) {
    Floor& f = floor();
    // Read before BeginPaint, as Tavrin reads its update region: Wine clips the paint's own
    // rectangle of a window shown with per-pixel alpha to nothing.
    RECT update{};
    GetUpdateRect(hwnd, &update, FALSE);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    if (f.perPixel) {
        paintPixels(hwnd, update);
        EndPaint(hwnd, &ps);
        return;
    }
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
    f.perPixel = std::wcsstr(commandLine, L"per-pixel") != nullptr;
    const int layout = std::wcsstr(commandLine, L"full") ? LAYOUT_FULL : LAYOUT_COMPACT;
    setUpScene(f.scene, 1.0, 0, GetTickCount64(), arrangementFor(layout, f.query));
    startInput(f.input, f.query, GetTickCount64());

    bench::registerWindowClass(instance, floorProc, CLASS_NAME);

    // Tavrin's window: topmost, no taskbar button, layered, never activated, letting clicks
    // through as it does with click-through on.
    HWND hwnd = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_LAYERED | WS_EX_NOACTIVATE | WS_EX_TRANSPARENT,
                                CLASS_NAME, f.latencyOnly ? LATENCY_TITLE : (f.perPixel ? PER_PIXEL_TITLE : TYPING_TITLE),
                                WS_POPUP,
                                bench::leftEdge(commandLine, f.scene.windowSize.width), 0,
                                f.scene.windowSize.width, f.scene.windowSize.height, nullptr, nullptr, instance, nullptr);
    if (!hwnd) return 1;
    prepare(hwnd);
    // A per-pixel window shows nothing until its first picture is handed over, in its first paint.
    if (!f.perPixel) SetLayeredWindowAttributes(hwnd, COLOR_KEY, f.scene.settings.alpha, LWA_COLORKEY | LWA_ALPHA);
    ShowWindow(hwnd, SW_SHOWNOACTIVATE);

    return bench::runMessageLoop();
}
