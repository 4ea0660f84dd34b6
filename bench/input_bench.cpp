// The work done on the window thread for every keyboard report and every 16 ms frame tick.
#include <benchmark/benchmark.h>

#include <vector>

#include "bench_scene.h"
#include "input/frame_tick.h"
#include "input/lit_keys.h"
#include "keyboard/virtual_keys.h"

namespace {

class SilentSoundPlayer : public SoundPlayer {
public:
    void play(const wchar_t*) override {}
};

class AllDownKeyState : public PhysicalKeyState {
public:
    bool isDown(int) override { return true; }
};

// One report per iteration, alternating key-down and key-up of `vk`, 33 ms apart: 15 presses
// a second, so the speed meter holds its steady minute of presses.
void handleReports(benchmark::State& state, int vk) {
    BenchScene scene;
    setUpScene(scene, 1.0, 0);
    scene.settings.soundOn = true;
    TableKeyboardQuery query;
    SilentSoundPlayer sound;
    InputContext context{scene.layout, scene.settings, query, sound};
    bool keyUp = false;
    for (auto _ : state) {
        scene.now += 33;
        auto area = onKeyReport(scene.input, KeyReport{vk, 0, keyUp}, scene.now, context);
        benchmark::DoNotOptimize(area);
        keyUp = !keyUp;
    }
}

void BM_KeyReport_Letter(benchmark::State& state) { handleReports(state, 'J'); }
BENCHMARK(BM_KeyReport_Letter);

// Punctuation is matched by the character it types, one more layout query per report.
void BM_KeyReport_Punctuation(benchmark::State& state) { handleReports(state, VK_OEM_PERIOD_CODE); }
BENCHMARK(BM_KeyReport_Punctuation);

// A minute of typing at 20 presses a second in the queue; the frame walks back one second.
void BM_SpeedMeter_OnFrame(benchmark::State& state) {
    SpeedMeter meter;
    const Tick now = 10'000'000;
    for (Tick t = now - PRESS_RETENTION_MS + 50; t <= now; t += 50) meter.recordPress(t);
    meter.notePainted(true, now);
    for (auto _ : state) benchmark::DoNotOptimize(meter.onFrame(now));
    state.counters["presses"] = static_cast<double>(meter.pressTimes.size());
}
BENCHMARK(BM_SpeedMeter_OnFrame);

// Both lit-key passes of one tick with 0, 10 or 46 keys held.
void BM_LitKeyPasses(benchmark::State& state) {
    BenchScene scene;
    setUpScene(scene, 1.0, static_cast<int>(state.range(0)));
    std::vector<Rect> areas;
    areas.reserve(2 * scene.layout.size());
    for (auto _ : state) {
        areas.clear();
        updateLitStates(scene.input.keys, scene.layout, scene.now, areas);
        invalidateLitKeys(scene.input.keys, scene.layout, scene.now, areas);
        benchmark::DoNotOptimize(areas.data());
    }
}
BENCHMARK(BM_LitKeyPasses)->Arg(0)->Arg(10)->Arg(46);

// The whole tick as the window procedure runs it: speed meter, then the lit-key passes.
void BM_FrameTick(benchmark::State& state) {
    BenchScene scene;
    setUpScene(scene, 1.0, static_cast<int>(state.range(0)));
    FrameTickEffects effects;
    TableKeyboardQuery query;
    AllDownKeyState physical;
    FrameTickContext context{scene.layout, query, physical};
    for (auto _ : state) {
        onFrameTick(scene.input, context, scene.now, effects);
        benchmark::DoNotOptimize(effects.keyAreas.data());
    }
}
BENCHMARK(BM_FrameTick)->Arg(0)->Arg(10)->Arg(46);

}  // namespace
