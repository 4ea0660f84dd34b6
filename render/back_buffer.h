#pragma once
// The off-screen bitmap every frame is composed in. The handles are the platform's HDC and
// HBITMAP, kept opaque so that this header stays portable.

struct BackBuffer {
    void* dc = nullptr;
    void* bitmap = nullptr;
    int width = 0;
    int height = 0;
};

// Makes sure the buffer exists with exactly this size, created compatible with `referenceDc`.
void ensureBackBuffer(BackBuffer& buffer, int width, int height, void* referenceDc);
// Frees the buffer; safe when there is none.
void releaseBackBuffer(BackBuffer& buffer);
