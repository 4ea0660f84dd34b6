#pragma once
// The GDI objects kept from one frame to the next, because making them anew for every
// label and glow is what most of a frame's own cost was under Wine: a font asked for by size,
// weight and smoothing is made once (each new one sends the platform to its font settings and
// files), and a few bitmaps, grown to the largest use yet, carry every glow and every text
// whose coverage is worked out. What they draw is the same as with objects made for the one
// step.
#include <array>
#include <cstdint>

#include "render/canvas.h"
#include "render/kept_pictures_win32.h"
#include "render/pixel_buffer.h"

// What a scratch bitmap is for; each use has its own, so that one step can hold several.
enum class Scratch { Glow, Mask, Work };

class GdiResources {
public:
    GdiResources() = default;
    ~GdiResources() { release(); }
    GdiResources(const GdiResources&) = delete;
    GdiResources& operator=(const GdiResources&) = delete;

    // The label font of this size, weight and smoothing; null when it cannot be made. A font
    // made anew takes the place of the one least lately used, never that of one still
    // selected into a DC.
    void* font(const TextFont& textFont);
    // Selects the font into `dc` (an HDC) and leaves it there, from one text and one frame to
    // the next: under Wine every selection of a font asks the X resources for its smoothing,
    // which on a bare X server reads the disk each time, and a frame's labels share one or two
    // fonts. False when it cannot be made.
    bool selectFont(void* dc, const TextFont& textFont);
    // A scratch bitmap of at least w x h pixels; null when it cannot be made.
    PixelBuffer* scratch(Scratch use, int w, int h);
    KeptPictures& pictures() { return pictures_; }
    // Deletes every object; the next frame makes them again.
    void release();

private:
    struct CachedFont {
        TextFont textFont;
        void* font = nullptr;  // HFONT
        unsigned lastUse = 0;
    };
    // A font left selected in a DC, so that it is neither selected again nor deleted there.
    struct Selection {
        void* dc = nullptr;    // HDC
        void* font = nullptr;  // HFONT
        unsigned lastUse = 0;
    };
    bool selectedSomewhere(void* font) const;
    Selection& selectionFor(void* dc);

    // Labels at two weights and the two figures of the panel, with room for a scale change.
    static constexpr int FONT_SLOTS = 8;
    std::array<CachedFont, FONT_SLOTS> fonts_{};
    unsigned uses_ = 0;
    // The frame's own DC, and the DCs of the scratch bitmaps that text is drawn into.
    static constexpr int SELECTION_SLOTS = 4;
    std::array<Selection, SELECTION_SLOTS> selections_{};

    std::array<PixelBuffer, 3> scratch_{};
    KeptPictures pictures_;
};
