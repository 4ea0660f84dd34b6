#include "render/gdi_resources_win32.h"

#include <windows.h>

namespace {

// The "Segoe UI" font of a label or figure.
HFONT createLabelFont(const FontSpec& font) {
    return CreateFontW(-font.height, 0, 0, 0, font.weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, 0, L"Segoe UI");
}

}  // namespace

void* GdiResources::font(const FontSpec& spec) {
    CachedFont* oldest = &fonts_[0];
    for (CachedFont& slot : fonts_) {
        if (slot.font && slot.spec == spec) {
            slot.lastUse = ++uses_;
            return slot.font;
        }
        if (!slot.font || (oldest->font && slot.lastUse < oldest->lastUse)) oldest = &slot;
    }
    HFONT made = createLabelFont(spec);
    if (!made) return nullptr;
    // The font evicted is no longer selected anywhere: every step selects its previous
    // font back before it returns.
    if (oldest->font) DeleteObject(static_cast<HFONT>(oldest->font));
    *oldest = CachedFont{spec, made, ++uses_};
    return made;
}

bool GdiResources::glowBitmap(int w, int h, void*& dc, std::uint32_t*& pixels, int& stride) {
    if (w <= 0 || h <= 0) return false;
    if (!glowDc_ || w > glowWidth_ || h > glowHeight_) {
        const int width = w > glowWidth_ ? w : glowWidth_;
        const int height = h > glowHeight_ ? h : glowHeight_;
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;  // rows from top to bottom
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        HDC memory = glowDc_ ? static_cast<HDC>(glowDc_) : CreateCompatibleDC(nullptr);
        if (!bitmap || !bits || !memory) {
            if (bitmap) DeleteObject(bitmap);
            if (memory && memory != glowDc_) DeleteDC(memory);
            return false;
        }
        HGDIOBJ previous = SelectObject(memory, bitmap);
        if (glowBitmap_)
            DeleteObject(static_cast<HBITMAP>(glowBitmap_));  // the one just deselected
        else
            previousBitmap_ = previous;
        glowDc_ = memory;
        glowBitmap_ = bitmap;
        glowPixels_ = static_cast<std::uint32_t*>(bits);
        glowWidth_ = width;
        glowHeight_ = height;
    }
    dc = glowDc_;
    pixels = glowPixels_;
    stride = glowWidth_;
    return true;
}

void GdiResources::release() {
    for (CachedFont& slot : fonts_) {
        if (slot.font) DeleteObject(static_cast<HFONT>(slot.font));
        slot = CachedFont{};
    }
    if (glowDc_) {
        if (previousBitmap_) SelectObject(static_cast<HDC>(glowDc_), static_cast<HGDIOBJ>(previousBitmap_));
        DeleteDC(static_cast<HDC>(glowDc_));
    }
    if (glowBitmap_) DeleteObject(static_cast<HBITMAP>(glowBitmap_));
    glowDc_ = glowBitmap_ = previousBitmap_ = nullptr;
    glowPixels_ = nullptr;
    glowWidth_ = glowHeight_ = 0;
}
