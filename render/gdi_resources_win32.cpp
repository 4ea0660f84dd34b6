#include "render/gdi_resources_win32.h"

#include <windows.h>

namespace {

// The "Segoe UI" font of a label or figure.
HFONT createLabelFont(const TextFont& font) {
    return CreateFontW(-font.height, 0, 0, 0, font.weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, 0, L"Segoe UI");
}

}  // namespace

void* GdiResources::font(const TextFont& textFont, void* inUse) {
    CachedFont* oldest = nullptr;
    for (CachedFont& slot : fonts_) {
        if (slot.font && slot.textFont == textFont) {
            slot.lastUse = ++uses_;
            return slot.font;
        }
        if (slot.font == inUse && inUse) continue;
        if (!oldest || !slot.font || (oldest->font && slot.lastUse < oldest->lastUse)) oldest = &slot;
    }
    HFONT made = createLabelFont(textFont);
    if (!made) return nullptr;
    // The font evicted is selected nowhere: a canvas keeps at most the one it last used
    // selected, and passes it as `inUse`.
    if (oldest->font) DeleteObject(static_cast<HFONT>(oldest->font));
    *oldest = CachedFont{textFont, made, ++uses_};
    return made;
}

// The DC is the back buffer's, which only frames draw into; it is deleted before the fonts
// are (the window's clean-up releases the buffer first), so a font left selected in it is
// never deleted while selected.
bool GdiResources::selectFont(void* dc, const TextFont& textFont) {
    void* wanted = font(textFont, dc == fontDc_ ? selectedFont_ : nullptr);
    if (!wanted) return false;
    if (dc != fontDc_ || wanted != selectedFont_) {
        SelectObject(static_cast<HDC>(dc), static_cast<HGDIOBJ>(wanted));
        fontDc_ = dc;
        selectedFont_ = wanted;
    }
    return true;
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
    // A font still selected in a live DC goes back to the DC's stock font first.
    if (fontDc_ && GetObjectType(static_cast<HGDIOBJ>(fontDc_)) == OBJ_MEMDC)
        SelectObject(static_cast<HDC>(fontDc_), GetStockObject(SYSTEM_FONT));
    fontDc_ = selectedFont_ = nullptr;
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
    pictures_.release();
}
