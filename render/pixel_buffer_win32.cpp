#include <windows.h>

#include "render/pixel_buffer.h"

bool ensurePixelBuffer(PixelBuffer& buffer, int width, int height) {
    if (buffer.bitmap && buffer.width == width && buffer.height == height) return true;
    releasePixelBuffer(buffer);
    if (width <= 0 || height <= 0) return false;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // rows from top to bottom
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    // A new DIB section is zero-filled: every pixel transparent.
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC dc = bitmap ? CreateCompatibleDC(nullptr) : nullptr;
    if (!bitmap || !bits || !dc) {
        if (dc) DeleteDC(dc);
        if (bitmap) DeleteObject(bitmap);
        return false;
    }
    buffer.previous = SelectObject(dc, bitmap);
    buffer.dc = dc;
    buffer.bitmap = bitmap;
    buffer.pixels = static_cast<std::uint32_t*>(bits);
    buffer.width = width;
    buffer.height = height;
    return true;
}

bool growPixelBuffer(PixelBuffer& buffer, int width, int height) {
    if (buffer.bitmap && width <= buffer.width && height <= buffer.height) return true;
    return ensurePixelBuffer(buffer, width > buffer.width ? width : buffer.width,
                             height > buffer.height ? height : buffer.height);
}

void releasePixelBuffer(PixelBuffer& buffer) {
    if (buffer.dc) {
        if (buffer.previous) SelectObject(static_cast<HDC>(buffer.dc), static_cast<HGDIOBJ>(buffer.previous));
        DeleteDC(static_cast<HDC>(buffer.dc));
    }
    if (buffer.bitmap) DeleteObject(static_cast<HBITMAP>(buffer.bitmap));
    buffer = PixelBuffer{};
}
