// The core's own share of composing a whole frame: the drawing calls reach a canvas that
// ignores them, so what remains is labels, layout walks, speed figures and glow pixels.
// bench/frame_compose_win32_bench.cpp measures the same frame drawn by GDI under Wine.
#include <benchmark/benchmark.h>

#include "bench_scene.h"
#include "render/frame.h"

namespace {

class DiscardingCanvas : public Canvas {
public:
    void fillRect(const Rect&, Color) override {}
    void polyline(const Point*, std::size_t, Color, int) override {}
    void roundRect(const Rect&, int, int, Color, Color) override {}
    void frameRect(const Rect&, Color) override {}
    void drawText(const TextFont&, Color, std::wstring_view text, const TextPlacement&) override {
        benchmark::DoNotOptimize(text.data());
    }
    void blendPremultiplied(const Rect&, const std::uint32_t* pixels) override { benchmark::DoNotOptimize(pixels); }
};

void BM_FrameCore(benchmark::State& state) {
    const double scale = static_cast<double>(state.range(0)) / 100.0;
    BenchScene scene;
    setUpScene(scene, scale, static_cast<int>(state.range(1)));
    TableKeyboardQuery query;
    DiscardingCanvas canvas;
    const FrameContext context{scene.settings, scene.metrics, scene.layout, scene.input.keys,
                               scene.input.meter, query, false, scene.now};
    const Rect client{0, 0, scene.windowSize.width, scene.windowSize.height};
    for (auto _ : state) drawFrame(canvas, client, context);
}
BENCHMARK(BM_FrameCore)->ArgsProduct({{50, 100, 300}, {0, 10, 46}})->ArgNames({"scale%", "lit"});

}  // namespace
