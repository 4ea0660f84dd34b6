#include "render/gdi_resources_win32.h"

#include <windows.h>

namespace {

// The "Segoe UI" font of a label or figure.
HFONT createLabelFont(const TextFont& font) {
    return CreateFontW(-font.height, 0, 0, 0, font.weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, font.antialiased ? ANTIALIASED_QUALITY : DEFAULT_QUALITY, 0, L"Segoe UI");
}

bool isLiveMemoryDc(void* dc) { return dc && GetObjectType(static_cast<HGDIOBJ>(dc)) == OBJ_MEMDC; }

}  // namespace

bool GdiResources::selectedSomewhere(void* font) const {
    for (const Selection& s : selections_)
        if (s.font == font) return true;
    return false;
}

void* GdiResources::font(const TextFont& textFont) {
    CachedFont* oldest = nullptr;
    for (CachedFont& slot : fonts_) {
        if (slot.font && slot.textFont == textFont) {
            slot.lastUse = ++uses_;
            return slot.font;
        }
        if (slot.font && selectedSomewhere(slot.font)) continue;
        if (!oldest || !slot.font || (oldest->font && slot.lastUse < oldest->lastUse)) oldest = &slot;
    }
    if (!oldest) return nullptr;  // every slot selected somewhere: cannot happen with fewer DCs than slots
    HFONT made = createLabelFont(textFont);
    if (!made) return nullptr;
    if (oldest->font) DeleteObject(static_cast<HFONT>(oldest->font));
    *oldest = CachedFont{textFont, made, ++uses_};
    return made;
}

// The DC's own entry, or the entry least lately used, whose DC gets its stock font back so
// that the font it held may be deleted later.
GdiResources::Selection& GdiResources::selectionFor(void* dc) {
    Selection* oldest = &selections_[0];
    for (Selection& s : selections_) {
        if (s.dc == dc) return s;
        if (!s.dc || (oldest->dc && s.lastUse < oldest->lastUse)) oldest = &s;
    }
    if (oldest->dc && isLiveMemoryDc(oldest->dc))
        SelectObject(static_cast<HDC>(oldest->dc), GetStockObject(SYSTEM_FONT));
    *oldest = Selection{dc, nullptr, 0};
    return *oldest;
}

// The DCs are the frame's and the scratch bitmaps', which only frames draw into; they are
// deleted before the fonts are (the window's clean-up releases the frame first), so a font
// left selected in one is never deleted while selected.
bool GdiResources::selectFont(void* dc, const TextFont& textFont) {
    void* wanted = font(textFont);
    if (!wanted) return false;
    Selection& selection = selectionFor(dc);
    // A DC made anew (a buffer of a new size) may carry the handle of one deleted: what it
    // holds is asked, which costs no round trip to the X server.
    if (selection.font != wanted || GetCurrentObject(static_cast<HDC>(dc), OBJ_FONT) != wanted) {
        SelectObject(static_cast<HDC>(dc), static_cast<HGDIOBJ>(wanted));
        selection.font = wanted;
    }
    selection.lastUse = ++uses_;
    return true;
}

PixelBuffer* GdiResources::scratch(Scratch use, int w, int h) {
    if (w <= 0 || h <= 0) return nullptr;
    PixelBuffer& buffer = scratch_[static_cast<std::size_t>(use)];
    return growPixelBuffer(buffer, w, h) ? &buffer : nullptr;
}

void GdiResources::release() {
    // A font still selected in a live DC goes back to the DC's stock font first.
    for (Selection& s : selections_) {
        if (s.font && isLiveMemoryDc(s.dc)) SelectObject(static_cast<HDC>(s.dc), GetStockObject(SYSTEM_FONT));
        s = Selection{};
    }
    for (CachedFont& slot : fonts_) {
        if (slot.font) DeleteObject(static_cast<HFONT>(slot.font));
        slot = CachedFont{};
    }
    for (PixelBuffer& buffer : scratch_) releasePixelBuffer(buffer);
    pictures_.release();
}
