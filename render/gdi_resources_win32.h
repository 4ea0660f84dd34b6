#pragma once
// The GDI objects kept from one frame to the next, because making them anew for every
// label and glow is what most of a frame's own cost was under Wine: a font asked for by size
// and weight is made once (each new one sends the platform to its font settings and files),
// and one bitmap, grown to the largest glow yet, carries every glow. What they draw is the
// same as with objects made for the one step.
#include <array>
#include <cstdint>

#include "render/canvas.h"
#include "render/kept_pictures_win32.h"

class GdiResources {
public:
    GdiResources() = default;
    ~GdiResources() { release(); }
    GdiResources(const GdiResources&) = delete;
    GdiResources& operator=(const GdiResources&) = delete;

    // The label font of this size and weight; null when it cannot be made. A font made anew
    // takes the place of the one least lately used, never that of `inUse` (a font still
    // selected into a DC).
    void* font(const TextFont& textFont, void* inUse = nullptr);
    // Selects the font of this size and weight into `dc` (an HDC) and leaves it there, from
    // one text and one frame to the next: under Wine every selection of a font asks the X
    // resources for its smoothing, which on a bare X server reads the disk each time, and a
    // frame's labels share one or two fonts. False when it cannot be made.
    bool selectFont(void* dc, const TextFont& textFont);
    // A memory DC holding a 32-bit top-down bitmap at least w x h pixels, and its pixels;
    // false when it cannot be made.
    bool glowBitmap(int w, int h, void*& dc, std::uint32_t*& pixels, int& stride);
    KeptPictures& pictures() { return pictures_; }
    // Deletes every object; the next frame makes them again.
    void release();

private:
    struct CachedFont {
        TextFont textFont;
        void* font = nullptr;  // HFONT
        unsigned lastUse = 0;
    };
    // Labels at two weights and the two figures of the panel, with room for a scale change.
    static constexpr int FONT_SLOTS = 8;
    std::array<CachedFont, FONT_SLOTS> fonts_{};
    unsigned uses_ = 0;
    void* fontDc_ = nullptr;        // the DC a kept font was last selected into
    void* selectedFont_ = nullptr;  // and that font

    void* glowDc_ = nullptr;      // HDC
    void* glowBitmap_ = nullptr;  // HBITMAP
    void* previousBitmap_ = nullptr;
    std::uint32_t* glowPixels_ = nullptr;
    int glowWidth_ = 0;
    int glowHeight_ = 0;

    KeptPictures pictures_;
};
