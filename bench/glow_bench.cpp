// The glow pixels of one lit key, built afresh for every lit key on every frame.
#include <benchmark/benchmark.h>

#include "bench_scene.h"
#include "render/key_drawing.h"
#include "render/press_glow.h"

namespace {

// The largest glow of the pulse (105 ms into it) over a letter key lit in the filled design.
void BM_GlowPixels(benchmark::State& state) {
    const double scale = static_cast<double>(state.range(0)) / 100.0;
    BenchScene scene;
    setUpScene(scene, scale, 0);
    const Rect d = keyDrawingRect(scene.layout.front(), true, STYLE_FILLED);
    const Rect glow = glowRect(d, 105);
    const int peak = glowPeakAlpha(105);
    for (auto _ : state) {
        auto pixels = radialGlowPixels(glow.width(), glow.height(), peak);
        benchmark::DoNotOptimize(pixels.data());
    }
    state.counters["side"] = glow.width();
}
BENCHMARK(BM_GlowPixels)->Arg(100)->Arg(300)->ArgName("scale%");

}  // namespace
