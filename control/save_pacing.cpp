#include "control/save_pacing.h"

bool SavePacing::change(Tick now) {
    if (everWritten && now - lastWrite < SAVE_SPACING_MS) {
        pending = true;
        return false;
    }
    return true;
}

bool SavePacing::takePending() {
    const bool was = pending;
    pending = false;
    return was;
}

void SavePacing::written(Tick now) {
    pending = false;
    everWritten = true;
    lastWrite = now;
}
