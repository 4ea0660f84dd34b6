#pragma once
// A 32-bit top-down device-independent bitmap selected into a memory DC of its own, whose
// pixels (0xAARRGGBB, rows top to bottom) can be read and written directly. The handles are
// the platform's HDC and HBITMAP, kept opaque so that this header stays portable.
#include <cstdint>

struct PixelBuffer {
    void* dc = nullptr;
    void* bitmap = nullptr;
    void* previous = nullptr;  // the DC's own bitmap, put back before the DC is deleted
    std::uint32_t* pixels = nullptr;
    int width = 0;
    int height = 0;
};

// Makes sure the buffer exists with exactly this size; a new buffer holds transparent pixels.
// False, and no buffer, when it cannot be made.
bool ensurePixelBuffer(PixelBuffer& buffer, int width, int height);
// Makes sure the buffer is at least this size, growing it (its pixels undefined) if not.
bool growPixelBuffer(PixelBuffer& buffer, int width, int height);
// Frees the buffer; safe when there is none.
void releasePixelBuffer(PixelBuffer& buffer);
