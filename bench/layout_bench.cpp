// Rebuilding the 46-key layout, as every scale change and window resize does.
#include <benchmark/benchmark.h>

#include "keyboard/keyboard_layout.h"
#include "keyboard/layout_metrics.h"

namespace {

void BM_BuildLayout(benchmark::State& state) {
    const double scale = static_cast<double>(state.range(0)) / 100.0;
    LayoutMetrics metrics;
    updateMetrics(metrics, scale);
    KeyboardLayout layout;
    for (auto _ : state) {
        Size size = buildLayout(layout, metrics, scale);
        benchmark::DoNotOptimize(size);
        benchmark::DoNotOptimize(layout.data());
    }
}
BENCHMARK(BM_BuildLayout)->Arg(100)->ArgName("scale%");

}  // namespace
