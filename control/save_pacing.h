#pragma once
// How often a gesture writes the settings file. A drag of the window or of the grip, and a
// spin of the wheel, change the settings many times a second; each save puts the whole file
// on the disk (written, flushed, renamed), which a drag must not do at every step. The first
// change after a quiet spell is written at once, as a single step or notch always is; the
// changes that follow within SAVE_SPACING_MS of a write wait and are written together once
// that time is up, or when the gesture ends, whichever comes first.
#include "common/types.h"

struct SavePacing {
    static constexpr Tick SAVE_SPACING_MS = 500;

    bool pending = false;
    bool everWritten = false;
    Tick lastWrite = 0;

    // A change at `now`: true when it is to be written at once; otherwise it waits, until
    // `dueAt()`.
    bool change(Tick now);
    // When the waiting change is to be written.
    Tick dueAt() const { return lastWrite + SAVE_SPACING_MS; }
    // Whether a change waits to be written, which the caller now writes.
    bool takePending();
    // Whatever was written at `now` holds every change so far.
    void written(Tick now);
};
