// Composing one frame into the back buffer through GDI, as a paint does, timed under Wine.
//
// For each scale (0.5, 1.0, 3.0) and number of lit keys (0, 10, 46) the whole frame is
// drawn into a back buffer of the window's size, created compatible with the screen like
// the program's own, with the platform's keyboard layout answering the label queries and the
// fonts and glow bitmap kept from frame to frame as the program keeps them. Each
// composition is timed on its own with QueryPerformanceCounter; the program prints one line
// per case with the median and the 90th percentile of the wall-clock time and the mean CPU
// time of the thread, in microseconds:
//   frame scale=1.0 lit=10 area=whole query=layout median_us=412.3 p90_us=455.0 cpu_us=405.1 runs=400
// "area=key" and "area=two-keys" lines compose what one frame tick repaints while typing:
// the frame for the update area of one or two lit keys, as the paint skips keys out of its
// reach. "query=layout" asks the platform's keyboard layout for every label, as the
// program does; "query=table" answers from a table, which leaves the drawing alone.
// "canvas=per-pixel" lines compose the same frames with per-pixel alpha, into the
// premultiplied bitmap of a window shown that way (with the table's labels).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <initializer_list>
#include <vector>

#include "bench_scene.h"
#include "keyboard/keyboard_query_win32.h"
#include "render/alpha_canvas_win32.h"
#include "render/back_buffer.h"
#include "render/frame.h"
#include "render/gdi_canvas_win32.h"
#include "render/gdi_resources_win32.h"
#include "render/pixel_buffer.h"

namespace {

constexpr double SCALES[] = {0.5, 1.0, 3.0};
constexpr int LIT_COUNTS[] = {0, 10, 46};
// Enough runs for a stable median, and at least this long per case.
constexpr int MIN_RUNS = 200;
constexpr double MIN_CASE_SECONDS = 1.0;
constexpr int WARM_UP_RUNS = 10;

double secondsPerCount() {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1.0 / static_cast<double>(frequency.QuadPart);
}

double nowSeconds() {
    static const double unit = secondsPerCount();
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) * unit;
}

double percentile(std::vector<double> values, double p) {
    std::sort(values.begin(), values.end());
    const auto index = static_cast<std::size_t>(p * static_cast<double>(values.size() - 1) + 0.5);
    return values[index];
}

// CPU time of this thread, which other programs on a busy machine do not inflate. The
// system counts it in coarse ticks (10 ms under Wine on Linux), so it is only read around
// a whole case of a second or more.
double threadCpuSeconds() {
    FILETIME created, exited, kernel, user;
    GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
    auto seconds = [](const FILETIME& t) {
        return static_cast<double>((static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime) * 1e-7;
    };
    return seconds(kernel) + seconds(user);
}

struct Timing {
    double medianUs;
    double p90Us;
    double cpuUs;  // thread CPU time per composition, averaged over the case
    std::size_t runs;
};

template <typename Compose>
Timing timeRuns(Compose compose) {
    for (int i = 0; i < WARM_UP_RUNS; ++i) compose();
    std::vector<double> samples;
    const double started = nowSeconds();
    const double cpuBefore = threadCpuSeconds();
    while (samples.size() < MIN_RUNS || nowSeconds() - started < MIN_CASE_SECONDS) {
        const double before = nowSeconds();
        compose();
        samples.push_back((nowSeconds() - before) * 1e6);
    }
    const double cpuUs = (threadCpuSeconds() - cpuBefore) * 1e6 / static_cast<double>(samples.size());
    return {percentile(samples, 0.5), percentile(samples, 0.9), cpuUs, samples.size()};
}

void printTiming(double scale, int lit, const char* area, const char* queryName, const Timing& t,
                 const char* canvasName = "color-key") {
    std::printf("frame scale=%.1f lit=%d area=%s query=%s canvas=%s median_us=%.1f p90_us=%.1f cpu_us=%.1f runs=%zu\n",
                scale, lit, area, queryName, canvasName, t.medianUs, t.p90Us, t.cpuUs, t.runs);
    std::fflush(stdout);
}

Rect keyArea(const BenchScene& scene, int vk) {
    return findKey(scene.layout, vk)->rect.inflated(KEY_INVALIDATE_MARGIN, KEY_INVALIDATE_MARGIN);
}

Rect unionOf(const Rect& a, const Rect& b) {
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right), std::max(a.bottom, b.bottom)};
}

