#include <windows.h>

#include "render/back_buffer.h"

void ensureBackBuffer(BackBuffer& buffer, int width, int height, void* referenceDc) {
    if (buffer.bitmap && buffer.width == width && buffer.height == height) return;
    releaseBackBuffer(buffer);

    HDC reference = static_cast<HDC>(referenceDc);
    HDC dc = CreateCompatibleDC(reference);
    HBITMAP bitmap = CreateCompatibleBitmap(reference, width, height);
    if (!dc || !bitmap) {
        // Without both there is no buffer: drawing over a null DC does nothing, and the next
        // paint tries again.
        if (dc) DeleteDC(dc);
        if (bitmap) DeleteObject(bitmap);
        return;
    }
    // The bitmap stays selected for the buffer's life; the DC is deleted first on release.
    SelectObject(dc, bitmap);
    buffer.dc = dc;
    buffer.bitmap = bitmap;
    buffer.width = width;
    buffer.height = height;
}

void releaseBackBuffer(BackBuffer& buffer) {
    if (buffer.dc) DeleteDC(static_cast<HDC>(buffer.dc));
    buffer.dc = nullptr;
    if (buffer.bitmap) DeleteObject(static_cast<HBITMAP>(buffer.bitmap));
    buffer.bitmap = nullptr;
    buffer.width = 0;
    buffer.height = 0;
}
