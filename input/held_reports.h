#pragma once
// Key reports kept back while the focus they were typed into is not yet judged, each with
// the time it arrived, to be shown in order once it is judged no password field.
#include <array>
#include <cstddef>

#include "common/types.h"

struct HeldReport {
    int vkey = 0;
    int makeCode = 0;
    bool keyUp = false;
    bool extended = false;
    Tick at = 0;
};

// A fixed ring: a focus that stays unjudged for long (a program that hangs) cannot make it
// grow. Once full, the oldest report gives way; a key-down goes before its own key-up, so
// what is left never shows a key held that was let go.
struct HeldReports {
    static constexpr std::size_t CAPACITY = 512;
    std::array<HeldReport, CAPACITY> ring{};
    std::size_t first = 0;
    std::size_t count = 0;

    bool empty() const { return count == 0; }
    void push(const HeldReport& report);
    const HeldReport& operator[](std::size_t i) const { return ring[(first + i) % CAPACITY]; }
    void clear() { first = count = 0; }
};