// Lights exactly the keys `vks`, pressed 100 ms ago and held.
void lightOnly(BenchScene& scene, std::initializer_list<int> vks) {
    scene.input.keys = KeyStateTable{};
    for (int vk : vks) {
        scene.input.keys.held[vk] = true;
        scene.input.keys.everPressed[vk] = true;
        scene.input.keys.lastPress[vk] = scene.now - 100;
    }
}

void benchmarkCase(double scale, int lit, HDC screen, KeyboardQuery& query, const char* queryName) {
    BenchScene scene;
    setUpScene(scene, scale, lit);
    BackBuffer buffer;
    ensureBackBuffer(buffer, scene.windowSize.width, scene.windowSize.height, screen);
    // Fonts and the glow's bitmap kept from frame to frame, as the program keeps them.
    GdiResources kept;
    GdiCanvas canvas(buffer.dc, &kept);
    // Caps Lock as the frame tick last found it, as the program paints: a paint never asks.
    const FrameContext context{scene.settings, scene.metrics, scene.layout, scene.input.keys,
                               scene.input.meter, query, false, scene.now, false};
    const Rect client{0, 0, scene.windowSize.width, scene.windowSize.height};

    printTiming(scale, lit, "whole", queryName, timeRuns([&] { drawFrame(canvas, client, context); }));
    if (lit == 0) {
        // What a tick repaints while typing: one key lit, or two (E, then H a moment later),
        // where the paint's update area is the rectangle around both.
        lightOnly(scene, {'A'});
        const Rect a = keyArea(scene, 'A');
        printTiming(scale, 1, "key", queryName, timeRuns([&] { drawFrame(canvas, client, context, a); }));
        lightOnly(scene, {'E', 'H'});
        const Rect eh = unionOf(keyArea(scene, 'E'), keyArea(scene, 'H'));
        printTiming(scale, 2, "two-keys", queryName, timeRuns([&] { drawFrame(canvas, client, context, eh); }));
    }
    releaseBackBuffer(buffer);
}

void benchmarkPerPixelCase(double scale, int lit, KeyboardQuery& query) {
    BenchScene scene;
    setUpScene(scene, scale, lit);
    PixelBuffer frame;
    if (!ensurePixelBuffer(frame, scene.windowSize.width, scene.windowSize.height)) return;
    GdiResources kept;
    AlphaCanvas canvas(frame, kept);
    const FrameContext context{scene.settings, scene.metrics, scene.layout, scene.input.keys,
                               scene.input.meter, query, false, scene.now, false};
    const Rect client{0, 0, scene.windowSize.width, scene.windowSize.height};
    printTiming(scale, lit, "whole", "table", timeRuns([&] { drawFrame(canvas, client, context); }), "per-pixel");
    if (lit == 0) {
        lightOnly(scene, {'A'});
        const Rect a = keyArea(scene, 'A');
        printTiming(scale, 1, "key", "table", timeRuns([&] { drawFrame(canvas, client, context, a); }), "per-pixel");
        lightOnly(scene, {'E', 'H'});
        const Rect eh = unionOf(keyArea(scene, 'E'), keyArea(scene, 'H'));
        printTiming(scale, 2, "two-keys", "table", timeRuns([&] { drawFrame(canvas, client, context, eh); }),
                    "per-pixel");
    }
    releasePixelBuffer(frame);
}

}  // namespace

int wmain() {
    HDC screen = GetDC(nullptr);
    if (!screen) {
        std::fprintf(stderr, "no screen DC\n");
        return 1;
    }
    Win32KeyboardQuery layoutQuery;
    TableKeyboardQuery tableQuery;
    for (double scale : SCALES) {
        for (int lit : LIT_COUNTS) {
            benchmarkCase(scale, lit, screen, layoutQuery, "layout");
            benchmarkCase(scale, lit, screen, tableQuery, "table");
            benchmarkPerPixelCase(scale, lit, tableQuery);
        }
    }
    ReleaseDC(nullptr, screen);
    return 0;
}
