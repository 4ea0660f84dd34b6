#include "bench_scene.h"

#include <algorithm>

#include "keyboard/virtual_keys.h"

void setUpScene(BenchScene& scene, double scale, int litCount, Tick now, const KeyArrangement& arrangement) {
    scene.settings = AppSettings{};
    scene.settings.scale = scale;
    scene.settings.layout = &arrangement == &COMPACT_KEYBOARD ? LAYOUT_COMPACT : LAYOUT_FULL;
    updateMetrics(scene.metrics, scale);
    scene.windowSize = buildLayout(scene.layout, scene.metrics, scale, arrangement);
    scene.input = InputState{};
    scene.now = now;

    const int lit = std::min(litCount, static_cast<int>(scene.layout.size()));
    for (int i = 0; i < lit; ++i) {
        const int vk = scene.layout[static_cast<std::size_t>(i)].vk;
        scene.input.keys.held[vk] = true;
        scene.input.heldKeys.hold({physicalKeyId(0, false, vk), vk, vk, now - 100});
        scene.input.keys.everPressed[vk] = true;
        scene.input.keys.lastPress[vk] = now - 100;
    }
    for (Tick t = now - PRESS_RETENTION_MS + 1; t <= now; t += 200) scene.input.meter.recordPress(t);
    scene.input.meter.notePainted(true, now);
}

std::optional<wchar_t> TableKeyboardQuery::keyCharacter(int vk, bool shift, bool capsLock) {
    if (vk >= 'A' && vk <= 'Z') return static_cast<wchar_t>(shift != capsLock ? vk : vk - 'A' + 'a');
    if (vk >= '0' && vk <= '9') return static_cast<wchar_t>(shift ? L")!@#$%^&*("[vk - '0'] : vk);
    switch (vk) {
    case VK_SPACE_CODE: return L' ';
    case VK_OEM_1_CODE: return shift ? L':' : L';';
    case VK_OEM_COMMA_CODE: return shift ? L'<' : L',';
    case VK_OEM_MINUS_CODE: return shift ? L'_' : L'-';
    case VK_OEM_PERIOD_CODE: return shift ? L'>' : L'.';
    case VK_OEM_2_CODE: return shift ? L'?' : L'/';
    case VK_OEM_3_CODE: return shift ? L'~' : L'`';
    case VK_OEM_7_CODE: return shift ? L'"' : L'\'';
    default: return std::nullopt;
    }
}
